// The main window is created first so that it is the application's main window.
#include "Fensterset.h"

#include "Aufzeichnung.h"
#include "Buchung.h"
#include "uFDM.h"
#include "uFKurzmeldung.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMessung.h"
#include "ufdmDB_Key.h"
#include "ufdmKontakt.h"

TFMain* FMain = nullptr;
TFDM* FDM = nullptr;
TfdmKontakt* fdmKontakt = nullptr;
TfdmDB_Key* fdmDB_Key = nullptr;
TFMessung* FMessung = nullptr;
TFehlermeldung* Fehlermeldung = nullptr;
TFKurzmeldung* FKurzmeldung = nullptr;
bool bEinstellungen_OK = false;
TUser rUser;

struct TFensterset::TObjekte
{
    // Members are destroyed in reverse order of declaration.
    std::unique_ptr<TFMain> main{FMain = new TFMain};
    std::unique_ptr<TFDM> dm{FDM = new TFDM(bEinstellungen_OK)};
    // Every query runs over the data module's one connection.
    std::unique_ptr<TfdmKontakt> kontakt{fdmKontakt = new TfdmKontakt(FDM->MyCon)};
    std::unique_ptr<TfdmDB_Key> dbKey{fdmDB_Key = new TfdmDB_Key(FDM->MyCon)};
    std::unique_ptr<TBuchung> buchung{std::make_unique<TBuchung>(FDM->quBuchen)};
    // Straight to the server until the journal is opened, once the settings are read.
    std::unique_ptr<TAufzeichnung> aufzeichnung{std::make_unique<TAufzeichnung>(*buchung)};
    std::unique_ptr<TFMessung> messung{FMessung = new TFMessung(*FDM, *fdmKontakt, *aufzeichnung)};
    std::unique_ptr<TFehlermeldung> fehler{Fehlermeldung = new TFehlermeldung(FMain)};
    std::unique_ptr<TFKurzmeldung> kurz{FKurzmeldung = new TFKurzmeldung(FMain)};
};

TFensterset::TFensterset() : FObjekte(std::make_unique<TObjekte>())
{
    // What each part was not given at its creation, because it comes later in the order.
    FDM->SetzeMenuZiel(FMain);
    FMain->Verbinden(*FDM, *fdmKontakt, *FMessung);
    FMessung->SetzeFehleranzeige(Fehlermeldung);
    FMessung->SetzeTafel({[](const QString& abteilung) { FMain->Lade_MA_Abteilung(abteilung); },
                          [] { FMain->Timer2Starten(); }});
}

TFensterset::~TFensterset()
{
    FObjekte.reset();
    FKurzmeldung = nullptr;
    Fehlermeldung = nullptr;
    FMessung = nullptr;
    fdmDB_Key = nullptr;
    fdmKontakt = nullptr;
    FDM = nullptr;
    FMain = nullptr;
    bEinstellungen_OK = false;
}
