// Einstellungen.ini from outside: any bytes must read without a crash, failing only with the
// system's own errors; and values the settings tool writes must read back as given.
#include "Einstellungen.h"
#include "EinstellungenErstellen.h"
#include "Entschluesseln.h"
#include "IniDatei.h"
#include "Pruefen.h"
#include "uFehler.h"

#include <QByteArray>
#include <QDir>
#include <QStringList>

#include <cstddef>
#include <cstdint>

using namespace Qt::Literals::StringLiterals;

namespace {

// Marks values the reader must leave alone when it stops at a bad port.
const QString kUnberuehrt = u"<unberuehrt>"_s;

bool Tragbar(const QString& wert)
{
    return !wert.contains(u'\r') && !wert.contains(u'\n') &&
           wert.size() <= TIniDatei::kMaxWertLaenge;
}

void BeliebigeBytes(const QByteArray& inhalt)
{
    const TIniDatei ini = TIniDatei::AusBytes(inhalt);
    TDBEinstellungen db;
    db.Server_DB = kUnberuehrt;
    TMenuWerte menu;
    menu.setMandant(kUnberuehrt);
    bool gelesen = true;
    try {
        LeseEinstellungen(ini, db, menu);
    } catch (const EFehler&) {
        gelesen = false; // bad input may fail, with the system's own error
    }
    if (!gelesen)
        Pruefe(db.Server_DB == kUnberuehrt && menu.Mandant() == kUnberuehrt,
               "nach einem Fehler bleiben die spaeteren Schluessel unberuehrt");
    const QStringList werte{db.COM_Port,           db.Geraet,
                            db.Server_User,        db.Server_Passwort,
                            db.Server_Hostname,    db.Server_DB,
                            db.Server_Protocol,    db.Server_MD5Hash,
                            menu.Mandant(),        menu.Menu_AnzAbteilungen(),
                            menu.Werbung_Welcome()};
    for (const QString& wert : werte)
        Pruefe(!wert.contains(u'\n') && wert.size() <= TIniDatei::kMaxWertLaenge,
               "ein Wert ist eine Zeile von hoechstens kMaxWertLaenge Zeichen");
    EinstellungenVollstaendig(db);
    IntegritaetStimmt(db);
    if (gelesen)
        Pruefe((db.Journal_Verzeichnis.isEmpty() || QDir::isAbsolutePath(db.Journal_Verzeichnis)) &&
                   db.Journal_Aufbewahrung_Tage >= kJournalTageMin &&
                   db.Journal_Aufbewahrung_Tage <= kJournalTageMax,
               "die Journalwerte sind brauchbar, notfalls die Vorgaben");
    JournalEinstellungsfehler(ini);
}

// The same bytes as the settings tool's input: fields separated by U+0001.
void SchreibenUndLesen(const QByteArray& inhalt)
{
    QStringList felder = QString::fromUtf8(inhalt).split(u'\x01');
    while (felder.size() < 13)
        felder << QString();
    TKlarEinstellungen klar;
    klar.Hostname = felder[0];
    klar.Username = felder[1];
    klar.Passwort = felder[2];
    klar.Datenbank = felder[3];
    klar.Protokoll = felder[4];
    klar.COM = felder[5];
    klar.Geraet = felder[6];
    klar.Mandant = felder[7];
    klar.Menu = felder[8];
    klar.Willkommen = felder[9];
    klar.JournalVerzeichnis = felder[11];
    klar.JournalTage = felder[12];
    bool zahl = false;
    klar.Port = felder[10].toInt(&zahl);
    if (!zahl)
        klar.Port = 3306;

    const QString user = Verschluesseln(klar.Username, kStartSchluessel);
    const QString passwort = Verschluesseln(klar.Passwort, kStartSchluessel);
    const QString host = Verschluesseln(klar.Hostname, kStartSchluessel);
    bool darfScheitern = klar.Port < 1 || klar.Port > 65535 ||
                         (klar.Menu != u"6"_s && klar.Menu != u"12"_s) ||
                         !JournalVerzeichnisFehler(klar.JournalVerzeichnis).isEmpty() ||
                         !JournalTageFehler(klar.JournalTage).isEmpty();
    for (const QString& wert : {klar.Datenbank, klar.Protokoll, klar.COM, klar.Geraet, klar.Mandant,
                                klar.Willkommen, klar.JournalVerzeichnis, user, passwort, host})
        darfScheitern = darfScheitern || !Tragbar(wert);

    QString text;
    try {
        text = ErstelleEinstellungsText(klar);
    } catch (const EFehler&) {
        Pruefe(darfScheitern, "Schreiben scheitert nur an Werten, die die Datei nicht traegt");
        return;
    }
    Pruefe(!darfScheitern, "Werte, die die Datei nicht traegt, werden nicht geschrieben");

    TDBEinstellungen db;
    TMenuWerte menu;
    try {
        LeseEinstellungen(TIniDatei::AusBytes(text.toUtf8()), db, menu);
    } catch (const EFehler&) {
        Pruefe(false, "eine geschriebene Datei liest sich ohne Fehler");
    }
    Pruefe(db.COM_Port == klar.COM && db.Geraet == klar.Geraet, "COM und Geraet lesen sich gleich");
    Pruefe(db.Server_User == user && db.Server_Passwort == passwort && db.Server_Hostname == host,
           "die verschluesselten Zugangsdaten lesen sich gleich");
    Pruefe(Entschluesseln(db.Server_User, kStartSchluessel) == klar.Username &&
               Entschluesseln(db.Server_Passwort, kStartSchluessel) == klar.Passwort &&
               Entschluesseln(db.Server_Hostname, kStartSchluessel) == klar.Hostname,
           "die Zugangsdaten entschluesseln sich zum Klartext");
    Pruefe(db.Server_Port == klar.Port && db.Server_DB == klar.Datenbank &&
               db.Server_Protocol == klar.Protokoll,
           "Port, Datenbank und Protokoll lesen sich gleich");
    Pruefe(menu.Menu_AnzAbteilungen() == klar.Menu && menu.Mandant() == klar.Mandant &&
               menu.Werbung_Welcome() == klar.Willkommen,
           "die Menuewerte lesen sich gleich");
    Pruefe(db.Journal_Verzeichnis == klar.JournalVerzeichnis &&
               db.Journal_Aufbewahrung_Tage ==
                   (klar.JournalTage.isEmpty() ? kJournalTageVorgabe : klar.JournalTage.toInt()),
           "die Journalwerte lesen sich gleich");
    Pruefe(IntegritaetStimmt(db), "eine geschriebene Datei besteht die Integritaetspruefung");
    const bool fehlend = klar.Datenbank == u"ERROR"_s || klar.Protokoll == u"ERROR"_s;
    Pruefe(EinstellungenVollstaendig(db) == !fehlend,
           "vollstaendig, ausser ein Wert lautet wie die Vorgabe ERROR");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
{
    const QByteArray inhalt(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
    BeliebigeBytes(inhalt);
    SchreibenUndLesen(inhalt);
    return 0;
}
