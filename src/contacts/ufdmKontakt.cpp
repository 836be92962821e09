// Data module of the contact records.
#include "ufdmKontakt.h"

using namespace Qt::Literals::StringLiterals;

TfdmKontakt* fdmKontakt = nullptr;

TfdmKontakt::TfdmKontakt(QObject* parent) : QObject(parent)
{
    setObjectName(u"fdmKontakt"_s);
}
