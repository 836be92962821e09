// The state directory from the environment.
#include "Zustandsverzeichnis.h"

#include <QDir>
#include <QStandardPaths>
#include <QtGlobal>

using namespace Qt::Literals::StringLiterals;

namespace Zustandsverzeichnis {

QString Fuer(const QString& xdgStateHome, const QString& home)
{
    const QString basis = !xdgStateHome.isEmpty() && QDir::isAbsolutePath(xdgStateHome)
                              ? xdgStateHome
                              : home + u"/.local/state"_s;
    return QDir::cleanPath(basis + u"/teststation"_s);
}

QString Standard()
{
#ifdef Q_OS_WIN
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           u"/teststation"_s);
#else
    return Fuer(qEnvironmentVariable("XDG_STATE_HOME"), QDir::homePath());
#endif
}

} // namespace Zustandsverzeichnis
