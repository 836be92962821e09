// The station's local journal: every evaluated result, durable on the station's disk before it
// is sent, kept until it is forwarded and for a bounded time after.
#pragma once

#include "JournalEintrag.h"
#include "uFehler.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>

class TSqliteHandle;

// The journal cannot be used: the file is in use by another station, the directory cannot be
// written, or SQLite refused a statement. Code is SQLite's primary result code, 0 when none.
class EJournalfehler : public EFehler
{
public:
    explicit EJournalfehler(const QString& meldung, int code = 0);
    int Code() const { return FCode; }

private:
    int FCode;
};

class TJournal
{
public:
    static constexpr int kAufbewahrungTage = 30;
    static const QString kDateiname;

    // Opens the journal in the directory, creating both when they are missing. A file that
    // cannot be opened or is damaged is moved aside (see Beiseitegelegt) and a new one started.
    // Holds the file exclusively until destroyed: a second journal on the same file, in this or
    // another process, throws EJournalfehler and leaves the file where it is.
    explicit TJournal(const QString& verzeichnis);
    ~TJournal();

    TJournal(const TJournal&) = delete;
    TJournal& operator=(const TJournal&) = delete;

    const QString& Datei() const { return FDatei; }
    // Where the unusable file was moved and why; both empty when the file was usable. The
    // station tells an administrator.
    const QString& Beiseitegelegt() const { return FBeiseitegelegt; }
    const QString& Grund() const { return FGrund; }

    // Adds a waiting entry; on return it is on disk (WAL, synchronous FULL). Nr, state and
    // forwarding time of the argument are ignored. Throws EJournalfehler (a full disk, a
    // read-only directory, an identity already journaled).
    qint64 Eintragen(const TJournalEintrag& eintrag);
    // Waiting entries, oldest first; at most `hoechstens`.
    QList<TJournalEintrag> Wartende(int hoechstens = 100) const;
    int AnzahlWartend() const;
    // Marks the entry forwarded, or refused with the server's reason; false when no waiting
    // entry has this identity.
    bool AlsWeitergeleitet(const QString& kennung, const QDateTime& wann, quint64 messung_ID);
    bool AlsAbgewiesen(const QString& kennung, const QDateTime& wann, const QString& grund);
    // Removes forwarded and refused entries settled more than `tage` days before `jetzt`;
    // waiting entries stay whatever their age. Returns how many were removed.
    int Aufraeumen(const QDateTime& jetzt, int tage = kAufbewahrungTage);
    std::optional<TJournalEintrag> Suchen(const QString& kennung) const;
    // The newest pass journaled for each of these employees at or after `ab`, by key; refused
    // ones never count. With `nurWartende` only those not yet on the server: the server's stamp
    // already shows the others.
    QHash<QString, QDateTime> LetzteBestandene(const QStringList& mitarbeiter_IDs,
                                               const QDateTime& ab, bool nurWartende) const;

private:
    // The board's copy lives in the same file, under the same lock.
    friend class TTafelkopie;

    // Opens FDatei: nullopt when it worked, else why the file is unusable. Throws when the
    // cause is not the file (in use, no rights to the directory).
    std::optional<QString> Oeffnen();
    void BeiseiteLegen(const QString& grund);

    QString FVerzeichnis;
    QString FDatei;
    QString FBeiseitegelegt;
    QString FGrund;
    std::unique_ptr<TSqliteHandle> FDb;
    // The station writes from the screen's thread while the forwarder reads and marks from its
    // own: one connection, used by one thread at a time.
    mutable std::mutex FSperre;
};
