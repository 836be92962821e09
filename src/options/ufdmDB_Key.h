// Data module of the keyed option store; holds its queries over the one connection.
#pragma once

#include "DBAbfrage.h"

#include <QObject>

class TDBVerbindung;

class TfdmDB_Key : public QObject
{
    Q_OBJECT

public:
    explicit TfdmDB_Key(TDBVerbindung& verbindung, QObject* parent = nullptr);

    // Option look-ups; stays open with its last result.
    TDBAbfrage quDB_Key;
    // Option inserts and updates.
    TDBAbfrage quSpeichern;
};
