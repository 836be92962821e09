// The seven long-lived objects of a run, created once each in a fixed order, and the
// program-wide references to them.
#pragma once

#include "uGlobal.h"

#include <memory>

class TFDM;
class TFKurzmeldung;
class TFMain;
class TFMessung;
class TFehlermeldung;
class TJournal;
class TKopieauffrischung;
class TTafelkopie;
class TfdmDB_Key;
class TfdmKontakt;

// Set while the window set exists. Only the program's entry point, its tools and tests read
// them; every part below gets what it uses from the window set.
extern TFMain* FMain;
extern TFDM* FDM;
extern TfdmKontakt* fdmKontakt;
extern TfdmDB_Key* fdmDB_Key;
extern TFMessung* FMessung;
extern TFehlermeldung* Fehlermeldung;
extern TFKurzmeldung* FKurzmeldung;
// True once the settings were read and are usable; the data module keeps it.
extern bool bEinstellungen_OK;
// The signed-in user of a workstation, for the option store; the station signs in no one.
extern TUser rUser;

class TFensterset
{
public:
    // Creates FMain, FDM, fdmKontakt, fdmDB_Key, FMessung, Fehlermeldung and FKurzmeldung in
    // this order, hands each the parts it uses and sets the program-wide references.
    TFensterset();
    // Releases them in reverse order and clears the references.
    ~TFensterset();

    // The station's journal and the board's copy in it: null until the settings are read, and
    // when the journal cannot be used. For tests and tools that look inside.
    TJournal* Journal() const;
    TTafelkopie* Kopie() const;
    // Emits Aufgefrischt after every refresh of the copy; null while there is no copy.
    TKopieauffrischung* Auffrischung() const;

    TFensterset(const TFensterset&) = delete;
    TFensterset& operator=(const TFensterset&) = delete;

private:
    struct TObjekte;
    std::unique_ptr<TObjekte> FObjekte;
};
