// Settings tool: writes a complete, valid Einstellungen.ini from plain values, or checks one.
// The station itself only deciphers, so every settings file is prepared here.
#include "Einstellungen.h"
#include "EinstellungenErstellen.h"
#include "Entschluesseln.h"
#include "uFehler.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <QTextStream>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kErfolg = 0;
constexpr int kPruefungFehlgeschlagen = 1;
constexpr int kFalscheEingabe = 2;

QTextStream& Fehlerausgabe()
{
    static QTextStream strom(stderr);
    return strom;
}

int Pruefen(const QString& pfad)
{
    QTextStream aus(stdout);
    if (!QFile::exists(pfad)) {
        Fehlerausgabe() << "Datei nicht gefunden: " << pfad << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    TDBEinstellungen db;
    TMenuWerte menu;
    try {
        LeseEinstellungen(TIniDatei(pfad), db, menu);
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
    aus << "Hostname:  " << Entschluesseln(db.Server_Hostname, kStartSchluessel) << Qt::endl
        << "Username:  " << Entschluesseln(db.Server_User, kStartSchluessel) << Qt::endl
        << "Port:      " << db.Server_Port << Qt::endl
        << "Datenbank: " << db.Server_DB.toUpper() << Qt::endl;
    if (!IntegritaetStimmt(db)) {
        Fehlerausgabe() << "Der MD5-Hash passt nicht zu den verschlüsselten Werten: "
                           "die Station meldet die Datei als beschädigt."
                        << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    aus << "Die Datei ist gültig." << Qt::endl;
    return kErfolg;
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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication anwendung(argc, argv);
    QCoreApplication::setApplicationName(u"teststation-einstellungen"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Erstellt eine gültige Einstellungen.ini für die Teststation Personenerdung "
        "(Zugangsdaten verschlüsselt, MD5-Hash berechnet) oder prüft eine vorhandene."_s);
    const QCommandLineOption hilfe({u"h"_s, u"help"_s}, u"Diese Hilfe anzeigen."_s);
    parser.addOption(hilfe);
    const QCommandLineOption hostname(u"hostname"_s, u"Datenbankserver (Pflicht)."_s, u"HOST"_s);
    const QCommandLineOption port(u"port"_s, u"TCP-Port des Servers (Vorgabe 3306)."_s, u"PORT"_s,
                                  u"3306"_s);
    const QCommandLineOption username(u"username"_s, u"Datenbankbenutzer (Pflicht)."_s, u"NAME"_s);
    const QCommandLineOption passwort(u"passwort"_s, u"Passwort des Datenbankbenutzers."_s,
                                      u"PASSWORT"_s);
    const QCommandLineOption passwortStdin(
        u"passwort-stdin"_s,
        u"Passwort aus der ersten Zeile der Standardeingabe lesen (erscheint nicht in der "
        "Prozessliste)."_s);
    const QCommandLineOption datenbank(u"datenbank"_s, u"Name der Datenbank (Pflicht)."_s,
                                       u"NAME"_s);
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
    const QCommandLineOption menu(u"menu"_s, u"Abteilungsknöpfe im Menü: 6 oder 12 (Vorgabe)."_s,
                                  u"6|12"_s, u"12"_s);
    const QCommandLineOption willkommen(u"willkommen"_s,
                                        u"Text der Willkommensseite (Vorgabe "
                                        "\"Herzlich Willkommen.\")."_s,
                                        u"TEXT"_s, u"Herzlich Willkommen."_s);
    const QCommandLineOption ausgabe(u"o"_s, u"In DATEI schreiben statt auf die Standardausgabe."_s,
                                     u"DATEI"_s);
    const QCommandLineOption pruefen(u"pruefen"_s,
                                     u"DATEI prüfen: gibt Host, Benutzer und Datenbank aus; "
                                     "Status 0 nur, wenn die Station sie annimmt."_s,
                                     u"DATEI"_s);
    parser.addOptions({hostname, port, username, passwort, passwortStdin, datenbank, protokoll, com,
                       geraet, mandant, menu, willkommen, ausgabe, pruefen});

    if (!parser.parse(QCoreApplication::arguments())) {
        Fehlerausgabe() << parser.errorText() << Qt::endl;
        return kFalscheEingabe;
    }
    if (parser.isSet(hilfe)) {
        QTextStream(stdout) << parser.helpText();
        return kErfolg;
    }
    if (!parser.positionalArguments().isEmpty()) {
        Fehlerausgabe() << "Unerwartetes Argument: " << parser.positionalArguments().constFirst()
                        << Qt::endl;
        return kFalscheEingabe;
    }
    if (parser.isSet(pruefen))
        return Pruefen(parser.value(pruefen));

    for (const QCommandLineOption* pflicht : {&hostname, &username, &datenbank}) {
        if (parser.value(*pflicht).isEmpty()) {
            Fehlerausgabe() << "Fehlt: --" << pflicht->names().constFirst() << " (--help zeigt "
                            << "alle Optionen)" << Qt::endl;
            return kFalscheEingabe;
        }
    }
    if (parser.isSet(passwort) && parser.isSet(passwortStdin)) {
        Fehlerausgabe() << "--passwort und --passwort-stdin schließen sich aus." << Qt::endl;
        return kFalscheEingabe;
    }

    TKlarEinstellungen werte;
    werte.Hostname = parser.value(hostname);
    werte.Username = parser.value(username);
    if (parser.isSet(passwortStdin)) {
        QTextStream ein(stdin);
        werte.Passwort = ein.readLine();
    } else {
        werte.Passwort = parser.value(passwort);
    }
    bool zahl = false;
    werte.Port = parser.value(port).toInt(&zahl);
    if (!zahl) {
        Fehlerausgabe() << "--port ist keine Zahl: " << parser.value(port) << Qt::endl;
        return kFalscheEingabe;
    }
    werte.Datenbank = parser.value(datenbank);
    werte.Protokoll = parser.value(protokoll);
    werte.COM = parser.value(com);
    if (werte.COM.toInt(&zahl) < 0 || !zahl) {
        Fehlerausgabe() << "--com ist keine Schnittstellennummer: " << werte.COM << Qt::endl;
        return kFalscheEingabe;
    }
    werte.Geraet = parser.value(geraet);
    werte.Mandant = parser.value(mandant);
    werte.Menu = parser.value(menu);
    werte.Willkommen = parser.value(willkommen);

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
    QSaveFile datei(ziel);
    bool geschrieben = datei.open(QIODevice::WriteOnly) && datei.write(text.toUtf8()) >= 0;
    if (geschrieben) {
        BehalteEigentuemer(ziel, datei);
        geschrieben = datei.commit();
    }
    if (!geschrieben) {
        Fehlerausgabe() << "Kann nicht schreiben: " << parser.value(ausgabe) << " ("
                        << datei.errorString() << ")" << Qt::endl;
        return kPruefungFehlgeschlagen;
    }
    return kErfolg;
}
