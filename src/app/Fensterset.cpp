// The main window is created first so that it is the application's main window.
#include "Fensterset.h"

#include "Aufzeichnung.h"
#include "Buchung.h"
#include "Journal.h"
#include "Kopieauffrischung.h"
#include "Tafelkopie.h"
#include "WeiterleitungsThread.h"
#include "Zugangswerte.h"
#include "Zustandsverzeichnis.h"
#include "uFDM.h"
#include "uFKurzmeldung.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMeldung.h"
#include "uMessung.h"
#include "ufdmDB_Key.h"
#include "ufdmKontakt.h"

using namespace Qt::Literals::StringLiterals;

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
    // Opened once the settings are read; the threads end before the journal closes, and all
    // three before the screens that use them.
    std::unique_ptr<TJournal> journal;
    std::unique_ptr<TTafelkopie> kopie;
    std::unique_ptr<TWeiterleitungsThread> weiterleitung;
    std::unique_ptr<TKopieauffrischung> auffrischung;

    void JournalOeffnen();
};

namespace {

QString JournalBeiseitegelegt(const TJournal& journal)
{
    return u"Das Messjournal der Station war unbrauchbar (%1).\r\n"
           "Es wurde als %2 aufbewahrt und ein neues begonnen.\r\n\r\n"
           "Noch nicht übertragene Messungen darin müssen von einem Administrator geprüft "
           "werden."_s.arg(journal.Grund(), journal.Beiseitegelegt());
}

} // namespace

void TFensterset::TObjekte::JournalOeffnen()
{
    const QString verzeichnis = FDM->Journal_Verzeichnis.isEmpty() ? Zustandsverzeichnis::Standard()
                                                                   : FDM->Journal_Verzeichnis;
    const int tage = FDM->Journal_Aufbewahrung_Tage;
    try {
        journal = std::make_unique<TJournal>(verzeichnis);
        journal->Aufraeumen(QDateTime::currentDateTime(), tage);
    } catch (const std::exception& ausnahme) {
        // Without a journal the station records straight to the server, as before.
        journal.reset();
        Meldung::Zeigen(Meldung::Art::Hinweis,
                        u"Das Messjournal der Station kann nicht benutzt werden; Messungen "
                        "werden nur bei erreichbarer Datenbank gespeichert.\r\n\r\n"_s +
                            MeldungVon(ausnahme) +
                            u"\r\n\r\nBitte verständigen Sie einen Administrator!"_s);
        return;
    }
    if (!journal->Beiseitegelegt().isEmpty())
        Meldung::Zeigen(Meldung::Art::Hinweis, JournalBeiseitegelegt(*journal));

    // Copies of the credentials: the threads never read the data module.
    const TZugangswerte zugang = ZugangAus(*FDM);
    kopie = std::make_unique<TTafelkopie>(*journal);
    weiterleitung = std::make_unique<TWeiterleitungsThread>(
        *journal, [zugang](TDBVerbindung& verbindung) { Einstellen(verbindung, zugang); }, tage);
    auffrischung = std::make_unique<TKopieauffrischung>(*kopie, zugang, FMain->Mandant());
    TWeiterleitungsThread* thread = weiterleitung.get();
    aufzeichnung->SetzeJournal(
        journal.get(), [thread](const QString& kennung) { return thread->Senden(kennung); });
    QObject::connect(thread, &TWeiterleitungsThread::Wartend, FMain, &TFMain::SetzeWartend);
    QObject::connect(thread, &TWeiterleitungsThread::Erreichbar, FMain, &TFMain::ServerErreichbar);
    QObject::connect(thread, &TWeiterleitungsThread::Abgewiesen, FMain,
                     [](const QString& kennung, const QString& grund) {
                         Meldung::Zeigen(
                             Meldung::Art::Warnung,
                             u"Eine Messung der Station wird nicht mehr an die Datenbank "
                             "gesendet (%1).\r\n"
                             "Sie bleibt im Messjournal unter der Kennung %2.\r\n\r\n"
                             "Bitte verständigen Sie einen Administrator!"_s.arg(grund, kennung));
                     });
    TKopieauffrischung* auffrischer = auffrischung.get();
    FMain->SetzeKopie(journal.get(), kopie.get(),
                      [auffrischer](const QString& abteilung, QSize kachel) {
                          auffrischer->Auffrischen(abteilung, kachel);
                      });
    FMessung->SetzeKopie(kopie.get());
}

TFensterset::TFensterset() : FObjekte(std::make_unique<TObjekte>())
{
    // What each part was not given at its creation, because it comes later in the order.
    FDM->SetzeMenuZiel(FMain);
    FDM->SetzeBeiEinstellungen([objekte = FObjekte.get()] { objekte->JournalOeffnen(); });
    FMain->Verbinden(*FDM, *fdmKontakt, *FMessung);
    FMain->SetzeKurzmeldung(FKurzmeldung);
    FMessung->SetzeFehleranzeige(Fehlermeldung);
    FMessung->SetzeTafel({[](const QString& abteilung) { FMain->Lade_MA_Abteilung(abteilung); },
                          [] { FMain->Timer2Starten(); }});
}

TJournal* TFensterset::Journal() const
{
    return FObjekte->journal.get();
}

TTafelkopie* TFensterset::Kopie() const
{
    return FObjekte->kopie.get();
}

TKopieauffrischung* TFensterset::Auffrischung() const
{
    return FObjekte->auffrischung.get();
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
