// Settings tool: writes a complete, valid Einstellungen.ini from plain values, or checks one,
// and tries the connection the station would make with it.
// The station itself only deciphers, so every settings file is prepared here.
#include "AsciiGross.h"
#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "Einstellungen.h"
#include "EinstellungenErstellen.h"
#include "Entschluesseln.h"
#include "Serverliste.h"
#include "Startmeldung.h"
#include "Verbindungsoptionen.h"
#include "Zugangswerte.h"
#include "uFehler.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <QTextStream>

#include <cstdio>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kErfolg = 0;
constexpr int kPruefungFehlgeschlagen = 1;
constexpr int kFalscheEingabe = TVerbindungsoptionen::kFalscheEingabe;
constexpr int kKeineVerbindung = 3;

QTextStream& Fehlerausgabe()
{
    static QTextStream strom(stderr);
    return strom;
}

// Connects as the station's data module does (TFDM::MitDB_Verbinden): the same values,
// deciphered the same way, so a success here means the station gets in too.
int VerbindungPruefen(const TDBEinstellungen& db)
{
    TDBVerbindung verbindung;
    Einstellen(verbindung, ZugangAus(db));
    try {
        verbindung.SetConnected(true);
        TDBAbfrage version(verbindung, u"quVersion"_s);
        version.SQL().Add(u"SELECT VERSION()"_s);
        version.Open();
        QTextStream(stdout) << "Verbindung hergestellt, Server-Version: "
                            << version.Fields(0).AsString() << Qt::endl;
        return kErfolg;
    } catch (const EDatenbankfehler& fehler) {
        // Worded as the station's own message at start, so both name the same cause.
        Fehlerausgabe() << "Keine Verbindung: " << Startmeldung::Verbindungsursache(fehler.Nummer())
                        << '\n'
                        << Startmeldung::Detail(fehler) << Qt::endl;
    } catch (const EFehler& fehler) {
        Fehlerausgabe() << "Keine Verbindung: " << fehler.Anzeige() << Qt::endl;
    }
    return kKeineVerbindung;
}

int Pruefen(const QString& pfad, bool verbinden)
{
    QTextStream aus(stdout);
    if (!QFile::exists(pfad)) {
        Fehlerausgabe() << "Datei nicht gefunden: " << pfad << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    const TIniDatei ini(pfad);
    TDBEinstellungen db;
    TMenuWerte menu;
    try {
        LeseEinstellungen(ini, db, menu);
    } catch (const EFehler& fehler) {
        Fehlerausgabe() << "Nicht lesbar: " << fehler.Anzeige() << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    if (!EinstellungenVollstaendig(db)) {
        Fehlerausgabe() << "Unvollständig: Username, Passwort, Hostname, Port, DB_Name, "
                           "Protokoll und MD5-Hash müssen gesetzt sein."
                        << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    // The file reads fine with such a port, but no connection can be made with it.
    if (db.Server_Port < 1 || db.Server_Port > 65535) {
        Fehlerausgabe() << "Port " << db.Server_Port
                        << " liegt nicht zwischen 1 und 65535: die Station kann sich so nicht "
                           "verbinden."
                        << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    const QString hostname = Entschluesseln(db.Server_Hostname, kStartSchluessel);
    if (const QString fehler = Serverliste::Fehler(hostname); !fehler.isEmpty()) {
        Fehlerausgabe() << fehler << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    aus << "Hostname:  " << hostname << Qt::endl
        << "Username:  " << Entschluesseln(db.Server_User, kStartSchluessel) << Qt::endl
        << "Port:      " << db.Server_Port << Qt::endl
        << "Datenbank: " << AsciiGross(db.Server_DB) << Qt::endl;
    if (!IntegritaetStimmt(db)) {
        Fehlerausgabe() << "Der MD5-Hash passt nicht zu den verschlüsselten Werten: "
                           "die Station meldet die Datei als beschädigt."
                        << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    // A PIN that does not decipher to digits can never be typed: the kiosk could not be ended.
    if (!menu.Beenden_PIN().isEmpty() &&
        !PinGueltig(Entschluesseln(menu.Beenden_PIN(), kStartSchluessel))) {
        Fehlerausgabe() << "Beenden_PIN ist keine verschlüsselte PIN aus 4 bis 12 Ziffern: "
                           "die Station ließe sich nicht beenden."
                        << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    // The station keeps the reader on for such a value, which is not what the site asked for.
    if (const QString fehler = AusweisleserFehler(AusweisleserWert(ini)); !fehler.isEmpty()) {
        Fehlerausgabe() << fehler << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    // The station runs with such values, but not with the journal the site asked for.
    const QStringList journalFehler = JournalEinstellungsfehler(ini);
    if (!journalFehler.isEmpty()) {
        for (const QString& fehler : journalFehler)
            Fehlerausgabe() << fehler << Qt::endl;
        Fehlerausgabe() << "Die Station nimmt dafür die Vorgabe." << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    if (!db.Journal_Verzeichnis.isEmpty() || db.Journal_Aufbewahrung_Tage != kJournalTageVorgabe)
        aus << "Journal:   "
            << (db.Journal_Verzeichnis.isEmpty() ? u"Standardverzeichnis"_s
                                                 : db.Journal_Verzeichnis)
            << ", weitergeleitete Einträge " << db.Journal_Aufbewahrung_Tage << " Tage" << Qt::endl;
    aus << "Die Datei ist gültig." << Qt::endl;
    return verbinden ? VerbindungPruefen(db) : kErfolg;
}

// The station would read this text back exactly as written: checked before anything is written.
void PruefeErgebnis(const QString& text)
{
    TDBEinstellungen db;
    TMenuWerte menu;
    LeseEinstellungen(TIniDatei::AusBytes(text.toUtf8()), db, menu);
    if (!EinstellungenVollstaendig(db) || !IntegritaetStimmt(db))
        throw EFehler(u"EUngueltigerWert"_s,
                      u"Die Werte ergeben keine gültige Datei (ein Wert lautet \"ERROR\"?)."_s);
}

// The replacement keeps the owner and group of the file it replaces (the mode stays anyway), so
// a file readable only by the kiosk user's group stays readable after a rewrite. Where that is
// not allowed, the writer's own remain, as for any new file.
void BehalteEigentuemer(const QString& pfad, QSaveFile& neu)
{
#ifdef Q_OS_UNIX
    struct stat alt;
    if (::stat(QFile::encodeName(pfad).constData(), &alt) == 0 &&
        ::fchown(neu.handle(), alt.st_uid, alt.st_gid) != 0) {
        // Not permitted for another owner: at least the group, when the writer belongs to it.
        [[maybe_unused]] const int ergebnis =
            ::fchown(neu.handle(), static_cast<uid_t>(-1), alt.st_gid);
    }
#else
    Q_UNUSED(pfad);
    Q_UNUSED(neu);
#endif
}

// The file holds the credentials: a new one is for its owner alone, and the administrator
// widens that on purpose (e.g. 0640 for the kiosk user's group). Set before anything is written.
bool Schreiben(const QString& ziel, const QByteArray& inhalt)
{
    const bool neu = !QFileInfo::exists(ziel);
    QSaveFile datei(ziel);
    bool geschrieben = datei.open(QIODevice::WriteOnly);
    if (geschrieben) {
        if (neu)
            geschrieben = datei.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        else
            BehalteEigentuemer(ziel, datei);
    }
    geschrieben = geschrieben && datei.write(inhalt) == inhalt.size() && datei.commit();
    if (!geschrieben)
        Fehlerausgabe() << "Kann nicht schreiben: " << ziel << " (" << datei.errorString() << ")"
                        << Qt::endl;
    return geschrieben;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication anwendung(argc, argv);
    QCoreApplication::setApplicationName(u"teststation-einstellungen"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(TS_PROJEKTVERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Erstellt eine gültige Einstellungen.ini für die Teststation Personenerdung "
        "(Zugangsdaten verschlüsselt, MD5-Hash berechnet) oder prüft eine vorhandene.\n"
        "\n"
        "Schreiben: --hostname, --username, --datenbank und das Passwort angeben; die Datei "
        "geht nach -o DATEI oder auf die Standardausgabe. Eine neue Datei erhält die Rechte "
        "0600 (nur für ihren Eigentümer), eine ersetzte behält Eigentümer, Gruppe und Rechte.\n"
        "\n"
        "Prüfen: --pruefen DATEI prüft die Datei so, wie die Station sie beim Start liest.\n"
        "\n"
        "Verbindung: --verbindung-pruefen verbindet sich danach (nach --pruefen oder nach dem "
        "Schreiben mit -o) mit den Werten der Datei so wie die Station und gibt die Version des "
        "Datenbankservers aus, sonst dessen Fehler mit Nummer.\n"
        "\n"
        "Exit-Status: 0 Erfolg; 1 Datei ungültig oder nicht schreibbar; 2 falscher Aufruf, "
        "nichts geschrieben; 3 Datei gültig, aber keine Verbindung zum Datenbankserver."_s);
    const TVerbindungsoptionen verbindungsoptionen(u"Name der Datenbank (Pflicht)."_s);
    const QCommandLineOption leeresPasswort(
        u"leeres-passwort"_s,
        u"Der Datenbankbenutzer hat kein Passwort (sonst ist ein leeres Passwort ein Fehler)."_s);
    const QCommandLineOption protokoll(u"protokoll"_s, u"Protokoll (Vorgabe TCP)."_s,
                                       u"PROTOKOLL"_s, u"TCP"_s);
    const QCommandLineOption com(u"com"_s,
                                 u"Nummer der seriellen Schnittstelle (Vorgabe 1, "
                                 "0 = Auswahl beim Messen)."_s,
                                 u"NR"_s, u"1"_s);
    const QCommandLineOption geraet(u"geraet"_s,
                                    u"Gerätepfad der Schnittstelle, z. B. /dev/ttyUSB0 "
                                    "(statt der COM-Nummer)."_s,
                                    u"PFAD"_s);
    const QCommandLineOption mandant(u"mandant"_s, u"Name des Mandanten."_s, u"NAME"_s);
    const QCommandLineOption beendenPin(
        u"beenden-pin"_s,
        u"PIN aus 4 bis 12 Ziffern, nach der die Station vor dem Beenden fragt (verschlüsselt "
        "gespeichert; ohne diese Option fragt sie nicht)."_s,
        u"PIN"_s);
    const QCommandLineOption menu(u"menu"_s, u"Abteilungsknöpfe im Menü: 6 oder 12 (Vorgabe)."_s,
                                  u"6|12"_s, u"12"_s);
    const QCommandLineOption willkommen(u"willkommen"_s,
                                        u"Text der Willkommensseite (Vorgabe "
                                        "\"Herzlich Willkommen.\")."_s,
                                        u"TEXT"_s, u"Herzlich Willkommen."_s);
    const QCommandLineOption ausweisleser(
        u"ausweisleser"_s,
        u"an oder aus: ob eine Ausweisnummer, die ein Ausweisleser als Tastatur tippt, die "
        "Messung startet (Vorgabe an)."_s,
        u"an|aus"_s);
    const QCommandLineOption journalVerzeichnis(
        u"journal-verzeichnis"_s,
        u"Absoluter Pfad des Verzeichnisses für das Journal der Station (Vorgabe: "
        "Zustandsverzeichnis des Benutzers)."_s,
        u"VERZEICHNIS"_s);
    const QCommandLineOption journalTage(
        u"journal-tage"_s,
        u"Tage, die das Journal weitergeleitete Einträge behält: 1 bis 3650 (Vorgabe 30)."_s,
        u"N"_s);
    const QCommandLineOption ausgabe(u"o"_s, u"In DATEI schreiben statt auf die Standardausgabe."_s,
                                     u"DATEI"_s);
    const QCommandLineOption pruefen(u"pruefen"_s,
                                     u"DATEI prüfen: gibt Host, Benutzer und Datenbank aus; "
                                     "Status 0 nur, wenn die Station sie annimmt."_s,
                                     u"DATEI"_s);
    const QCommandLineOption verbindungPruefen(
        u"verbindung-pruefen"_s,
        u"Mit --pruefen oder -o: danach mit den Werten der Datei zum Datenbankserver verbinden "
        "und seine Version ausgeben, sonst seinen Fehler; Status 0 nur bei Erfolg."_s);
    const QCommandLineOption version(u"version"_s, u"Versionsnummer anzeigen."_s);
    parser.addOptions(verbindungsoptionen.Alle());
    parser.addOptions({leeresPasswort, protokoll, com, geraet, mandant, beendenPin, menu,
                       willkommen, ausweisleser, journalVerzeichnis, journalTage, ausgabe, pruefen,
                       verbindungPruefen, version});

    QTextStream aus(stdout);
    if (const std::optional<int> ende = verbindungsoptionen.Einlesen(
            parser, QCoreApplication::arguments(), aus, Fehlerausgabe()))
        return *ende;
    if (parser.isSet(version)) {
        aus << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << Qt::endl;
        return kErfolg;
    }
    const bool verbinden = parser.isSet(verbindungPruefen);
    if (parser.isSet(pruefen))
        return Pruefen(parser.value(pruefen), verbinden);
    // Without a file its report would end up inside the settings text on standard output.
    if (verbinden && !parser.isSet(ausgabe)) {
        Fehlerausgabe() << "--verbindung-pruefen braucht --pruefen DATEI oder -o DATEI."
                        << Qt::endl;
        return kFalscheEingabe;
    }

    if (!verbindungsoptionen.Vollstaendig(parser, {}, Fehlerausgabe()))
        return kFalscheEingabe;

    TKlarEinstellungen werte;
    werte.Hostname = parser.value(verbindungsoptionen.Hostname);
    if (const QString fehler = Serverliste::Fehler(werte.Hostname); !fehler.isEmpty()) {
        Fehlerausgabe() << fehler << Qt::endl;
        return kFalscheEingabe;
    }
    werte.Username = parser.value(verbindungsoptionen.Username);
    if (parser.isSet(leeresPasswort)) {
        if (parser.isSet(verbindungsoptionen.Passwort) ||
            parser.isSet(verbindungsoptionen.PasswortStdin)) {
            Fehlerausgabe() << "--leeres-passwort schließt --passwort und --passwort-stdin aus."
                            << Qt::endl;
            return kFalscheEingabe;
        }
    } else {
        QFile eingabe;
        if (!eingabe.open(stdin, QIODevice::ReadOnly))
            return kFalscheEingabe;
        werte.Passwort = verbindungsoptionen.Kennwort(parser, eingabe);
        // A forgotten password would otherwise give a file that the server refuses.
        if (werte.Passwort.isEmpty()) {
            Fehlerausgabe() << "Kein Passwort angegeben (--passwort oder --passwort-stdin); "
                               "für einen Datenbankbenutzer ohne Passwort --leeres-passwort "
                               "angeben."
                            << Qt::endl;
            return kFalscheEingabe;
        }
    }
    bool zahl = false;
    werte.Port = parser.value(verbindungsoptionen.Port).toInt(&zahl);
    if (!zahl) {
        Fehlerausgabe() << "--port ist keine Zahl: " << parser.value(verbindungsoptionen.Port)
                        << Qt::endl;
        return kFalscheEingabe;
    }
    werte.Datenbank = parser.value(verbindungsoptionen.Datenbank);
    werte.Protokoll = parser.value(protokoll);
    werte.COM = parser.value(com);
    if (werte.COM.toInt(&zahl) < 0 || !zahl) {
        Fehlerausgabe() << "--com ist keine Schnittstellennummer: " << werte.COM << Qt::endl;
        return kFalscheEingabe;
    }
    werte.Geraet = parser.value(geraet);
    werte.Mandant = parser.value(mandant);
    werte.BeendenPin = parser.value(beendenPin);
    werte.Menu = parser.value(menu);
    werte.Willkommen = parser.value(willkommen);
    werte.JournalVerzeichnis = parser.value(journalVerzeichnis);
    werte.JournalTage = parser.value(journalTage);
    werte.Ausweisleser = parser.value(ausweisleser);

    QString text;
    try {
        text = ErstelleEinstellungsText(werte);
        PruefeErgebnis(text);
    } catch (const EFehler& fehler) {
        Fehlerausgabe() << fehler.Meldung() << Qt::endl;
        return kFalscheEingabe;
    }

    if (!parser.isSet(ausgabe)) {
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        return kErfolg;
    }
    const QString ziel = parser.value(ausgabe);
    if (!Schreiben(ziel, text.toUtf8()))
        return kPruefungFehlgeschlagen;
    // Read back from the file as the station reads it, not from the values given here.
    return verbinden ? Pruefen(ziel, true) : kErfolg;
}
