// The forwarder: sends the journal's waiting results to the server, oldest first, each exactly
// once through its receipt, and tries again after a growing pause while the server is away.
#pragma once

#include "Buchung.h"
#include "Journal.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class TDBAbfrage;
class TDBVerbindung;
class TJournal;

namespace Weiterleitung {

TJournalEintrag FuerJournal(const TBuchungswerte& werte);
TBuchungswerte AusJournal(const TJournalEintrag& eintrag);

// The store a measurement cycle gets at a station with a journal: the result is journaled (on
// disk when this returns) and counts as stored, waiting to be forwarded. Not stored when the
// journal refuses it (a full disk, a read-only directory); never throws.
Buchung::TErgebnis Vormerken(TJournal& journal, const TBuchungswerte& werte);

} // namespace Weiterleitung

// Works on a connection of its own, made on the first round in the thread that runs the rounds:
// a connection is used by one thread only. Every statement runs in the caller's thread, so the
// station runs the forwarder in a worker thread (TWeiterleitungsThread), tests call the rounds
// directly.
class TWeiterleitung : public QObject
{
    Q_OBJECT

public:
    // Sets the connection's server, port, database and account; the forwarder opens it.
    using TEinrichten = std::function<void(TDBVerbindung&)>;

    // Pauses while results wait and the server does not take them: doubled after each failed
    // round, from the first to the longest, so a server that is back is used within seconds.
    static constexpr int kErstePauseMs = 500;
    static constexpr int kLaengstePauseMs = 4000;
    // Waiting results read from the journal at a time.
    static constexpr int kStapel = 50;

    TWeiterleitung(TJournal& journal, TEinrichten einrichten, QObject* parent = nullptr);
    ~TWeiterleitung() override;

    // A new result waits: a round now, and the pause starts again from the first.
    void Anstossen();
    // A round after `ms` unless one comes sooner.
    void Planen(int ms);
    // One round: forwards waiting results oldest first until none is left or one is not
    // stored; then the timer waits for the next round. A result whose values the server refuses
    // is marked refused and the round goes on. Returns how many were forwarded.
    int Weiterleiten();

    // Called in the forwarder's thread: at the start of every round, for every result the round
    // settles or fails on, and at its end. Set before the first round.
    struct TBeobachter
    {
        std::function<void()> Begonnen;
        std::function<void(const QString& kennung, const Buchung::TErgebnis& ergebnis)> Erledigt;
        std::function<void()> Beendet;
    };
    void SetzeBeobachter(TBeobachter beobachter) { FBeobachter = std::move(beobachter); }
    // Days forwarded and refused entries stay in the journal; pruned after rounds that forward.
    void SetzeAufbewahrung(int tage) { FAufbewahrungTage = tage; }

    // Milliseconds until the planned next round; -1 when none is planned.
    int NaechsteRundeMs() const { return FTimer.isActive() ? FTimer.interval() : -1; }
    // Why the last round stopped short; Gespeichert when it did not.
    const Buchung::TErgebnis& LetzteRunde() const { return FLetzteRunde; }
    // "host:port" of the server in use (empty without a link), moves to another node of a host
    // list, and conflicts on a cluster, all since the first round.
    QString Server() const;
    int Knotenwechsel() const;
    int Konflikte() const { return FBuchung ? FBuchung->Konflikte() : 0; }

signals:
    // After every round: the results still waiting.
    void Wartend(int anzahl);
    // A result is settled without being forwarded: the server refused it for good, or (without
    // receipts) it is unclear whether it arrived. "number:message" for an administrator.
    void Abgewiesen(const QString& kennung, const QString& grund);
    // After a round that sent anything: whether the server took every result.
    void Erreichbar(bool erreichbar);

private:
    void Timer_WeiterleitungTimer();
    void Verbinden();

    TJournal& FJournal;
    TEinrichten FEinrichten;
    TBeobachter FBeobachter;
    int FAufbewahrungTage = TJournal::kAufbewahrungTage;
    // The first round that forwards prunes; the next after an hour.
    static constexpr qint64 kAufraeumenAbstandMs = 3600 * 1000;
    QDeadlineTimer FAufraeumen{0};
    std::unique_ptr<TDBVerbindung> FVerbindung;
    std::unique_ptr<TDBAbfrage> FAbfrage;
    std::unique_ptr<TBuchung> FBuchung;
    QTimer FTimer{this}; // a child: moves with the forwarder into its thread
    int FPauseMs = kErstePauseMs;
    Buchung::TErgebnis FLetzteRunde{true, {}, {}, 0};
};
