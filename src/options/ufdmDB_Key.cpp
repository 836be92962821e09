// Data module of the keyed option store.
#include "ufdmDB_Key.h"

using namespace Qt::Literals::StringLiterals;

TfdmDB_Key::TfdmDB_Key(TDBVerbindung& verbindung, QObject* parent)
    : QObject(parent), quDB_Key(verbindung, u"quDB_Key"_s),
      quSpeichern(verbindung, u"quSpeichern"_s)
{
    setObjectName(u"fdmDB_Key"_s);
}
