// Keyed option store: per-workstation values over a master table of defaults.
#pragma once

#include <QString>

class TfdmDB_Key;
struct TUser;

// Holds the table name; every object works through the shared queries of the module it is
// given, so quDB_Key keeps the last look-up of whichever object ran last.
class TDB_Key
{
public:
    // Both are kept by reference: the workstation's rows are those of the user at each call.
    TDB_Key(TfdmDB_Key& module, const TUser& benutzer);

    void Init();
    // Write-only: stored upper-cased, as the server compares table names letter for letter.
    void SetTabellenname(const QString& wert);

    // The per-workstation value, else the master default (cloned when the master asks for it).
    QString LeseKey(const QString& sModul, const QString& sKey1);
    // The master step of LeseKey on its own.
    QString LeseMasterKey(const QString& sModul, const QString& sKey1);
    void SchreibeKey(const QString& sModul, const QString& sKey1, const QString& sWert,
                     const QString& sBeschreibung);
    void SchreibeMasterKey(const QString& sModul, const QString& sKey1, const QString& sWert,
                           const QString& sBeschreibung, const QString& sKlonen);
    void UpdateKey(const QString& sModul, const QString& sKey1, const QString& sWert);

private:
    QString Lesen(const QString& sModul, const QString& sKey1, bool klonen);
    QString MasterLesen(const QString& sModul, const QString& sKey1, bool klonen);
    void Einfuegen(const QString& sModul, const QString& sKey1, const QString& sWert,
                   const QString& sBeschreibung);
    QString ArbeitsplatzSuche(const QString& sModul, const QString& sKey1) const;

    TfdmDB_Key& FModul;
    const TUser& FBenutzer;
    QString FTabellenname;
};
