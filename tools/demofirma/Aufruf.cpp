// Options spelled as the settings tool spells them, so that scripts can pass the same values.
#include "Aufruf.h"

#include "Anlegen.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "Demofirma.h"
#include "Verbindungsoptionen.h"
#include "uFehler.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QIODevice>
#include <QTextStream>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace Demofirma {

int Aufruf(const QStringList& argumente, QIODevice& eingabe, QTextStream& aus, QTextStream& fehler)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Füllt eine leere Datenbank der Teststation Personenerdung (Tabellen aus "
        u"db/schema.sql) mit einer Demofirma: Abteilungen, Mitarbeiter mit Porträts, Gäste und "
        u"die Messungen der letzten vier Wochen."_s);
    const TVerbindungsoptionen verbindungsoptionen(
        u"Name der Datenbank (Pflicht; wird wie von der Station großgeschrieben)."_s);
    const QCommandLineOption saat(u"seed"_s,
                                  u"Startwert des Zufallsgenerators (Vorgabe %1): gleicher Wert, "
                                  u"gleiche Firma."_s.arg(kStandardSaat),
                                  u"N"_s, QString::number(kStandardSaat));
    parser.addOptions(verbindungsoptionen.Alle());
    parser.addOption(saat);

    if (const std::optional<int> ende =
            verbindungsoptionen.Einlesen(parser, argumente, aus, fehler))
        return *ende;
    if (!verbindungsoptionen.Vollstaendig(parser, {}, fehler))
        return kFalscheEingabe;
    bool zahl = false;
    const int portNummer = parser.value(verbindungsoptionen.Port).toInt(&zahl);
    if (!zahl) {
        fehler << "--port ist keine Zahl: " << parser.value(verbindungsoptionen.Port) << Qt::endl;
        return kFalscheEingabe;
    }
    const quint32 startwert = parser.value(saat).toUInt(&zahl);
    if (!zahl) {
        fehler << "--seed ist keine Zahl von 0 bis 4294967295: " << parser.value(saat) << Qt::endl;
        return kFalscheEingabe;
    }
    const QString kennwort = verbindungsoptionen.Kennwort(parser, eingabe);

    TDBVerbindung verbindung;
    verbindung.SetServer(parser.value(verbindungsoptionen.Hostname));
    verbindung.SetPort(portNummer);
    verbindung.SetUsername(parser.value(verbindungsoptionen.Username));
    verbindung.SetPassword(kennwort);
    // The station opens its database by the upper-case name; a fill must land in the same one.
    verbindung.SetDatabase(parser.value(verbindungsoptionen.Datenbank).toUpper());
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
