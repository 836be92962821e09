// Sole owner of a SQLite connection handle; included only inside the journal library.
#pragma once

#include <sqlite3.h>

#include <QString>

class TSqliteHandle
{
public:
    // Opens (and creates) the file; the handle exists even when opening fails, so the caller
    // can read the error, and is closed in any case by the destructor.
    explicit TSqliteHandle(const QString& datei);
    ~TSqliteHandle();

    TSqliteHandle(const TSqliteHandle&) = delete;
    TSqliteHandle& operator=(const TSqliteHandle&) = delete;

    sqlite3* get() const { return FDb; }
    int Ergebnis() const { return FErgebnis; }

    // Runs statements without values (pragmas, the schema); returns SQLite's result code.
    int Ausfuehren(const char* sql) const;
    // The connection's last error text.
    QString Fehlertext() const;

private:
    sqlite3* FDb = nullptr;
    int FErgebnis;
};
