// Sole owner of a prepared SQLite statement: values bound by position, rows read in place.
#pragma once

#include <sqlite3.h>

#include <QByteArray>
#include <QString>

class TSqliteAnweisung
{
public:
    // Prepares the statement; throws EJournalfehler when SQLite refuses it.
    TSqliteAnweisung(sqlite3* db, const char* sql);
    ~TSqliteAnweisung();

    TSqliteAnweisung(const TSqliteAnweisung&) = delete;
    TSqliteAnweisung& operator=(const TSqliteAnweisung&) = delete;

    // Positions count from 1, as SQLite's do.
    void Binden(int stelle, const QString& text);
    void Binden(int stelle, qint64 zahl);
    void BindenNull(int stelle);
    // An empty array binds NULL.
    void BindenBytes(int stelle, const QByteArray& bytes);
    // Ready to run again with new values.
    void Zuruecksetzen();

    // The next row (true) or the end (false); throws EJournalfehler with SQLite's code on an error.
    bool Schritt();
    // Runs a statement that returns no rows.
    void Ausfuehren();

    QString Text(int spalte) const;
    qint64 Zahl(int spalte) const;
    bool IstNull(int spalte) const;
    QByteArray Bytes(int spalte) const;

private:
    sqlite3* FDb;
    sqlite3_stmt* FStmt = nullptr;
};
