// What the start-up tells an operator when the settings or the database fail: the cause in plain
// German, the technical detail on a line of its own.
#pragma once

#include <QString>
#include <QStringList>

#include <exception>

namespace Startmeldung {

// The cause of a failed connection for the server's or client library's error number.
QString Verbindungsursache(unsigned int nummer);
// "Fehler <number>: <server's text>" for database errors, the message alone for others.
QString Detail(const std::exception& fehler);
// The whole message box for a failed connection at start.
QString Verbindungsfehler(const std::exception& fehler);

// Why the settings file could not be used, one sentence.
QString DateiNichtGefunden(const QString& pfad);
QString DateiNichtLesbar(const QString& pfad);
QString PortKeineZahl();
QString Unvollstaendig(const QStringList& schluessel);
// The whole message box for settings that cannot be used.
QString Lesefehler(const QString& ursache);

} // namespace Startmeldung
