// Data module of the contact records; holds the contact queries over the one connection.
#pragma once

#include "DBAbfrage.h"

#include <QObject>

class TDBVerbindung;

class TfdmKontakt : public QObject
{
    Q_OBJECT

public:
    explicit TfdmKontakt(TDBVerbindung& verbindung, QObject* parent = nullptr);

    // The contact search and its current row (shared by every contact record).
    TDBAbfrage quKontakt;
    // Contact inserts, updates and key read-back.
    TDBAbfrage quSpeichern;
};
