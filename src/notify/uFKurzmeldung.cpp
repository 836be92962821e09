// The short message window; created hidden at start.
#include "uFKurzmeldung.h"

using namespace Qt::Literals::StringLiterals;

TFKurzmeldung* FKurzmeldung = nullptr;

TFKurzmeldung::TFKurzmeldung(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setObjectName(u"FKurzmeldung"_s);
}
