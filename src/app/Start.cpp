// Steps of the start that precede the window set.
#include "Start.h"

#include "Meldungsfenster.h"
#include "Stil.h"

#include <QApplication>

using namespace Qt::Literals::StringLiterals;

void BereiteAnwendungVor()
{
    // Taps that a control does not handle as touch reach it as mouse clicks.
    QApplication::setAttribute(Qt::AA_SynthesizeMouseForUnhandledTouchEvents, true);
    InstalliereMeldungsfenster();
    WendeDunklenStilAn();
    QApplication::setApplicationName(u"Teststation Personenerdung"_s);
    QApplication::setApplicationDisplayName(u"Teststation Personenerdung"_s);
}
