// Options spelled as the settings tool spells them, so that scripts can pass the same values.
#include "Aufruf.h"

#include "Anlegen.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "Demofirma.h"
#include "uFehler.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QIODevice>
#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace Demofirma {

int Aufruf(const QStringList& argumente, QIODevice& eingabe, QTextStream& aus, QTextStream& fehler)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Füllt eine leere Datenbank der Teststation Personenerdung (Tabellen aus "
        u"db/schema.sql) mit einer Demofirma: Abteilungen, Mitarbeiter mit Porträts, Gäste und "
        u"die Messungen der letzten vier Wochen."_s);
    const QCommandLineOption hilfe({u"h"_s, u"help"_s}, u"Diese Hilfe anzeigen."_s);
    const QCommandLineOption hostname(u"hostname"_s, u"Datenbankserver (Pflicht)."_s, u"HOST"_s);
    const QCommandLineOption port(u"port"_s, u"TCP-Port des Servers (Vorgabe 3306)."_s, u"PORT"_s,
                                  u"3306"_s);
    const QCommandLineOption username(u"username"_s, u"Datenbankbenutzer (Pflicht)."_s, u"NAME"_s);
    const QCommandLineOption passwort(u"passwort"_s, u"Passwort des Datenbankbenutzers."_s,
                                      u"PASSWORT"_s);
    const QCommandLineOption passwortStdin(
        u"passwort-stdin"_s,
        u"Passwort aus der ersten Zeile der Standardeingabe lesen (erscheint nicht in der "
        u"Prozessliste)."_s);
    const QCommandLineOption datenbank(
        u"datenbank"_s,
        u"Name der Datenbank (Pflicht; wird wie von der Station großgeschrieben)."_s, u"NAME"_s);
    const QCommandLineOption saat(u"seed"_s,
                                  u"Startwert des Zufallsgenerators (Vorgabe %1): gleicher Wert, "
                                  u"gleiche Firma."_s.arg(kStandardSaat),
                                  u"N"_s, QString::number(kStandardSaat));
    parser.addOptions({hilfe, hostname, port, username, passwort, passwortStdin, datenbank, saat});

    if (!parser.parse(argumente)) {
        fehler << parser.errorText() << Qt::endl;
        return kFalscheEingabe;
    }
    if (parser.isSet(hilfe)) {
        aus << parser.helpText();
        return kErfolg;
    }
    if (!parser.positionalArguments().isEmpty()) {
        fehler << "Unerwartetes Argument: " << parser.positionalArguments().constFirst()
               << Qt::endl;
        return kFalscheEingabe;
    }
    for (const QCommandLineOption* pflicht : {&hostname, &username, &datenbank}) {
        if (parser.value(*pflicht).isEmpty()) {
            fehler << "Fehlt: --" << pflicht->names().constFirst()
                   << " (--help zeigt alle Optionen)" << Qt::endl;
            return kFalscheEingabe;
        }
    }
    if (parser.isSet(passwort) && parser.isSet(passwortStdin)) {
        fehler << "--passwort und --passwort-stdin schließen sich aus." << Qt::endl;
        return kFalscheEingabe;
    }
    bool zahl = false;
    const int portNummer = parser.value(port).toInt(&zahl);
    if (!zahl) {
        fehler << "--port ist keine Zahl: " << parser.value(port) << Qt::endl;
        return kFalscheEingabe;
    }
    const quint32 startwert = parser.value(saat).toUInt(&zahl);
    if (!zahl) {
        fehler << "--seed ist keine Zahl von 0 bis 4294967295: " << parser.value(saat) << Qt::endl;
        return kFalscheEingabe;
    }
    QString kennwort = parser.value(passwort);
    if (parser.isSet(passwortStdin)) {
        QByteArray zeile = eingabe.readLine();
        while (zeile.endsWith('\n') || zeile.endsWith('\r'))
            zeile.chop(1);
        kennwort = QString::fromUtf8(zeile);
    }

    TDBVerbindung verbindung;
    verbindung.SetServer(parser.value(hostname));
    verbindung.SetPort(portNummer);
    verbindung.SetUsername(parser.value(username));
    verbindung.SetPassword(kennwort);
    // The station opens its database by the upper-case name; a fill must land in the same one.
    verbindung.SetDatabase(parser.value(datenbank).toUpper());
    try {
        verbindung.SetConnected(true);
    } catch (const EDatenbankfehler& f) {
        fehler << "Keine Verbindung zur Datenbank " << verbindung.Database() << " auf "
               << verbindung.Server() << ':' << verbindung.Port() << " (Fehler " << f.Nummer()
               << "): " << f.Meldung() << Qt::endl;
        return kFehlgeschlagen;
    }

    const TFirma firma = Erzeuge(startwert, QDateTime::currentDateTime());
    try {
        Anlegen(verbindung, firma);
    } catch (const EDatenbankfehler& f) {
        fehler << "Die Demofirma wurde nicht angelegt, alle Änderungen wurden zurückgenommen. "
               << "Datenbankfehler " << f.Nummer() << ": " << f.Meldung() << Qt::endl;
        return kFehlgeschlagen;
    } catch (const std::exception& f) {
        fehler << "Die Demofirma wurde nicht angelegt. " << MeldungVon(f) << Qt::endl;
        return kFehlgeschlagen;
    }
    aus << Zusammenfassung(firma) << Qt::endl;
    return kErfolg;
}

} // namespace Demofirma
