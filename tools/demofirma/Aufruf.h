// The command line of teststation-demofirma, callable without a process.
#pragma once

#include "Verbindungsoptionen.h"

#include <QStringList>

class QIODevice;
class QTextStream;

namespace Demofirma {

constexpr int kErfolg = 0;
constexpr int kFehlgeschlagen = 1;
constexpr int kFalscheEingabe = TVerbindungsoptionen::kFalscheEingabe;

// argumente as QCoreApplication::arguments() gives them (program name first). eingabe is read
// only for --passwort-stdin. Returns the exit code.
int Aufruf(const QStringList& argumente, QIODevice& eingabe, QTextStream& aus, QTextStream& fehler);

} // namespace Demofirma
