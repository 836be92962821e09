// Handle ownership for the client library.
#include "MySqlHandle.h"

#include <new>

TMySqlHandle::TMySqlHandle() : FMysql(mysql_init(nullptr))
{
    if (!FMysql)
        throw std::bad_alloc();
}

TMySqlHandle::~TMySqlHandle()
{
    mysql_close(FMysql);
}
