// Keys, defaults and order of the settings file.
#include "Einstellungen.h"

#include "Integritaet.h"
#include "uFehler.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFehlt = u"ERROR"_s;

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

bool IntegritaetStimmt(const TDBEinstellungen& db)
{
    return Integritaetswert(db.Server_User, db.Server_Passwort, db.Server_Hostname) ==
           db.Server_MD5Hash;
}
