// Data module of the contact records.
#include "ufdmKontakt.h"

using namespace Qt::Literals::StringLiterals;

TfdmKontakt::TfdmKontakt(TDBVerbindung& verbindung, QObject* parent)
    : QObject(parent), quKontakt(verbindung, u"quKontakt"_s),
      quSpeichern(verbindung, u"quSpeichern"_s)
{
    setObjectName(u"fdmKontakt"_s);
}
