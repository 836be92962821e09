// The forwarder in a thread of its own, so that a server that does not answer never holds up the
// screen: a connect may wait seconds and a lost link until its answer time-out.
#pragma once

#include "Weiterleitung.h"

#include <QObject>
#include <QThread>

class TJournal;

class TWeiterleitungsThread : public QObject
{
    Q_OBJECT

public:
    // Starts the thread and a first round; the journal outlives this object.
    TWeiterleitungsThread(TJournal& journal, TWeiterleitung::TEinrichten einrichten,
                          QObject* parent = nullptr);
    // Ends the thread after the round in progress; the forwarder and its connection are
    // destroyed in it.
    ~TWeiterleitungsThread() override;

    TWeiterleitungsThread(const TWeiterleitungsThread&) = delete;
    TWeiterleitungsThread& operator=(const TWeiterleitungsThread&) = delete;

    // A new result was journaled: a round as soon as the thread is free. Returns at once.
    void Anstossen();

signals:
    // The results still waiting after each round, delivered in this object's thread.
    void Wartend(int anzahl);

private:
    QThread FThread;
    TWeiterleitung* FWeiterleitung; // lives in FThread, deleted there when it finishes
};
