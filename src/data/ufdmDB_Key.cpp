// Data module of the keyed option store.
#include "ufdmDB_Key.h"

using namespace Qt::Literals::StringLiterals;

TfdmDB_Key* fdmDB_Key = nullptr;

TfdmDB_Key::TfdmDB_Key(QObject* parent) : QObject(parent)
{
    setObjectName(u"fdmDB_Key"_s);
}
