// Keys, defaults and order of the settings file.
#include "Einstellungen.h"

#include "Integritaet.h"
#include "uFehler.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFehlt = u"ERROR"_s;

QString JournalVerzeichnisWert(const TIniDatei& ini)
{
    return ini.ReadString(u"Journal"_s, u"Verzeichnis"_s, QString());
}

QString JournalTageWert(const TIniDatei& ini)
{
    return ini.ReadString(u"Journal"_s, u"Aufbewahrung_Tage"_s, QString());
}

} // namespace

QString EinstellungsDatei(const QString& programmVerzeichnis)
{
    return QDir(programmVerzeichnis).filePath(u"Einstellungen.ini"_s);
}

void LeseEinstellungen(const TIniDatei& ini, TDBEinstellungen& db, TMenuWerte& menu)
{
    const QString personenerdung = u"Personenerdung"_s;
    const QString server = u"DB_Server"_s;
    const QString menuAbschnitt = u"Menu"_s;

    db.COM_Port = ini.ReadString(personenerdung, u"COM"_s, u"1"_s);
    db.Geraet = ini.ReadString(personenerdung, u"Geraet"_s, QString());
    db.Server_User = ini.ReadString(server, u"Username"_s, kFehlt);
    db.Server_Passwort = ini.ReadString(server, u"Passwort"_s, kFehlt);
    db.Server_Hostname = ini.ReadString(server, u"Hostname"_s, kFehlt);
    db.Server_Port = StrToInt(ini.ReadString(server, u"Port"_s, u"0"_s));
    db.Server_DB = ini.ReadString(server, u"DB_Name"_s, kFehlt);
    db.Server_Protocol = ini.ReadString(server, u"Protokoll"_s, kFehlt);
    db.Server_MD5Hash = ini.ReadString(server, u"MD5-Hash"_s, kFehlt);
    menu.setMenu_AnzAbteilungen(ini.ReadString(menuAbschnitt, u"Anzahl_Abteilungen"_s, u"12"_s));
    menu.setMandant(ini.ReadString(menuAbschnitt, u"Mandant"_s, QString()));
    menu.setWerbung_Welcome(
        ini.ReadString(menuAbschnitt, u"Werbung_Welcome"_s, u"Herzlich Willkommen."_s));
    menu.setBeenden_PIN(ini.ReadString(menuAbschnitt, u"Beenden_PIN"_s, QString()));
    // Only a plain "aus" switches the reader off; anything else the check tool reports.
    menu.setAusweisleser(AusweisleserWert(ini).compare(u"aus"_s, Qt::CaseInsensitive) != 0);

    // A site's mistake here must not keep the station from measuring: the default stands in.
    const QString verzeichnis = JournalVerzeichnisWert(ini);
    db.Journal_Verzeichnis =
        JournalVerzeichnisFehler(verzeichnis).isEmpty() ? verzeichnis : QString();
    const QString tage = JournalTageWert(ini);
    db.Journal_Aufbewahrung_Tage =
        tage.isEmpty() || !JournalTageFehler(tage).isEmpty() ? kJournalTageVorgabe : StrToInt(tage);
}

bool EinstellungenVollstaendig(const TDBEinstellungen& db)
{
    return FehlendeEinstellungen(db).isEmpty();
}

QStringList FehlendeEinstellungen(const TDBEinstellungen& db)
{
    QStringList fehlend;
    const auto pruefe = [&fehlend](const QString& wert, const QString& schluessel) {
        if (wert == kFehlt)
            fehlend << schluessel;
    };
    pruefe(db.Server_User, u"Username"_s);
    pruefe(db.Server_Passwort, u"Passwort"_s);
    pruefe(db.Server_Hostname, u"Hostname"_s);
    if (db.Server_Port == 0)
        fehlend << u"Port"_s;
    pruefe(db.Server_DB, u"DB_Name"_s);
    pruefe(db.Server_Protocol, u"Protokoll"_s);
    pruefe(db.Server_MD5Hash, u"MD5-Hash"_s);
    return fehlend;
}

QString AusweisleserWert(const TIniDatei& ini)
{
    return ini.ReadString(u"Menu"_s, u"Ausweisleser"_s, QString());
}

QString AusweisleserFehler(const QString& wert)
{
    if (wert.isEmpty() || wert.compare(u"an"_s, Qt::CaseInsensitive) == 0 ||
        wert.compare(u"aus"_s, Qt::CaseInsensitive) == 0)
        return QString();
    return u"Ausweisleser im Abschnitt [Menu] ist weder \"an\" noch \"aus\": \"%1\""_s.arg(wert);
}

QString JournalVerzeichnisFehler(const QString& wert)
{
    // A relative path would depend on the directory the station happens to start in.
    if (wert.isEmpty() || QDir::isAbsolutePath(wert))
        return QString();
    return u"Verzeichnis im Abschnitt [Journal] ist kein absoluter Pfad: \"%1\""_s.arg(wert);
}

QString JournalTageFehler(const QString& wert)
{
    if (wert.isEmpty())
        return QString();
    try {
        const qint32 tage = StrToInt(wert);
        if (tage >= kJournalTageMin && tage <= kJournalTageMax)
            return QString();
        return u"Aufbewahrung_Tage im Abschnitt [Journal] liegt nicht zwischen %1 und %2: %3"_s
            .arg(kJournalTageMin)
            .arg(kJournalTageMax)
            .arg(wert);
    } catch (const EUmwandlungsfehler&) {
        return u"Aufbewahrung_Tage im Abschnitt [Journal] ist keine ganze Zahl: \"%1\""_s.arg(wert);
    }
}

QStringList JournalEinstellungsfehler(const TIniDatei& ini)
{
    QStringList fehler{JournalVerzeichnisFehler(JournalVerzeichnisWert(ini)),
                       JournalTageFehler(JournalTageWert(ini))};
    fehler.removeAll(QString());
    return fehler;
}

bool IntegritaetStimmt(const TDBEinstellungen& db)
{
    return Integritaetswert(db.Server_User, db.Server_Passwort, db.Server_Hostname) ==
           db.Server_MD5Hash;
}
