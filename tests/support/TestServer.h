// A private MariaDB instance for tests, driven through scripts/testdb.
#pragma once

#include "EinstellungenErstellen.h"

#include <QByteArray>
#include <QString>

class QProcess;

class TDBVerbindung;

class TTestServer
{
public:
    // The instance that CTest starts once for all database tests (TS_TESTDB_DIR).
    TTestServer();
    // An instance of a test's own, for tests that stop or restart their server.
    explicit TTestServer(const QString& verzeichnis);

    // The account with every privilege that the script creates.
    static constexpr const char* kBenutzer = "pruefer";
    static constexpr const char* kPasswort = "pruefer-geheim";

    const QString& Verzeichnis() const { return FVerzeichnis; }
    void Starten() const;
    void Stoppen() const;
    // Back on the same port.
    void Neustarten() const;
    void Entfernen() const;
    int Port() const;

    // Creates the database anew (name in upper case) with the tables of db/schema.sql.
    void NeueDatenbank(const QString& name) const;
    // Runs SQL as the server's root; returns the tab-separated output.
    QString Sql(const QString& sql, const QString& datenbank = QString()) const;
    // The same in the background, as another client would, while the caller blocks in a
    // statement of its own; the process gets the whole text before this returns.
    void SqlNebenher(const QString& sql, QProcess& prozess) const;
    // Points the connection at this server's database with the test account and opens it.
    void Verbinde(TDBVerbindung& verbindung, const QString& datenbank) const;
    // Settings of a station that works against this server's database.
    TKlarEinstellungen StationsWerte(const QString& datenbank) const;

private:
    // Runs the script; throws std::runtime_error with its error output when it fails.
    QByteArray Skript(const QStringList& argumente, const QByteArray& eingabe = {}) const;

    QString FVerzeichnis;
};
