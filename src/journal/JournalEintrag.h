// One evaluated result as the journal keeps it, from its measurement until it is pruned.
#pragma once

#include <QDateTime>
#include <QString>

struct TJournalEintrag
{
    // Abgewiesen: the server refused the result's values on a live link; sending it again would
    // fail the same way, so it is kept for an administrator instead of blocking the ones after it.
    enum class TZustand
    {
        Wartet,
        Weitergeleitet,
        Abgewiesen
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
    QDateTime Erledigt;     // when it was forwarded or refused; invalid while it waits
    quint64 Messung_ID = 0; // the server's row key once forwarded; 0 when unknown
    QString Grund;          // why the server refused it
};
