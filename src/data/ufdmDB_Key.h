// Data module of the keyed option store; holds its queries over the one connection.
#pragma once

#include <QObject>

class TfdmDB_Key : public QObject
{
    Q_OBJECT

public:
    explicit TfdmDB_Key(QObject* parent = nullptr);
};

// Program-wide reference, set while the window set exists.
extern TfdmDB_Key* fdmDB_Key;
