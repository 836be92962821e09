// The main window: title bar, welcome card, employee board and department menu strip.
#pragma once

#include "Einstellungen.h"
#include "uKontakt.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QStackedWidget;

class TFMain : public QWidget, public TMenuWerte
{
    Q_OBJECT

public:
    // Exit code of a run ended because Einstellungen.ini failed its integrity check.
    static constexpr int kEndeBeschaedigteEinstellungen = 2;

    explicit TFMain(QWidget* parent = nullptr);

    // Shows the window borderless over the whole screen.
    void ZeigeVollbild();

    // The start sequence; runs once, when the window is first shown.
    void FormShow();

    // Exit status of the program; set where a run ends because of a fault.
    int iEndeStatus = 0;

    // The employee record behind every tile of the board.
    TKontakt MA_Kontakt;

    int iWechselzeit = 0;
    int iTimer_PageWechsel = 0;
    bool bStart = false;

    QStackedWidget* CardPanel = nullptr;
    QWidget* cardWelcome = nullptr;
    QWidget* cardMitarbeiter = nullptr;
    QLabel* lblWelcome = nullptr;
    QStackedWidget* cpAbteilungen = nullptr;
    QWidget* Card6 = nullptr;
    QWidget* Card12 = nullptr;
    QPushButton* btnMenu_Abt_Links = nullptr;
    QPushButton* btnMenu_Abt_Rechts = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BaueOberflaeche();

    bool FGezeigt = false;
};

// Program-wide reference, set while the window set exists.
extern TFMain* FMain;
