// The settings' connection values as the station connects with them.
#include "Zugangswerte.h"

#include "AsciiGross.h"
#include "DBVerbindung.h"
#include "Einstellungen.h"
#include "Entschluesseln.h"

TZugangswerte ZugangAus(const TDBEinstellungen& db)
{
    TZugangswerte zugang;
    zugang.Server = Entschluesseln(db.Server_Hostname, kStartSchluessel);
    zugang.Port = db.Server_Port;
    zugang.Benutzer = Entschluesseln(db.Server_User, kStartSchluessel);
    zugang.Passwort = Entschluesseln(db.Server_Passwort, kStartSchluessel);
    zugang.Datenbank = AsciiGross(db.Server_DB);
    return zugang;
}

void Einstellen(TDBVerbindung& verbindung, const TZugangswerte& zugang)
{
    verbindung.SetDatabase(zugang.Datenbank);
    verbindung.SetPort(zugang.Port);
    verbindung.SetUsername(zugang.Benutzer);
    verbindung.SetPassword(zugang.Passwort);
    verbindung.SetServer(zugang.Server);
}
