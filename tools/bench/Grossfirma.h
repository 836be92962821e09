// A large company for the benchmarks, written mostly by the server itself so that a hundred
// thousand employees and a million measurements take minutes, not hours.
#pragma once

#include <QByteArray>
#include <QSize>

#include <functional>

class QString;
class TDBVerbindung;

namespace Grossfirma {

// Portraits as a camera on the shop floor delivers them: 600 × 750, about 80 KB.
constexpr QSize kFotoGroesse{600, 750};
// Departments, and the employees of each of the two departments the benchmarks open.
constexpr int kAbteilungen = 200;
constexpr int kJeGemessenerAbteilung = 50;

struct TGroesse
{
    int Mitarbeiter = 10000;
    qint64 Messungen = 1000000;
    // Distinct pictures; the employees share them round robin, each row holds its own copy.
    int Fotos = 200;
};

// A portrait of that size with a photograph's grain, so that it compresses like one.
QByteArray Foto(quint32 nummer);

// Fills a database freshly created from db/schema.sql: departments "Abteilung 001" … (the
// first two hold kJeGemessenerAbteilung employees each, the others share the rest evenly),
// employees with login "ma<id>", photos and the measurements of the last years, the newest
// pass of each employee as its measurement date. Throws what the database layer throws.
void Fuellen(TDBVerbindung& verbindung, const TGroesse& groesse,
             const std::function<void(const QString&)>& fortschritt);

} // namespace Grossfirma
