// Frame, start sequence and layout of the main window; the board's loading is in uFMainTafel.
#include "uFMain.h"

#include "Bedienelemente.h"
#include "Bilder.h"
#include "GestenFilter.h"
#include "PinAbfrage.h"
#include "Tafel.h"
#include "TouchKeyboard.h"
#include "uFDM.h"
#include "uMeldung.h"
#include "uMessung.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStackedWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kTitelHoehe = 95;
constexpr int kKartenHoehe = 860;
constexpr int kMenuOben = kTitelHoehe + kKartenHoehe;
constexpr int kMenuHoehe = 1080 - kMenuOben;
constexpr int kPfeilPanelBreite = 100;
constexpr int kAppBarHoehe = 75;
constexpr int kSchliessenBreite = 60;
constexpr int kSekundenBisWillkommen = 30;
constexpr int kTickMs = 1000;

constexpr int kKachelSpalten[8] = {20, 255, 490, 725, 960, 1195, 1430, 1664};
constexpr int kFotoSpalten[8] = {35, 270, 505, 740, 975, 1210, 1445, 1680};
constexpr int kNamenSpalten[8] = {35, 270, 505, 740, 975, 1210, 1445, 1666};
constexpr int kKachelZeilen[3] = {11, 296, 581};
constexpr int kFotoZeilen[3] = {20, 306, 591};
constexpr int kNamenZeilen[3] = {260, 545, 829};
constexpr int kKnopfSpalten[6] = {39, 317, 595, 873, 1151, 1429};

} // namespace

TFMain::TFMain(QWidget* parent) : TBildschirm(u"FMain"_s, Qt::FramelessWindowHint, parent)
{
    // Never shown in the frameless window; the tester simulator finds the station by it.
    setWindowTitle(u"Teststation Personenerdung"_s);
    BaueOberflaeche();

    iWechselzeit = kSekundenBisWillkommen;
    iTimer_PageWechsel = kSekundenBisWillkommen;
    bStart = true;
    CardPanel->setCurrentWidget(cardWelcome);

    Timer2.setObjectName(u"Timer2"_s);
    Timer2.setInterval(kTickMs);
    connect(&Timer2, &QTimer::timeout, this, &TFMain::Timer2Timer);
    Timer2.start();
    TimerDB.setObjectName(u"TimerDB"_s);
    TimerDB.setInterval(kTickMs);
    connect(&TimerDB, &QTimer::timeout, this, &TFMain::TimerDBTimer);

    // Keys reach the window before the focused control: the filter sees them first.
    qApp->installEventFilter(this);
    connect(GestureManager1(), &TGestenFilter::Geste, this, [this](TGeste geste, QWidget*) {
        if (geste == TGeste::Quadrat || geste == TGeste::Schnoerkel)
            actCloseExecute();
        else
            FormGesture();
    });
    connect(GestureManager1(), &TGestenFilter::Wischen, this, &TFMain::Wischen);
}

TFMain::~TFMain()
{
    qApp->removeEventFilter(this);
}

void TFMain::BaueOberflaeche()
{
    // Everything but the app bar sits on the stage, which is scaled as a whole.
    imglWorstCase = {Bilder::Portraet(0), Bilder::Portraet(1), Bilder::Portraet(2)};
    BaueTitelleiste();
    BaueKarten();
    BaueMenu();
    BauePinAbfrage();
    BaueSuche();
    BaueAppBar();
}

void TFMain::BaueTitelleiste()
{
    Panel1 = Benannt(new QWidget(Buehne()), u"Panel1"_s);
    Setze(Panel1, {0, 0, kEntwurf.width(), kTitelHoehe});
    Image5 = Benannt(new TBild(Panel1), u"Image5"_s);
    Image5->SetzeSvg(Bilder::Logo);
    Setze(Image5, {12, 12, 400, 72});
    Label2 = Benannt(new QLabel(u"Teststation Personenerdung"_s, Panel1), u"Label2"_s);
    QFont titel(u"Verdana"_s);
    titel.setBold(true);
    Label2->setFont(titel);
    SetzeTextfarbe(Label2, QColor(0x3c, 0x78, 0xff));
    Setze(Label2, {675, 30, 760, 50}, 37);
    // Between the logo and the title, where it never covers the paging.
    lblOffline = Benannt(new QLabel(Panel1), u"lblOffline"_s);
    QFont hinweis(u"Verdana"_s);
    hinweis.setBold(true);
    lblOffline->setFont(hinweis);
    lblOffline->setWordWrap(true);
    lblOffline->setAlignment(Qt::AlignCenter);
    SetzeTextfarbe(lblOffline, QColor(0xff, 0xb0, 0x00));
    Setze(lblOffline, {420, 8, 250, 80}, 17);
    lblOffline->hide();

    // Paging of a department with more employees than tiles.
    btnSeite_Zurueck = Benannt(new QPushButton(u"◀"_s, Panel1), u"btnSeite_Zurueck"_s);
    lblSeite = Benannt(new QLabel(Panel1), u"lblSeite"_s);
    lblSeite->setAlignment(Qt::AlignCenter);
    btnSeite_Vor = Benannt(new QPushButton(u"▶"_s, Panel1), u"btnSeite_Vor"_s);
    Setze(btnSeite_Zurueck, {1480, 12, 100, 71}, 30);
    Setze(lblSeite, {1585, 12, 200, 71}, 26);
    Setze(btnSeite_Vor, {1790, 12, 100, 71}, 30);
    connect(btnSeite_Zurueck, &QPushButton::clicked, this, &TFMain::btnSeite_ZurueckClick);
    connect(btnSeite_Vor, &QPushButton::clicked, this, &TFMain::btnSeite_VorClick);
    for (QWidget* w : {static_cast<QWidget*>(btnSeite_Zurueck), static_cast<QWidget*>(lblSeite),
                       static_cast<QWidget*>(btnSeite_Vor)})
        w->hide();
}

void TFMain::BauePinAbfrage()
{
    // Over the cards, where the measurement screen shows its guest keyboard.
    panPin = new TPinAbfrage(Buehne());
    Setze(panPin, {160, kTitelHoehe + 40, 1601, 689});
    Setze(panPin->lblPin, {16, 12, 1569, 40}, 24);
    Setze(panPin->edPin, {16, 60, 393, 46}, 32);
    Setze(panPin->btnAbbrechen, {1601 - 16 - 260, 56, 260, 54}, 26);
    Setze(panPin->TouchKeyboard1, {16, 140, 1569, 521});
}

void TFMain::BaueSuche()
{
    // Left of the paging, where the title bar has room on every card.
    btnSuche = Benannt(new TBild(Panel1), u"btnSuche"_s);
    btnSuche->SetzeSvg(Bilder::Lupe);
    Setze(btnSuche, {1370, 12, 90, 71});
    btnSuche->hide();
    connect(btnSuche, &TBild::Geklickt, this, &TFMain::btnSucheClick);

    // Over the board's third row and the department strip; the tiles above show the matches.
    panSuche = Benannt(new QWidget(Buehne()), u"panSuche"_s);
    panSuche->setAutoFillBackground(true);
    Setze(panSuche, {0, kTitelHoehe + 590, kEntwurf.width(), 1080 - kTitelHoehe - 590});
    lblSuche = Benannt(new QLabel(u"Vor- oder Nachname:"_s, panSuche), u"lblSuche"_s);
    Setze(lblSuche, {40, 30, 560, 40}, 26);
    edtSuche = Benannt(new QLineEdit(panSuche), u"edtSuche"_s);
    edtSuche->setMaxLength(100);
    Setze(edtSuche, {40, 80, 560, 64}, 36);
    btnSucheSchliessen =
        Benannt(new QPushButton(u"Suche schließen"_s, panSuche), u"btnSucheSchliessen"_s);
    Setze(btnSucheSchliessen, {40, 180, 560, 80}, 28);
    TouchKeyboard2 = Benannt(new TTouchKeyboard(panSuche), u"TouchKeyboard2"_s);
    Setze(TouchKeyboard2, {660, 8, 1140, 379});
    panSuche->hide();
    connect(edtSuche, &QLineEdit::textChanged, this, &TFMain::SucheAendern);
    connect(btnSucheSchliessen, &QPushButton::clicked, this, &TFMain::btnSucheSchliessenClick);
}

void TFMain::BaueKarten()
{
    CardPanel = Benannt(new QStackedWidget(Buehne()), u"CardPanel"_s);
    Setze(CardPanel, {0, kTitelHoehe, kEntwurf.width(), kKartenHoehe});

    cardWelcome = Benannt(new QWidget(CardPanel), u"cardWelcome"_s);
    lblWelcome = Benannt(new QLabel(cardWelcome), u"lblWelcome"_s);
    lblWelcome->setAlignment(Qt::AlignCenter);
    SetzeTextfarbe(lblWelcome, Qt::white);
    lblWelcome->setFont(QFont(u"Segoe UI"_s));
    Setze(lblWelcome, {100, 150, 1700, 106}, 80);
    lblVerbindung = Benannt(new QLabel(cardWelcome), u"lblVerbindung"_s);
    lblVerbindung->setAlignment(Qt::AlignCenter);
    lblVerbindung->setWordWrap(true);
    SetzeTextfarbe(lblVerbindung, Qt::yellow);
    lblVerbindung->setFont(QFont(u"Verdana"_s));
    Setze(lblVerbindung, {100, 792, 1700, 66}, 22);
    lblVerbindung->hide();
    Image1 = Benannt(new TBild(cardWelcome), u"Image1"_s);
    Image1->SetzeSvg(Bilder::EsdSchutzzone);
    Setze(Image1, {740, 341, 433, 447});

    cardMitarbeiter = Benannt(new QWidget(CardPanel), u"cardMitarbeiter"_s);
    panMitarbeiter = Benannt(new QWidget(cardMitarbeiter), u"panMitarbeiter"_s);
    Setze(panMitarbeiter, {0, 0, kEntwurf.width(), kKartenHoehe});
    BaueKacheln();

    CardPanel->addWidget(cardWelcome);
    CardPanel->addWidget(cardMitarbeiter);
    connect(CardPanel, &QStackedWidget::currentChanged, this, &TFMain::ZeigeSeitenanzeige);
}

void TFMain::BaueKacheln()
{
    for (int i = 0; i < Tafel::kKachelnJeSeite; ++i) {
        const int zeile = i / 8;
        const int spalte = i % 8;
        const QString nummer = QString::number(i + 1);
        QWidget* panel = Benannt(new QWidget(panMitarbeiter), u"panUser"_s + nummer);
        panel->setAutoFillBackground(true);
        Einfaerben(panel, Tafel::kGruen);
        Setze(panel, {kKachelSpalten[spalte], kKachelZeilen[zeile], 210, 246});
        auto* foto = Benannt(new TKachelFoto(panMitarbeiter), u"imgMitarbeiter"_s + nummer);
        Setze(foto, {kFotoSpalten[spalte], kFotoZeilen[zeile], 180, 225});
        connect(foto, &TBild::Geklickt, this, [this, foto] { actMessmodusExecute(foto); });
        auto* name = Benannt(new TNamensLabel(panMitarbeiter), u"lblUser"_s + nummer);
        SetzeTextfarbe(name, Qt::white);
        Setze(name, {kNamenSpalten[spalte], kNamenZeilen[zeile], 208, 25}, 19);
        panel->hide();
        foto->hide();
        name->hide();
        panUser[size_t(i)] = panel;
        imgMitarbeiter[size_t(i)] = foto;
        lblUser[size_t(i)] = name;
    }
}

void TFMain::BaueMenu()
{
    auto* Panel3 = Benannt(new QWidget(Buehne()), u"Panel3"_s);
    Setze(Panel3, {0, kMenuOben, kPfeilPanelBreite, kMenuHoehe});
    auto* Panel2 = Benannt(new QWidget(Buehne()), u"Panel2"_s);
    Setze(Panel2, {kEntwurf.width() - kPfeilPanelBreite, kMenuOben, kPfeilPanelBreite, kMenuHoehe});
    const QRect pfeil{(kPfeilPanelBreite - 73) / 2, (kMenuHoehe - 90) / 2, 73, 90};
    btnMenu_Abt_Links = Benannt(new QPushButton(u"<<"_s, Panel3), u"btnMenu_Abt_Links"_s);
    btnMenu_Abt_Rechts = Benannt(new QPushButton(u">>"_s, Panel2), u"btnMenu_Abt_Rechts"_s);
    Setze(btnMenu_Abt_Links, pfeil, 24);
    Setze(btnMenu_Abt_Rechts, pfeil, 24);
    connect(btnMenu_Abt_Links, &QPushButton::clicked, this, &TFMain::btnMenu_Abt_LinksClick);
    connect(btnMenu_Abt_Rechts, &QPushButton::clicked, this, &TFMain::btnMenu_Abt_RechtsClick);

    cpAbteilungen = Benannt(new QStackedWidget(Buehne()), u"cpAbteilungen"_s);
    Setze(cpAbteilungen,
          {kPfeilPanelBreite, kMenuOben, kEntwurf.width() - 2 * kPfeilPanelBreite, kMenuHoehe});
    Card6 = Benannt(new QWidget(cpAbteilungen), u"Card6"_s);
    Card12 = Benannt(new QWidget(cpAbteilungen), u"Card12"_s);
    cpAbteilungen->addWidget(Card6);
    cpAbteilungen->addWidget(Card12);

    const auto knopf = [this](QWidget* karte, const QString& name, QRect entwurf) {
        auto* k = Benannt(new TAbteilungsKnopf(karte), name);
        Setze(k, entwurf, 19);
        k->hide();
        connect(k, &QPushButton::clicked, this, [this, k] { actLade_MitarbeiterExecute(k); });
        return k;
    };
    for (int i = 0; i < 6; ++i)
        btnAbteilung_A[size_t(i)] = knopf(Card6, u"btnAbteilung_A"_s + QString::number(i + 1),
                                          {kKnopfSpalten[i], 32, 250, 71});
    for (int i = 0; i < 12; ++i)
        btnAbteilung_B[size_t(i)] = knopf(Card12, u"btnAbteilung_B"_s + QString::number(i + 1),
                                          {kKnopfSpalten[i % 6], i < 6 ? 14 : 71, 250, 50});
}

void TFMain::BaueAppBar()
{
    // Belongs to the window, not the stage: it always spans the real bottom edge.
    AppBar = Benannt(new TGrund(QColor(0x20, 0x20, 0x20), this), u"AppBar"_s);
    CloseButton = Benannt(new TBild(AppBar), u"CloseButton"_s);
    CloseButton->SetzeSvg(Bilder::Schliessen);
    connect(CloseButton, &TBild::Geklickt, this, &TFMain::CloseButtonClick);
    AppBar->hide();
}

void TFMain::Verbinden(TFDM& daten, TfdmKontakt& kontakte, TFMessung& messung)
{
    FDaten = &daten;
    FMessschirm = &messung;
    MA_Kontakt = std::make_unique<TKontakt>(kontakte);
    MA_Kontakt->Init(u"Mitarbeiter"_s);
}

void TFMain::SetzeKopie(TJournal* journal, TTafelkopie* kopie, TAuffrischen auffrischen)
{
    FJournal = journal;
    FKopie = kopie;
    FAuffrischen = std::move(auffrischen);
}

void TFMain::SetzeWartend(int anzahl)
{
    FWartend = anzahl;
    ZeigeOffline();
}

void TFMain::ServerErreichbar(bool erreichbar)
{
    if (erreichbar && FOffline)
        WiederOnline();
}

void TFMain::SetzeOffline(bool offline)
{
    if (offline == FOffline)
        return;
    FOffline = offline;
    ZeigeOffline();
    ZeigeSuchknopf();
    if (offline && !TimerDB.isActive()) {
        // The copy serves; the server is looked for quietly, as at a start without it.
        FWiederholung.Beginnen();
        TimerDB.start();
    }
}

void TFMain::ZeigeOffline()
{
    const QString text = Tafel::Uebertragungshinweis(FOffline, FWartend);
    lblOffline->setText(text);
    lblOffline->setVisible(!text.isEmpty());
}

void TFMain::ZeigeVollbild()
{
    if (const QScreen* bildschirm = screen())
        setGeometry(bildschirm->geometry());
    showFullScreen();
}

void TFMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (FGezeigt)
        return;
    FGezeigt = true;
    // Queued, so the start messages run in the message loop once the window is on screen.
    QMetaObject::invokeMethod(this, &TFMain::FormShow, Qt::QueuedConnection);
}

void TFMain::FormShow()
{
    FDaten->MitDB_Verbinden();
    Bilder::SetzeLogo(Image5, FDaten->Einstellungsort());
    FEndePin = TEndePin::AusEinstellung(Beenden_PIN());
    if (FDaten->EinstellungenBeschaedigt()) {
        // Closing the main window ends the program, as the message announced.
        iEndeStatus = kEndeBeschaedigteEinstellungen;
        close();
        return;
    }

    if (bStart)
        CardPanel->setCurrentWidget(cardWelcome);
    if (CardPanel->currentWidget() == cardWelcome) {
        iTimer_PageWechsel = iWechselzeit;
        if (QWidget* fokus = focusWidget())
            fokus->clearFocus();
    }

    const bool zwoelf = Menu_AnzAbteilungen() == u"12"_s;
    cpAbteilungen->setCurrentWidget(zwoelf ? Card12 : Card6);
    btnMenu_Abt_Links->setVisible(!zwoelf);
    btnMenu_Abt_Rechts->setVisible(!zwoelf);

    // Without readable settings the tenant is unknown too: that box would only repeat the cause.
    if (Mandant().isEmpty() && FDaten->EinstellungenOK())
        Meldung::Zeigen(Meldung::Art::Warnung,
                        u"Bitte tragen Sie den Mandantenname in der Einstellungen.ini ein!"_s);

    lblWelcome->setText(Werbung_Welcome());
    Lade_Abteilungen();
    if (!FDaten->EinstellungenOK()) {
        lblVerbindung->setText(Wiederholung::HinweisEinstellungen());
        lblVerbindung->show();
    } else if (!FAbteilungenGeladen || FOffline) {
        // After a power cut the kiosk often starts before the network or the server. With the
        // board's copy the station works meanwhile and looks for the server quietly.
        FWiederholung.Beginnen();
        TimerDB.start();
        ZeigeVerbindungshinweis();
    } else {
        FMessschirm->QuittungenPruefen();
    }
}

void TFMain::TimerDBTimer()
{
    if (!FWiederholung.Tick()) {
        ZeigeVerbindungshinweis();
        return;
    }
    Lade_Abteilungen();
    if (!FAbteilungenGeladen || FOffline) {
        FWiederholung.Fehlgeschlagen();
        ZeigeVerbindungshinweis();
        return;
    }
    FWiederholung.Beenden();
    TimerDB.stop();
    lblVerbindung->hide();
    FMessschirm->QuittungenPruefen();
}

void TFMain::ZeigeVerbindungshinweis()
{
    // The title bar says it while the copy serves; the welcome card stays as it is.
    if (FOffline) {
        lblVerbindung->hide();
        return;
    }
    lblVerbindung->setText(
        Wiederholung::Hinweis(FKeineVerbindung, FWiederholung.Restsekunden(), FAbteilungsfehler));
    lblVerbindung->show();
}

void TFMain::FormResize()
{
    // The app bar spans the real width, outside the stage.
    AppBar_Ausrichten();
}

void TFMain::AppBar_Ausrichten()
{
    const int hoehe = Massstab().Skaliert(kAppBarHoehe);
    AppBar->setGeometry(0, height() - hoehe, width(), hoehe);
    const int breite = Massstab().Skaliert(kSchliessenBreite);
    CloseButton->setGeometry(width() - breite, 0, breite, hoehe);
}

void TFMain::AppBar_Zeigen(int modus)
{
    if (modus == -1)
        modus = AppBar->isHidden() ? 1 : 0;
    if (modus != 0) {
        AppBar->show();
        AppBar->raise();
    } else {
        AppBar->hide();
    }
}

bool TFMain::eventFilter(QObject* objekt, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && objekt->isWidgetType()) {
        // A key the focused control ignores is offered again to each parent; act on the first
        // offer only, which goes where the window delivers keys.
        const auto* widget = static_cast<QWidget*>(objekt);
        if (widget->window() == this && widget == (focusWidget() ? focusWidget() : this)) {
            AusweisTaste(*static_cast<QKeyEvent*>(event));
            FormKeyDown(static_cast<QKeyEvent*>(event)->key());
        }
    }
    return false;
}

void TFMain::FormKeyDown(int taste)
{
    AppBar_Zeigen(taste == Qt::Key_Escape ? -1 : 0);
}

void TFMain::FormGesture()
{
    AppBar_Zeigen(0);
}

void TFMain::CloseButtonClick()
{
    MitPin([] { QCoreApplication::exit(0); });
}

void TFMain::actCloseExecute()
{
    MitPin([this] {
        if (Meldung::Fragen(u"Wollen Sie das Programm wirklich beenden?"_s))
            close();
    });
}

void TFMain::MitPin(std::function<void()> danach)
{
    if (!FEndePin.Gesetzt()) {
        danach();
        return;
    }
    iTimer_PageWechsel = iWechselzeit;
    panPin->Fragen(&FEndePin, std::move(danach));
}

void TFMain::Timer2Starten()
{
    if (!Timer2.isActive())
        Timer2.start();
}

void TFMain::Timer2Timer()
{
    if (--iTimer_PageWechsel > 0)
        return;
    // An idle search goes back to where it was opened; a board then counts down once more.
    if (FSuche) {
        const bool vonTafel = FVorSuche.Tafel;
        SucheBeenden(true);
        if (vonTafel) {
            iTimer_PageWechsel = iWechselzeit;
            return;
        }
    }
    CardPanel->setCurrentWidget(cardWelcome);
    iTimer_PageWechsel = iWechselzeit;
    Timer2.stop();
    if (QWidget* fokus = QApplication::focusWidget())
        fokus->clearFocus();
    if (QWidget* fokus = focusWidget())
        fokus->clearFocus();
}
