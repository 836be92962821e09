// Prepared statements for the journal.
#include "SqliteAnweisung.h"

#include "Journal.h"

TSqliteAnweisung::TSqliteAnweisung(sqlite3* db, const char* sql) : FDb(db)
{
    const int ergebnis = sqlite3_prepare_v2(db, sql, -1, &FStmt, nullptr);
    if (ergebnis != SQLITE_OK)
        throw EJournalfehler(QString::fromUtf8(sqlite3_errmsg(db)), ergebnis);
}

TSqliteAnweisung::~TSqliteAnweisung()
{
    sqlite3_finalize(FStmt);
}

void TSqliteAnweisung::Binden(int stelle, const QString& text)
{
    // A null QString is stored as '' so that every text column stays NOT NULL.
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(FStmt, stelle, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
}

void TSqliteAnweisung::Binden(int stelle, qint64 zahl)
{
    sqlite3_bind_int64(FStmt, stelle, zahl);
}

void TSqliteAnweisung::BindenBytes(int stelle, const QByteArray& bytes)
{
    if (bytes.isEmpty()) {
        sqlite3_bind_null(FStmt, stelle);
        return;
    }
    sqlite3_bind_blob(FStmt, stelle, bytes.constData(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
}

void TSqliteAnweisung::Zuruecksetzen()
{
    sqlite3_reset(FStmt);
    sqlite3_clear_bindings(FStmt);
}

void TSqliteAnweisung::BindenNull(int stelle)
{
    sqlite3_bind_null(FStmt, stelle);
}

bool TSqliteAnweisung::Schritt()
{
    const int ergebnis = sqlite3_step(FStmt);
    if (ergebnis == SQLITE_ROW)
        return true;
    if (ergebnis == SQLITE_DONE)
        return false;
    throw EJournalfehler(QString::fromUtf8(sqlite3_errmsg(FDb)), ergebnis);
}

void TSqliteAnweisung::Ausfuehren()
{
    while (Schritt()) {
    }
}

QString TSqliteAnweisung::Text(int spalte) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FStmt, spalte));
    return QString::fromUtf8(text, sqlite3_column_bytes(FStmt, spalte));
}

qint64 TSqliteAnweisung::Zahl(int spalte) const
{
    return sqlite3_column_int64(FStmt, spalte);
}

bool TSqliteAnweisung::IstNull(int spalte) const
{
    return sqlite3_column_type(FStmt, spalte) == SQLITE_NULL;
}

QByteArray TSqliteAnweisung::Bytes(int spalte) const
{
    const void* daten = sqlite3_column_blob(FStmt, spalte);
    return QByteArray(static_cast<const char*>(daten), sqlite3_column_bytes(FStmt, spalte));
}
