// The pieces of the contact search statement; each becomes a line of its own.
#pragma once

#include <QString>

namespace KontaktSuche {

// The kind table joined with the contact data and the lookups; empty for an unknown kind.
QString Tabellen(const QString& kontaktArt);
// The match of the term against the index field. The term is escaped so that it can never end
// its string literal; "%" and "_" stay wildcards. A key matched as a whole (MITARBEITER_ID,
// KONTAKTDATEN_ID) is compared by value when the term is a plain number without leading zeros:
// the same rows, found through the key's index. For an index field of no known column the term
// is the condition itself.
QString Bedingung(const QString& suchbegriff, const QString& indexfeld);
// The join conditions, the role flag and, unless deleted rows count, the deleted mark; ends
// with "ORDER by ". Empty for an unknown kind.
QString Filter(const QString& kontaktArt, bool inklGeloeschte);
QString Sortierung(const QString& indexfeld, bool aufsteigend);

} // namespace KontaktSuche
