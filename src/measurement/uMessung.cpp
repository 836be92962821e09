// The measurement window; created hidden at start.
#include "uMessung.h"

using namespace Qt::Literals::StringLiterals;

TFMessung* FMessung = nullptr;

TFMessung::TFMessung(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint)
{
    setObjectName(u"FMessung"_s);
    setStyleSheet(u"background-color: black;"_s);
}
