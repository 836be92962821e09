// Connection ownership for SQLite.
#include "SqliteHandle.h"

TSqliteHandle::TSqliteHandle(const QString& datei)
    // No mutex of SQLite's own: the journal serialises every use of its one connection.
    : FErgebnis(sqlite3_open_v2(datei.toUtf8().constData(), &FDb,
                                SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                nullptr))
{}

TSqliteHandle::~TSqliteHandle()
{
    sqlite3_close_v2(FDb);
}

int TSqliteHandle::Ausfuehren(const char* sql) const
{
    return sqlite3_exec(FDb, sql, nullptr, nullptr, nullptr);
}

QString TSqliteHandle::Fehlertext() const
{
    return FDb ? QString::fromUtf8(sqlite3_errmsg(FDb))
               : QString::fromUtf8(sqlite3_errstr(FErgebnis));
}
