// Quoting follows RFC 4180, with the semicolon German spreadsheets expect.
#include "CsvDatei.h"

#include "Tabelle.h"
#include "uFehler.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

namespace {

// A spreadsheet takes a cell that begins like this as a formula; a name must never run as one.
bool SiehtAusWieFormel(const QString& zelle)
{
    static const QRegularExpression zahl(u"^[-+]?[0-9]+(,[0-9]+)?$"_s);
    return !zelle.isEmpty() && QStringView(u"=+-@\t\r").contains(zelle.front()) &&
           !zahl.match(zelle).hasMatch();
}

QString Feld(QString zelle)
{
    // The apostrophe shows the cell as the text it is, as the spreadsheets' own escape does.
    if (SiehtAusWieFormel(zelle))
        zelle.prepend(u'\'');
    const bool quoten = zelle.contains(u';') || zelle.contains(u'"') || zelle.contains(u'\n') ||
                        zelle.contains(u'\r') || zelle != zelle.trimmed();
    if (!quoten)
        return zelle;
    return u'"' + QString(zelle).replace(u"\""_s, u"\"\""_s) + u'"';
}

void Zeile(QString& text, const QStringList& zellen)
{
    for (qsizetype i = 0; i < zellen.size(); ++i) {
        if (i > 0)
            text += u';';
        text += Feld(zellen.at(i));
    }
    text += u"\r\n"_s;
}

} // namespace

namespace Csv {

QByteArray Text(const TTabelle& tabelle)
{
    QString text;
    Zeile(text, tabelle.Spalten);
    for (const QStringList& zellen : tabelle.Zeilen)
        Zeile(text, zellen);
    return "\xEF\xBB\xBF" + text.toUtf8();
}

QString Schreiben(const TTabelle& tabelle, const QString& verzeichnis)
{
    const QString pfad = QDir(verzeichnis).filePath(tabelle.Datei + u".csv"_s);
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(Text(tabelle)) < 0 || !datei.commit())
        throw EFehler(u"EDateifehler"_s,
                      u"%1 lässt sich nicht schreiben: %2"_s.arg(pfad, datei.errorString()));
    return pfad;
}

} // namespace Csv
