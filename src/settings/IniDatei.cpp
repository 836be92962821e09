// Parsing follows the Windows profile functions: first section and first key win, ';' starts
// a comment line, lines without '=' are ignored.
#include "IniDatei.h"

#include "AnsiCodePage.h"

#include <QFile>
#include <QStringDecoder>

using namespace Qt::Literals::StringLiterals;

namespace {

QString EntferneAnfuehrungszeichen(const QString& wert)
{
    if (wert.size() >= 2 && wert.front() == wert.back() &&
        (wert.front() == u'"' || wert.front() == u'\''))
        return wert.mid(1, wert.size() - 2);
    return wert;
}

} // namespace

QString DekodiereIniText(const QByteArray& inhalt)
{
    if (inhalt.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(inhalt.mid(3));
    if (inhalt.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(inhalt.mid(2));
    if (inhalt.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(inhalt.mid(2));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(inhalt);
    return utf8.hasError() ? VonAnsi(inhalt) : text;
}

TIniDatei::TIniDatei(const QString& pfad)
{
    QFile datei(pfad);
    if (datei.open(QIODevice::ReadOnly))
        Zerlege(DekodiereIniText(datei.readAll()));
}

TIniDatei TIniDatei::AusBytes(const QByteArray& inhalt)
{
    TIniDatei ini;
    ini.Zerlege(DekodiereIniText(inhalt));
    return ini;
}

void TIniDatei::Zerlege(const QString& text)
{
    TAbschnitt* aktuell = nullptr;
    const auto zeilen = QStringView(text).split(u'\n');
    for (QStringView zeile : zeilen) {
        zeile = zeile.trimmed();
        if (zeile.isEmpty() || zeile.front() == u';')
            continue;
        if (zeile.front() == u'[') {
            const qsizetype ende = zeile.indexOf(u']');
            const QStringView name = ende < 0 ? zeile.mid(1) : zeile.mid(1, ende - 1);
            FAbschnitte.push_back({name.trimmed().toString(), {}});
            aktuell = &FAbschnitte.back();
            continue;
        }
        const qsizetype gleich = zeile.indexOf(u'=');
        if (aktuell == nullptr || gleich < 0)
            continue;
        aktuell->eintraege.push_back(
            {zeile.left(gleich).trimmed().toString(), zeile.mid(gleich + 1).trimmed().toString()});
    }
}

QString TIniDatei::ReadString(const QString& abschnitt, const QString& schluessel,
                              const QString& vorgabe) const
{
    for (const TAbschnitt& a : FAbschnitte) {
        if (a.name.compare(abschnitt, Qt::CaseInsensitive) != 0)
            continue;
        for (const TEintrag& e : a.eintraege) {
            if (e.schluessel.compare(schluessel, Qt::CaseInsensitive) == 0)
                return EntferneAnfuehrungszeichen(e.wert).left(kMaxWertLaenge);
        }
        break; // only the first section of a name counts
    }
    return vorgabe;
}
