// Keeps the board's local copy current: after every successful load of the menu or a department
// it reads the same from the server again, over a connection of its own in a thread of its own,
// and writes it to the copy with the photos at tile size. The board never waits for it.
#pragma once

#include "Zugangswerte.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QObject>
#include <QSize>
#include <QThread>

class TTafelkopie;

class TKopieauffrischung : public QObject
{
    Q_OBJECT

public:
    // The copy outlives this object.
    TKopieauffrischung(TTafelkopie& kopie, TZugangswerte zugang, QString mandant,
                       QObject* parent = nullptr);
    // Ends the thread after the refresh in progress.
    ~TKopieauffrischung() override;

    TKopieauffrischung(const TKopieauffrischung&) = delete;
    TKopieauffrischung& operator=(const TKopieauffrischung&) = delete;

    // A department shown again within this time is not read again: a board's reloads after
    // each measurement would otherwise read it every few seconds.
    static constexpr int kMindestabstandMs = 60000;
    // Nothing is read in the first moments after start, which the station needs for itself.
    static constexpr int kStartruheMs = 2000;

    // The menu (an empty department) or one department with photos of `kachel` pixels. Returns
    // at once.
    void Auffrischen(const QString& abteilung, QSize kachel);

    // Runs in the caller's thread: for tests and the thread's worker. Throws what the server or
    // the copy throws.
    static void AuffrischenJetzt(TTafelkopie& kopie, const TZugangswerte& zugang,
                                 const QString& mandant, const QString& abteilung, QSize kachel);

signals:
    // After each refresh, in this object's thread; empty when it worked.
    void Aufgefrischt(const QString& abteilung, const QString& fehler);

private:
    QThread FThread;
    QObject* FArbeiter; // lives in FThread
    TTafelkopie& FKopie;
    TZugangswerte FZugang;
    QString FMandant;
    QHash<QString, QDeadlineTimer> FZuletzt; // per department, the menu under ""
    QDeadlineTimer FStartruhe{kStartruheMs};
};
