// The main window is created first so that it is the application's main window.
#include "Fensterset.h"

#include "Buchung.h"
#include "uFDM.h"
#include "uFKurzmeldung.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMessung.h"
#include "ufdmDB_Key.h"
#include "ufdmKontakt.h"

namespace {

// The board's employee record works through the contact module from the moment it exists.
std::unique_ptr<TfdmKontakt> NeueKontakte(TDBVerbindung& verbindung)
{
    auto kontakte = std::make_unique<TfdmKontakt>(verbindung);
    fdmKontakt = kontakte.get();
    FMain->SetzeKontakte(*kontakte);
    return kontakte;
}

} // namespace

struct TFensterset::TObjekte
{
    // Members are destroyed in reverse order of declaration.
    std::unique_ptr<TFMain> main{FMain = new TFMain};
    std::unique_ptr<TFDM> dm{FDM = new TFDM};
    // Every query runs over the data module's one connection.
    std::unique_ptr<TfdmKontakt> kontakt{NeueKontakte(FDM->MyCon)};
    std::unique_ptr<TfdmDB_Key> dbKey{fdmDB_Key = new TfdmDB_Key(FDM->MyCon)};
    std::unique_ptr<TBuchung> buchung{std::make_unique<TBuchung>(FDM->quBuchen)};
    std::unique_ptr<TFMessung> messung{FMessung = new TFMessung};
    std::unique_ptr<TFehlermeldung> fehler{Fehlermeldung = new TFehlermeldung(FMain)};
    std::unique_ptr<TFKurzmeldung> kurz{FKurzmeldung = new TFKurzmeldung(FMain)};
};

TFensterset::TFensterset() : FObjekte(std::make_unique<TObjekte>())
{
    FDM->SetzeMenuZiel(FMain);
    FMessung->SetzeBuchung(FObjekte->buchung.get());
    FMessung->SetzeTafel({[](const QString& abteilung) { FMain->Lade_MA_Abteilung(abteilung); },
                          [] {
                              if (!FMain->Timer2.isActive())
                                  FMain->Timer2.start();
                          }});
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
