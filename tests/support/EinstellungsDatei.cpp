// Temporary settings files for the settings and start-up tests.
#include "EinstellungsDatei.h"

#include <QFile>

void TEinstellungsDatei::Schreibe(const QByteArray& inhalt)
{
    QFile datei(Pfad());
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate) || datei.write(inhalt) < 0)
        qFatal("cannot write %s", qPrintable(Pfad()));
}

void TEinstellungsDatei::Schreibe(const TKlarEinstellungen& werte)
{
    Schreibe(ErstelleEinstellungsText(werte).toUtf8());
}

void TEinstellungsDatei::Ersetze(const QByteArray& alt, const QByteArray& neu)
{
    QByteArray inhalt = Inhalt();
    const qsizetype stelle = inhalt.indexOf(alt);
    if (stelle < 0)
        qFatal("text not in settings file: %s", alt.constData());
    Schreibe(inhalt.replace(stelle, alt.size(), neu));
}

QString TEinstellungsDatei::Pfad() const
{
    return FVerzeichnis.filePath(QStringLiteral("Einstellungen.ini"));
}

QByteArray TEinstellungsDatei::Inhalt() const
{
    QFile datei(Pfad());
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

TKlarEinstellungen GueltigeWerte()
{
    TKlarEinstellungen werte;
    werte.Hostname = QStringLiteral("127.0.0.1");
    werte.Username = QStringLiteral("root");
    werte.Passwort = QStringLiteral("geheim");
    werte.Port = 3306;
    werte.Datenbank = QStringLiteral("esd");
    return werte;
}
