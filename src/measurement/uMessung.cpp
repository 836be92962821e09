// The measurement window; created hidden at start.
#include "uMessung.h"

#include <QCloseEvent>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

TFMessung* FMessung = nullptr;

namespace {

constexpr int kZyklusendeMs = 2000;

} // namespace

TFMessung::TFMessung(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint)
{
    setObjectName(u"FMessung"_s);
    setStyleSheet(u"background-color: black;"_s);
    Timer1.setInterval(kZyklusendeMs);
    connect(&Timer1, &QTimer::timeout, this, &TFMessung::Timer1Timer);
    Timer1.start();
}

void TFMessung::Start(int Mitarbeiter_ID)
{
    FMitarbeiter_ID = Mitarbeiter_ID;
    if (const QScreen* bildschirm = screen())
        setGeometry(bildschirm->geometry());
    showFullScreen();
    raise();
    activateWindow();
    // Until the tester cycle runs here, the screen returns to the board after its countdown.
    Timer1.start(kZyklusendeMs);
}

void TFMessung::Timer1Timer()
{
    Timer1.stop();
    if (FTafel.Lade_MA_Abteilung)
        FTafel.Lade_MA_Abteilung(QString());
    close();
}

void TFMessung::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    FormClose();
}

void TFMessung::FormClose()
{
    if (FTafel.Timer2Starten)
        FTafel.Timer2Starten();
}
