// The main window: title bar, welcome card, employee board, department menu strip, app bar.
#pragma once

#include "Ausweisleser.h"
#include "Bildschirm.h"
#include "Einstellungen.h"
#include "EndePin.h"
#include "Massstab.h"
#include "Strichgeste.h"
#include "Wiederholung.h"
#include "uKontakt.h"

#include <QList>
#include <QSet>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class TAbteilungsKnopf;
class TBild;
class TFDM;
class TFKurzmeldung;
class TFMessung;
class TFotostapel;
class TfdmKontakt;
class TGestenFilter;
class TJournal;
class TTafelkopie;
struct TKopiePerson;
class TKachelFoto;
class QKeyEvent;
class TPinAbfrage;
class TTouchKeyboard;

class TFMain : public TBildschirm, public TMenuWerte
{
    Q_OBJECT

public:
    // Exit code of a run ended because Einstellungen.ini failed its integrity check.
    static constexpr int kEndeBeschaedigteEinstellungen = 2;

    explicit TFMain(QWidget* parent = nullptr);
    ~TFMain() override;

    // The parts created after this window: the data module with the settings and the board's
    // queries, the contact module behind the tiles' employee record, and the measurement
    // screen a tile opens. Set once, before the window is shown.
    void Verbinden(TFDM& daten, TfdmKontakt& kontakte, TFMessung& messung);
    // The station's journal with the board's copy, once the settings are read; without them
    // the board needs the server. `auffrischen` asks for the copy of the menu (an empty
    // department) or of a department to be read again; it returns at once.
    using TAuffrischen = std::function<void(const QString& abteilung, QSize kachel)>;
    void SetzeKopie(TJournal* journal, TTafelkopie* kopie, TAuffrischen auffrischen);
    // Results in the journal not yet on the server, after every round of the forwarder.
    void SetzeWartend(int anzahl);
    // The forwarder got results through: while the copy serves, the board turns to the server.
    void ServerErreichbar(bool erreichbar);
    // True while the board shows the copy because the server does not answer.
    bool Offline() const { return FOffline; }
    // Where the board's short notes appear (an unknown badge); none without it.
    void SetzeKurzmeldung(TFKurzmeldung* kurzmeldung) { FKurzmeldung = kurzmeldung; }

    // Shows the window borderless over the whole screen.
    void ZeigeVollbild();

    // The start sequence; runs once, when the window is first shown.
    void FormShow();

    // Reloads the shown department into the tiles of the current page; the argument is not
    // consulted (the measurement screen passes an empty text after each measurement).
    void Lade_MA_Abteilung(const QString& AAbteilung);

    // Handlers, public so that tests drive them as a tap or a tick would.
    void actLade_MitarbeiterExecute(QObject* Sender);
    void actMessmodusExecute(QObject* Sender);
    void actCloseExecute();
    void btnMenu_Abt_LinksClick();
    void btnMenu_Abt_RechtsClick();
    void btnSeite_VorClick();
    void btnSeite_ZurueckClick();
    void CloseButtonClick();
    void FormGesture();
    void Wischen(TWischen richtung, QWidget* start);
    void Timer2Timer();
    // The measurement screen hands the board back: the inactivity countdown goes on.
    void Timer2Starten();
    // Once a second while the department list is missing: counts down and asks again.
    void TimerDBTimer();
    // A badge number as a reader typed it: the person's board, then their measurement, as a
    // tap on their photo; a short note when no one or several carry it.
    void AusweisGelesen(const QString& nummer);
    // The name search: the magnifier opens it over the board, each letter narrows the tiles,
    // closing returns to the card it was opened from.
    void btnSucheClick();
    void SucheAendern(const QString& text);
    void btnSucheSchliessenClick();
    bool SucheOffen() const { return FSuche; }
    // Tiles per page: all of them, or the two rows above the search's keyboard.
    int KachelnJeSeite() const;
    static constexpr int kKachelnBeiSuche = 16;

    // Exit status of the program; set where a run ends because of a fault.
    int iEndeStatus = 0;

    // The employee record behind every tile of the board; made when the window is connected.
    std::unique_ptr<TKontakt> MA_Kontakt;
    // Placeholder portraits; picture 2 stands for an employee without a photo.
    QStringList imglWorstCase;

    struct TAbteilung
    {
        QString Name;
    };
    // Department names in the order of the department query, however many there are.
    QList<TAbteilung> Abteilungen;
    int iglob_Anzahl_Abteilungen = 0;
    int iglobZaehler_Abteilung = 0;
    QString sglobAktive_Abteilung;

    // Page of the board (0-based) and the employee keys of the shown department.
    int iglobSeite = 0;
    QStringList sglobMitarbeiter_IDs;

    int iWechselzeit = 0;
    int iTimer_PageWechsel = 0;
    bool bStart = false;

private:
    // Named as their members, for tests that find them by name.
    QTimer Timer2{this};
    // Runs only while the department list could not be loaded.
    QTimer TimerDB{this};

    // Controls, by the names tests and screenshots find them.
    QWidget* Panel1 = nullptr;
    TBild* Image5 = nullptr;
    QLabel* Label2 = nullptr;
    // "Offline – …": the server is away or results wait; hidden when all is forwarded.
    QLabel* lblOffline = nullptr;
    QStackedWidget* CardPanel = nullptr;
    QWidget* cardWelcome = nullptr;
    QWidget* cardMitarbeiter = nullptr;
    QLabel* lblWelcome = nullptr;
    // Why there are no department buttons, while there are none.
    QLabel* lblVerbindung = nullptr;
    TBild* Image1 = nullptr;
    QWidget* panMitarbeiter = nullptr;
    std::array<QWidget*, 24> panUser{};
    std::array<TKachelFoto*, 24> imgMitarbeiter{};
    std::array<QLabel*, 24> lblUser{};
    // The name search: the magnifier in the title bar, and the panel with the field and keyboard.
    TBild* btnSuche = nullptr;
    QWidget* panSuche = nullptr;
    QLabel* lblSuche = nullptr;
    QLineEdit* edtSuche = nullptr;
    QPushButton* btnSucheSchliessen = nullptr;
    TTouchKeyboard* TouchKeyboard2 = nullptr;
    QPushButton* btnSeite_Zurueck = nullptr;
    QPushButton* btnSeite_Vor = nullptr;
    QLabel* lblSeite = nullptr;
    QStackedWidget* cpAbteilungen = nullptr;
    QWidget* Card6 = nullptr;
    QWidget* Card12 = nullptr;
    std::array<TAbteilungsKnopf*, 6> btnAbteilung_A{};
    std::array<TAbteilungsKnopf*, 12> btnAbteilung_B{};
    QPushButton* btnMenu_Abt_Links = nullptr;
    QPushButton* btnMenu_Abt_Rechts = nullptr;
    // Asks for the site's PIN before the program ends, when one is set.
    TPinAbfrage* panPin = nullptr;
    QWidget* AppBar = nullptr;
    TBild* CloseButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* event) override;
    void FormResize() override;

private:
    void BaueOberflaeche();
    void BaueTitelleiste();
    void BaueKarten();
    void BaueKacheln();
    void BaueMenu();
    void BaueAppBar();

    void FormKeyDown(int taste);
    void AppBar_Ausrichten();
    void AppBar_Zeigen(int modus);

    void Lade_Abteilungen();
    void ZeigeVerbindungshinweis();
    void BauePinAbfrage();
    void BaueSuche();
    // Keys the board gets while no field has the focus: a reader's burst is a badge.
    void AusweisTaste(const QKeyEvent& taste);
    bool NimmtAusweis() const;
    // Shown while the department list is loaded from the server.
    void ZeigeSuchknopf();
    // Ends the search; zurueck puts back the card and department it was opened from.
    void SucheBeenden(bool zurueck);
    // The employee keys of the shown department, or of the search's names.
    QStringList MitarbeiterIds();
    // Runs danach at once, or after the right PIN when the site has set one.
    void MitPin(std::function<void()> danach);
    void Zeige_Abteilungen();
    void Leere_MA_Kacheln();
    // Loads tile n's contact; its photo starts decoding in fotos.
    void Lade_MA_Kachel(const QString& id, int n, TFotostapel& fotos);
    // Puts the decoded photos into their tiles, then warns of each unreadable one.
    void Zeige_Fotos(TFotostapel& fotos);
    // The board from the copy while the server does not answer.
    bool Lade_Abteilungen_Kopie();
    void Lade_MA_Abteilung_Kopie();
    void Lade_MA_Kachel_Kopie(const TKopiePerson& person, int n);
    void ZeigeOffline();
    // Offline starts the quiet search for the server.
    void SetzeOffline(bool offline);
    // Online again after the copy served: the menu and the receipt check from the server.
    void WiederOnline();
    void VersteckeKachel(int n);
    void ZeigeSeite(int seite);
    void ZeigeSeitenanzeige();
    QString Abteilungsname(int index) const;
    static void Einfaerben(QWidget* panel, const QColor& farbe);

    TFDM* FDaten = nullptr;
    TFMessung* FMessschirm = nullptr;
    bool FGezeigt = false;
    // The last department load: whether it worked, and why not.
    bool FAbteilungenGeladen = false;
    bool FKeineVerbindung = false;
    QString FAbteilungsfehler;
    TWiederholung FWiederholung;
    TJournal* FJournal = nullptr;
    TTafelkopie* FKopie = nullptr;
    TAuffrischen FAuffrischen;
    bool FOffline = false;
    int FWartend = 0;
    // Employees of the shown page with a pass in the journal today, not yet on the server.
    QSet<QString> FHeuteBestanden;
    TEndePin FEndePin;
    TAusweisleser FAusweisleser;
    TFKurzmeldung* FKurzmeldung = nullptr;
    bool FSuche = false;
    // Where the search was opened: the board with its department and page, or the welcome card.
    struct TVorSuche
    {
        bool Tafel = false;
        QString Abteilung;
        int Seite = 0;
    } FVorSuche;
};
