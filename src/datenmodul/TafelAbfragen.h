// The board's statements and who counts as a guest: shared by the board and the reports.
#pragma once

#include <QString>

namespace Tafel {

// The one tenant whose lists filter on GELOESCHT instead of INAKTIV.
bool FiltertGeloeschte(const QString& mandant);

// Active departments, in the server's order; the department with key 1 never shows.
QString AbteilungenSql(const QString& mandant);
// Employees of the department bound to :Abteilung, by last name.
QString MitarbeiterSql(const QString& mandant);
// The same statement with other columns than "*": a report then counts exactly the people the
// board shows.
QString MitarbeiterSql(const QString& mandant, const QString& spalten);

// The person behind the badge number bound to :Ausweis, by the board's rule of who is measured:
// MITARBEITER_ID and the department's name (ABTEILUNG). At most two rows, enough to tell one
// from several.
QString AusweisSql(const QString& mandant);
// The tenant's employees of every department whose last or first name begins with the text
// bound to :Nachname and :Vorname (a Namensmuster), compared as the collation compares, by
// last name: MITARBEITER_ID.
QString NamenssucheSql(const QString& mandant);
// The LIKE pattern for names beginning with text: its wildcards and escapes taken literally.
QString Namensmuster(const QString& text);

// A login name beginning with "Gast" marks a guest account: the person types a name at each
// measurement.
bool IstGast(const QString& loginname);

} // namespace Tafel
