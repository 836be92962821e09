// The contact columns: for each, the record's field, and when Init, the load and the save use it.
#pragma once

#include "uKontakt.h"

#include <QString>

#include <variant>
#include <vector>

struct TKontaktSpalte
{
    // How the column's value and the field convert into each other.
    enum class Art
    {
        // Text as read and written.
        Text,
        // Multi-line text, written as a memo; an empty column reads as no text.
        Memo,
        // An optional key: an empty field is written as NULL.
        Verweis,
        // d.M.yyyy in the field, a date in the statement.
        Datum,
        // A bool field: true exactly for "J"; written as "J" or "N".
        Flagge,
        // A text field that the load sets to "J" or "N", by the same rule.
        FlaggeAlsText,
        // The search's own field, which must be a BLOB; never written.
        Foto,
    };

    // Bits for the kinds whose load copies the column and for the updates that write it.
    enum Teil : unsigned
    {
        Kein = 0,
        Mitarbeiter = 1U << 0,
        Debitor = 1U << 1,
        Kreditor = 1U << 2,
        // The update of the common KONTAKTDATEN row (the kind bits name the kind's own update).
        Kontaktdaten = 1U << 3,
        // A kind that Init reported as unknown.
        Andere = 1U << 4,
        // Loaded whatever the kind.
        Jede = ~0U,
    };

    enum Merkmal : unsigned
    {
        // Init leaves the field as it is.
        InitBehaelt = 1U << 0,
        // The default goes into the statement only; the record keeps its empty field.
        VorgabeNurGeschrieben = 1U << 1,
    };

    using Feld = std::variant<QString TgsKontakt::*, bool TgsKontakt::*, TDBFeld TgsKontakt::*>;

    // Column and parameter name; empty for a field that only Init touches.
    QString spalte;
    Feld feld;
    Art art;
    unsigned laden;
    unsigned schreiben;
    // Written in place of an empty field.
    QString vorgabe{};
    unsigned merkmale = 0;

    // Every column, in the order in which the load copies them (a load that throws half-way
    // leaves the earlier ones copied) and the save fills its parameters.
    static const std::vector<TKontaktSpalte>& Tabelle();
    // The bit of a record's kind; Andere for any text but the three kinds.
    static unsigned TeilVon(const QString& kontaktArt);
};
