// The settings cipher: any stored text deciphers without a crash, and any text enciphered
// deciphers to itself.
#include "Entschluesseln.h"
#include "Pruefen.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace {

bool NurGrosseHexziffern(const QString& text)
{
    for (const QChar z : text) {
        if (!((z >= u'0' && z <= u'9') || (z >= u'A' && z <= u'F')))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
{
    const QByteArray bytes(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));

    // Stored text as a file may hold it, and as raw UTF-16 with lone surrogates.
    Entschluesseln(QString::fromUtf8(bytes), kStartSchluessel);
    QString utf16(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(utf16.data(), bytes.constData(), static_cast<std::size_t>(utf16.size()) * 2);
    Entschluesseln(utf16, kStartSchluessel);

    // Valid text: the bytes read as UTF-8, invalid sequences as U+FFFD, a leading U+FEFF kept.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString klar = utf8.decode(bytes);
    const QString geheim = Verschluesseln(klar, kStartSchluessel);
    Pruefe(geheim.size() == 2 * klar.toUtf8().size(), "zwei Hexziffern je UTF-8-Byte");
    Pruefe(NurGrosseHexziffern(geheim), "nur grosse Hexziffern");
    Pruefe(Entschluesseln(geheim, kStartSchluessel) == klar, "entschluesselt ergibt den Klartext");
    Pruefe(Entschluesseln(geheim.toLower(), kStartSchluessel) == klar,
           "kleine Hexziffern gelten gleich");
    Pruefe(Entschluesseln(geheim + u"F"_s, kStartSchluessel) == klar,
           "eine ungerade letzte Ziffer zaehlt nicht");
    if (!geheim.isEmpty())
        Pruefe(Entschluesseln(u"G"_s + geheim.mid(1), kStartSchluessel).isEmpty(),
               "ein Paar, das keine zwei Hexziffern sind, leert das Ergebnis");
    return 0;
}
