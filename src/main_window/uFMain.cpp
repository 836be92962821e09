// Frame and start sequence of the main window.
#include "uFMain.h"

#include "uFDM.h"
#include "uMeldung.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TFMain* FMain = nullptr;

namespace {

constexpr int kTitelHoehe = 95;
constexpr int kMenuHoehe = 138;
constexpr int kPfeilBreite = 100;
constexpr int kWillkommenOben = 150;
constexpr int kWillkommenBreite = 1700;
constexpr int kWillkommenHoehe = 106;
constexpr int kSekundenBisWillkommen = 30;

template <typename T> T* Benannt(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

TFMain::TFMain(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint)
{
    setObjectName(u"FMain"_s);
    BaueOberflaeche();

    MA_Kontakt.Init(u"Mitarbeiter"_s);
    iWechselzeit = kSekundenBisWillkommen;
    iTimer_PageWechsel = kSekundenBisWillkommen;
    bStart = true;
    CardPanel->setCurrentWidget(cardWelcome);
}

void TFMain::BaueOberflaeche()
{
    setStyleSheet(u"#FMain { background-color: black; }"_s);
    setAttribute(Qt::WA_StyledBackground);
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(0, 0, 0, 0);
    spalte->setSpacing(0);

    auto* Panel1 = Benannt(new QWidget(this), u"Panel1"_s);
    Panel1->setFixedHeight(kTitelHoehe);
    auto* Label2 = Benannt(new QLabel(u"Teststation Personenerdung"_s, Panel1), u"Label2"_s);
    Label2->setStyleSheet(
        u"font-family: Verdana; font-weight: bold; font-size: 37px; color: #3c78ff;"_s);
    auto* titelZeile = new QHBoxLayout(Panel1);
    titelZeile->addWidget(Label2, 0, Qt::AlignCenter);
    spalte->addWidget(Panel1);

    CardPanel = Benannt(new QStackedWidget(this), u"CardPanel"_s);
    cardWelcome = Benannt(new QWidget(CardPanel), u"cardWelcome"_s);
    lblWelcome = Benannt(new QLabel(cardWelcome), u"lblWelcome"_s);
    lblWelcome->setAlignment(Qt::AlignCenter);
    lblWelcome->setWordWrap(true);
    lblWelcome->setStyleSheet(u"font-family: 'Segoe UI'; font-size: 80px; color: white;"_s);
    lblWelcome->setFixedWidth(kWillkommenBreite);
    lblWelcome->setMinimumHeight(kWillkommenHoehe);
    auto* willkommen = new QVBoxLayout(cardWelcome);
    willkommen->setContentsMargins(0, kWillkommenOben, 0, 0);
    willkommen->addWidget(lblWelcome, 0, Qt::AlignHCenter | Qt::AlignTop);
    willkommen->addStretch();
    cardMitarbeiter = Benannt(new QWidget(CardPanel), u"cardMitarbeiter"_s);
    Benannt(new QWidget(cardMitarbeiter), u"panMitarbeiter"_s);
    CardPanel->addWidget(cardWelcome);
    CardPanel->addWidget(cardMitarbeiter);
    spalte->addWidget(CardPanel, 1);

    auto* menuLeiste = new QHBoxLayout;
    menuLeiste->setSpacing(0);
    auto* Panel3 = Benannt(new QWidget(this), u"Panel3"_s);
    auto* Panel2 = Benannt(new QWidget(this), u"Panel2"_s);
    btnMenu_Abt_Links = Benannt(new QPushButton(u"<<"_s, Panel3), u"btnMenu_Abt_Links"_s);
    btnMenu_Abt_Rechts = Benannt(new QPushButton(u">>"_s, Panel2), u"btnMenu_Abt_Rechts"_s);
    for (auto [panel, knopf] :
         {std::pair{Panel3, btnMenu_Abt_Links}, {Panel2, btnMenu_Abt_Rechts}}) {
        panel->setFixedWidth(kPfeilBreite);
        auto* l = new QVBoxLayout(panel);
        l->setContentsMargins(0, 0, 0, 0);
        knopf->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        l->addWidget(knopf);
    }
    cpAbteilungen = Benannt(new QStackedWidget(this), u"cpAbteilungen"_s);
    Card6 = Benannt(new QWidget(cpAbteilungen), u"Card6"_s);
    Card12 = Benannt(new QWidget(cpAbteilungen), u"Card12"_s);
    cpAbteilungen->addWidget(Card6);
    cpAbteilungen->addWidget(Card12);
    menuLeiste->addWidget(Panel3);
    menuLeiste->addWidget(cpAbteilungen, 1);
    menuLeiste->addWidget(Panel2);
    auto* menuStreifen = new QWidget(this);
    menuStreifen->setFixedHeight(kMenuHoehe);
    menuStreifen->setLayout(menuLeiste);
    menuLeiste->setContentsMargins(0, 0, 0, 0);
    spalte->addWidget(menuStreifen);
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
    FDM->MitDB_Verbinden();
    if (FDM->EinstellungenBeschaedigt()) {
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

    if (Mandant().isEmpty())
        Meldung::Zeigen(Meldung::Art::Warnung,
                        u"Bitte tragen Sie den Mandantenname in der Einstellungen.ini ein!"_s);

    lblWelcome->setText(Werbung_Welcome());
}
