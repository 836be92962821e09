// Sole owner of a client-library connection handle; included only inside the database layer.
#pragma once

#include <mysql.h>

class TMySqlHandle
{
public:
    // A fresh, unconnected handle; throws std::bad_alloc when the library cannot create one.
    TMySqlHandle();
    ~TMySqlHandle();

    TMySqlHandle(const TMySqlHandle&) = delete;
    TMySqlHandle& operator=(const TMySqlHandle&) = delete;

    MYSQL* get() const { return FMysql; }

private:
    MYSQL* FMysql;
};

// Owner of a fetched result; frees it on every path.
class TMySqlErgebnis
{
public:
    explicit TMySqlErgebnis(MYSQL_RES* ergebnis) : FErgebnis(ergebnis) {}
    ~TMySqlErgebnis();

    TMySqlErgebnis(const TMySqlErgebnis&) = delete;
    TMySqlErgebnis& operator=(const TMySqlErgebnis&) = delete;

    MYSQL_RES* get() const { return FErgebnis; }

private:
    MYSQL_RES* FErgebnis;
};
