// The error overlay window; created hidden at start.
#include "uFehlermeldung.h"

using namespace Qt::Literals::StringLiterals;

TFehlermeldung* Fehlermeldung = nullptr;

TFehlermeldung::TFehlermeldung(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setObjectName(u"Fehlermeldung"_s);
}
