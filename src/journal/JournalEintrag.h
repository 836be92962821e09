// One evaluated result as the journal keeps it, from its measurement until it is pruned.
#pragma once

#include <QDateTime>
#include <QString>

struct TJournalEintrag
{
    enum class TZustand
    {
        Wartet,
        Weitergeleitet
    };

    qint64 Nr = 0;   // the journal's own sequence: the order of measuring, whatever the clock does
    QString Kennung; // UUID, the identity the server's receipt carries
    QDateTime Zeitstempel; // whole seconds, local time as the server's columns keep it
    QString Station;
    QString Mitarbeiter_ID;
    QString Name;
    QString Messwert1;
    QString Messwert2;
    QString Messwert3;
    QString Fehlercode;
    bool Messwerte_OK = false;
    TZustand Zustand = TZustand::Wartet;
    QDateTime Weitergeleitet; // invalid while the entry waits
    quint64 Messung_ID = 0;   // the server's row key once forwarded; 0 when unknown
};
