// The forwarder in a thread of its own, so that a server that does not answer never holds up the
// screen: a connect may wait seconds and a lost link until its answer time-out.
#pragma once

#include "Weiterleitung.h"

#include <QObject>
#include <QThread>

#include <condition_variable>
#include <mutex>
#include <optional>

class TJournal;

class TWeiterleitungsThread : public QObject
{
    Q_OBJECT

public:
    // How long the screen waits for a new result's answer before it says the result waits.
    static constexpr int kWartezeitMs = 1000;
    // The first round after start: leftovers from the last run need not compete with the start.
    static constexpr int kErsteRundeMs = 1500;

    // Starts the thread and a first round; the journal outlives this object.
    TWeiterleitungsThread(TJournal& journal, TWeiterleitung::TEinrichten einrichten,
                          int aufbewahrungTage = TJournal::kAufbewahrungTage,
                          QObject* parent = nullptr);
    // Ends the thread after the round in progress; the forwarder and its connection are
    // destroyed in it.
    ~TWeiterleitungsThread() override;

    TWeiterleitungsThread(const TWeiterleitungsThread&) = delete;
    TWeiterleitungsThread& operator=(const TWeiterleitungsThread&) = delete;

    // A new result was journaled: a round as soon as the thread is free. Returns at once.
    void Anstossen();
    // A round for the journaled result with this identity, waited for at most `wartezeitMs`:
    // how it went, or nullopt when the round did not get to it in time (it then goes on).
    // Called from one thread at a time.
    std::optional<Buchung::TErgebnis> Senden(const QString& kennung,
                                             int wartezeitMs = kWartezeitMs);

signals:
    // The results still waiting after each round, delivered in this object's thread.
    void Wartend(int anzahl);
    // The server refused a result for good: "number:message" for an administrator.
    void Abgewiesen(const QString& kennung, const QString& grund);
    void Erreichbar(bool erreichbar);

private:
    // What the waiting caller learns from the forwarder's thread.
    struct TWarten
    {
        std::mutex Sperre;
        std::condition_variable Bedingung;
        quint64 Begonnen = 0; // rounds begun
        quint64 Beendet = 0;  // number of the last round ended
        QString Gesucht;
        std::optional<Buchung::TErgebnis> Ergebnis;
        std::optional<Buchung::TErgebnis> Fehlschlag; // the round's result that did not get through
    };

    QThread FThread;
    TWeiterleitung* FWeiterleitung; // lives in FThread, deleted there when it finishes
    TWarten FWarten;
};
