// State shared across the program's units.
#pragma once

#include <QString>

// The signed-in user of a workstation. The station signs in no one, so both stay empty and
// every station reads and writes the option rows of the empty workstation and employee.
struct TUser
{
    QString PC_Name;
    QString Mitarbeiter_ID;
};
