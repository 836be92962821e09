// Where the station keeps what must survive it (the journal): the kiosk user's state directory.
#pragma once

#include <QString>

namespace Zustandsverzeichnis {

// $XDG_STATE_HOME/teststation when that is an absolute path (the XDG rules ignore a relative
// one), else <home>/.local/state/teststation. The station runs as the kiosk user under a systemd
// user unit, which may not write to /var/lib.
QString Fuer(const QString& xdgStateHome, const QString& home);

// The same from this process's environment; on Windows the user's local application data.
QString Standard();

} // namespace Zustandsverzeichnis
