// The settings' connection values as the station connects with them, for the station and the
// tools that must get in the same way.
#pragma once

#include <QString>

struct TDBEinstellungen;
class TDBVerbindung;

struct TZugangswerte
{
    QString Server;
    int Port = 3306;
    QString Benutzer;
    QString Passwort;
    QString Datenbank;
};

// Deciphers host, user and password; the database name is upper-cased in ASCII only, as the
// station always asked for it.
TZugangswerte ZugangAus(const TDBEinstellungen& db);

// Gives the connection these values; connects nothing.
void Einstellen(TDBVerbindung& verbindung, const TZugangswerte& zugang);
