// Contact records: initialisation, search and load.
#include "uKontakt.h"

#include "DBFehler.h"
#include "KontaktSpalten.h"
#include "KontaktSuche.h"
#include "Sanduhr.h"
#include "uMeldung.h"
#include "ufdmKontakt.h"

#include <type_traits>
#include <variant>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFalschInitialisiert =
    u"Das Objekt TKontakt wurde fehlerhaft initialisiert.\r\nErlaubte Übergabeparameter sind: "
    u"\r\n- Debitor\r\n- Kreditor\r\n- Mitarbeiter"_s;
const QString kNichtEindeutig =
    u"Achtung!\r\nTKontakt: Der eingebene Suchbegriff führte zu keinem eindeutigen Ergebnis."
    u"\r\n\r\nEntweder wurde kein Datensatz, oder aber gleich mehrere gefunden.\r\n\r\nBitte "
    u"versuchen Sie es erneut."_s;

// Appends a piece to the statement so that it becomes a line of its own.
void Anhaengen(TDBAbfrage& abfrage, const QString& stueck)
{
    abfrage.SQL().SetText(abfrage.SQL().Text() + stueck);
}

template <typename T> T& Feld(TgsKontakt& kontakt, const TKontaktSpalte& spalte)
{
    return kontakt.*std::get<T TgsKontakt::*>(spalte.feld);
}

void Leeren(TgsKontakt& kontakt, const TKontaktSpalte::Feld& feld)
{
    std::visit(
        [&kontakt](auto zeiger) {
            using T = std::remove_reference_t<decltype(kontakt.*zeiger)>;
            kontakt.*zeiger = T();
        },
        feld);
}

// Of same-named columns the first counts: the kind table's, then KONTAKTDATEN's.
void Laden(TgsKontakt& kontakt, const TKontaktSpalte& spalte, const TDBAbfrage& qu)
{
    const TDBFeld wert = qu.FieldByName(spalte.spalte);
    switch (spalte.art) {
    case TKontaktSpalte::Art::Text:
    case TKontaktSpalte::Art::Verweis:
    case TKontaktSpalte::Art::Datum:
        Feld<QString>(kontakt, spalte) = wert.AsString();
        break;
    case TKontaktSpalte::Art::Memo:
        Feld<QString>(kontakt, spalte) =
            wert.AsString().isEmpty() ? QString() : wert.AsWideString();
        break;
    case TKontaktSpalte::Art::Flagge:
        Feld<bool>(kontakt, spalte) = wert.AsString() == u"J";
        break;
    case TKontaktSpalte::Art::FlaggeAlsText:
        Feld<QString>(kontakt, spalte) = wert.AsString() == u"J" ? u"J"_s : u"N"_s;
        break;
    case TKontaktSpalte::Art::Foto:
        if (!wert.IsBlob())
            throw EAbfragefehler(u"quKontakt: Feld '%1' ist kein Blob-Feld"_s.arg(spalte.spalte));
        Feld<TDBFeld>(kontakt, spalte) = wert;
        break;
    }
}

} // namespace

void TgsKontakt::Init(const QString& sKontaktart)
{
    F_NeuerDatensatz = false;
    F_KontaktArt = sKontaktart;
    for (const TKontaktSpalte& spalte : TKontaktSpalte::Tabelle()) {
        if (!(spalte.merkmale & TKontaktSpalte::InitBehaelt))
            Leeren(*this, spalte.feld);
    }

    if (F_KontaktArt != u"Debitor" && F_KontaktArt != u"Mitarbeiter" && F_KontaktArt != u"Kreditor")
        Meldung::Zeigen(Meldung::Art::Hinweis, kFalschInitialisiert);
}

void TKontakt::Suchen(const QString& Suchbegriff, const QString& DBIndexfeld, bool SortUp)
{
    TDBAbfrage& qu = FKontakte.quKontakt;
    qu.SQL().Clear();
    // Cursor and notifications come back also when the search fails.
    const TSanduhr sanduhr;
    qu.DisableControls();
    try {
        qu.SQL().SetText(KontaktSuche::Tabellen(KontaktArt()));
        Anhaengen(qu, KontaktSuche::Bedingung(Suchbegriff, DBIndexfeld));
        Anhaengen(qu, KontaktSuche::Filter(KontaktArt(), bGeloeschteDS));
        Anhaengen(qu, KontaktSuche::Sortierung(DBIndexfeld, SortUp));
        qu.Open();
    } catch (const std::exception&) {
        // Silent by design: a following load finds no row and says so.
        qu.Close();
    }
    qu.EnableControls();
}

void TKontakt::SuchenInklGeloeschterDS(const QString& Suchbegriff, const QString& DBIndexfeld,
                                       bool SortUp)
{
    bGeloeschteDS = true;
    Suchen(Suchbegriff, DBIndexfeld, SortUp);
    bGeloeschteDS = false;
}

bool TKontakt::LadeDaten()
{
    const TDBAbfrage& qu = FKontakte.quKontakt;
    if (qu.RecordCount() != 1) {
        Meldung::Zeigen(Meldung::Art::Hinweis, kNichtEindeutig);
        return false;
    }
    const unsigned art = TKontaktSpalte::TeilVon(KontaktArt());
    for (const TKontaktSpalte& spalte : TKontaktSpalte::Tabelle()) {
        if (spalte.laden & art)
            Laden(*this, spalte, qu);
    }
    return true;
}
