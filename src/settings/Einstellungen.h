// The values of Einstellungen.ini, read in a fixed order, and the checks a usable file passes.
#pragma once

#include "IniDatei.h"

#include <QString>
#include <QStringList>

// Days the station's journal keeps forwarded entries; the default is the journal's own. Zero
// would drop an entry as soon as it is forwarded, and more than ten years is rather a typo.
constexpr int kJournalTageVorgabe = 30;
constexpr int kJournalTageMin = 1;
constexpr int kJournalTageMax = 3650;

// Database and serial values; held by the data module.
struct TDBEinstellungen
{
    QString COM_Port;
    QString Geraet; // optional device path; when empty the COM number picks the device
    QString Server_User;
    QString Server_Passwort;
    QString Server_Hostname;
    qint32 Server_Port = 0;
    QString Server_DB;
    QString Server_Protocol;
    QString Server_MD5Hash;
    // Optional [Journal] section; an unusable value leaves the default. Empty: the default
    // state directory.
    QString Journal_Verzeichnis;
    int Journal_Aufbewahrung_Tage = kJournalTageVorgabe;
};

// The menu values; the main window carries them as its properties.
class TMenuWerte
{
public:
    const QString& Menu_AnzAbteilungen() const { return FMenu_AnzAbteilungen; }
    void setMenu_AnzAbteilungen(const QString& wert) { FMenu_AnzAbteilungen = wert; }
    const QString& Mandant() const { return FMandant; }
    void setMandant(const QString& wert) { FMandant = wert; }
    const QString& Werbung_Welcome() const { return FWerbung_Welcome; }
    void setWerbung_Welcome(const QString& wert) { FWerbung_Welcome = wert; }
    // Optional, enciphered as the credentials are: the PIN that ending the program asks for.
    const QString& Beenden_PIN() const { return FBeenden_PIN; }
    void setBeenden_PIN(const QString& wert) { FBeenden_PIN = wert; }
    // Optional: whether a badge number typed as a reader types it starts a measurement.
    bool Ausweisleser() const { return FAusweisleser; }
    void setAusweisleser(bool wert) { FAusweisleser = wert; }

private:
    QString FMenu_AnzAbteilungen;
    QString FMandant;
    QString FWerbung_Welcome;
    QString FBeenden_PIN;
    bool FAusweisleser = true;
};

// Name of the settings file; it lives beside the executable.
QString EinstellungsDatei(const QString& programmVerzeichnis);

// Reads every key in its order and stores each value as soon as it is read. A Port that is not
// a number throws EUmwandlungsfehler; the keys after it then keep their previous values.
// The optional [Journal] keys come last and never throw.
void LeseEinstellungen(const TIniDatei& ini, TDBEinstellungen& db, TMenuWerte& menu);

// False when a required value still holds its "ERROR" default or the port is 0.
bool EinstellungenVollstaendig(const TDBEinstellungen& db);
// The keys of [DB_Server] that make the values incomplete, in the file's order.
QStringList FehlendeEinstellungen(const TDBEinstellungen& db);

// Why a value of the optional [Journal] section cannot be used; empty when it can. An empty
// value stands for the default.
QString JournalVerzeichnisFehler(const QString& wert);
QString JournalTageFehler(const QString& wert);
// Why [Menu] Ausweisleser cannot be used ("an" or "aus", any letter case); empty when it can or
// is missing. The station then keeps the reader on.
QString AusweisleserFehler(const QString& wert);
QString AusweisleserWert(const TIniDatei& ini);

// One message for each [Journal] key the station replaces by its default, Verzeichnis first.
// Such a file still works, so this is for the settings tool's check, not for the station.
QStringList JournalEinstellungsfehler(const TIniDatei& ini);

// True when the stored integrity value matches the three enciphered credentials.
bool IntegritaetStimmt(const TDBEinstellungen& db);
