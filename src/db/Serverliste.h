// The database servers a station may use, in the order it tries them: one host as before, or a
// cluster's nodes separated by commas.
#pragma once

#include <QList>
#include <QString>

struct TServeradresse
{
    QString Host; // empty: the local server
    int Port = 3306;

    bool operator==(const TServeradresse& andere) const
    {
        return Host == andere.Host && Port == andere.Port;
    }
};

namespace Serverliste {

// "db1, db2:3307, [fd00::2]:3308": an entry without a port takes `port`. A bare IPv6 address
// stays one host, so a single host of older settings means what it always meant. Empty entries
// are skipped; a text without any entry is handed over as it is (empty: the local server). An
// entry that cannot be read is handed over as written, so that the connection names it.
QList<TServeradresse> Lesen(const QString& text, int port);

// Why the list cannot be used as written; empty when it can. For the settings tool's check.
QString Fehler(const QString& text);

// "host:port", with brackets around an IPv6 address, for messages.
QString Anzeige(const TServeradresse& adresse);

} // namespace Serverliste
