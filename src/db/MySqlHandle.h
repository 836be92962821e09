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
