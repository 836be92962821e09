// Each key step depends on the previous enciphered byte, so one changed stored byte changes
// that plain byte and every one after it.
#include "Entschluesseln.h"

#include <QByteArray>
#include <QStringDecoder>

namespace {

constexpr std::uint16_t kMultiplikator = 0x2D8B;
constexpr std::uint16_t kInkrement = 0xD4E9;

std::uint16_t NaechsterSchluessel(std::uint16_t schluessel, std::uint8_t geheimesByte)
{
    return static_cast<std::uint16_t>((schluessel + geheimesByte) * kMultiplikator + kInkrement);
}

int HexWert(QChar zeichen)
{
    const char16_t z = zeichen.unicode();
    if (z >= u'0' && z <= u'9')
        return z - u'0';
    if (z >= u'A' && z <= u'F')
        return z - u'A' + 10;
    if (z >= u'a' && z <= u'f')
        return z - u'a' + 10;
    return -1;
}

} // namespace

QString Entschluesseln(const QString& geheim, std::uint16_t startSchluessel)
{
    const qsizetype anzahl = geheim.size() / 2;
    QByteArray bytes(anzahl, '\0');
    std::uint16_t schluessel = startSchluessel;
    for (qsizetype i = 0; i < anzahl; ++i) {
        const int hoch = HexWert(geheim[2 * i]);
        const int tief = HexWert(geheim[2 * i + 1]);
        if (hoch < 0 || tief < 0)
            return {};
        const auto c = static_cast<std::uint8_t>(hoch * 16 + tief);
        bytes[i] = static_cast<char>(c ^ (schluessel >> 8));
        schluessel = NaechsterSchluessel(schluessel, c);
    }
    // QString::fromUtf8 drops a leading U+FEFF, so a value beginning with one would not
    // decipher to what was enciphered.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

QString Verschluesseln(const QString& klartext, std::uint16_t startSchluessel)
{
    const QByteArray bytes = klartext.toUtf8();
    QByteArray geheim(bytes.size(), '\0');
    std::uint16_t schluessel = startSchluessel;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c =
            static_cast<std::uint8_t>(static_cast<std::uint8_t>(bytes[i]) ^ (schluessel >> 8));
        geheim[i] = static_cast<char>(c);
        schluessel = NaechsterSchluessel(schluessel, c);
    }
    return QString::fromLatin1(geheim.toHex().toUpper());
}
