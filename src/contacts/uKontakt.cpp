// Contact records: initialisation, search and load.
#include "uKontakt.h"

#include "DBFehler.h"
#include "KontaktSuche.h"
#include "Sanduhr.h"
#include "uMeldung.h"
#include "ufdmKontakt.h"

#include <initializer_list>

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

} // namespace

void TgsKontakt::Init(const QString& sKontaktart)
{
    F_NeuerDatensatz = false;
    F_KontaktArt = sKontaktart;
    // The supplier fields and the measurement date are deliberately left as they are.
    for (QString TgsKontakt::*feld : {
             &TgsKontakt::FKontaktdaten_ID,
             &TgsKontakt::FFirma,
             &TgsKontakt::FFirma_Zusatz,
             &TgsKontakt::FGeschlecht_ID,
             &TgsKontakt::FAnrede_ID,
             &TgsKontakt::FAnrede,
             &TgsKontakt::FTitel_ID,
             &TgsKontakt::FNachname,
             &TgsKontakt::FVorname,
             &TgsKontakt::FStrasse1,
             &TgsKontakt::FStrasse2,
             &TgsKontakt::FPostfach,
             &TgsKontakt::FPLZ_ID,
             &TgsKontakt::FPLZ,
             &TgsKontakt::FOrt,
             &TgsKontakt::FLand,
             &TgsKontakt::FTel_P,
             &TgsKontakt::FHandy,
             &TgsKontakt::FTel_G1,
             &TgsKontakt::FTel_G2,
             &TgsKontakt::FFax_P,
             &TgsKontakt::FFax_G,
             &TgsKontakt::FEmail_P,
             &TgsKontakt::FEmail_G,
             &TgsKontakt::FInternet,
             &TgsKontakt::FGeburtstag,
             &TgsKontakt::FZivilstand_ID,
             &TgsKontakt::FZivilstand,
             &TgsKontakt::FKontoinhaber1,
             &TgsKontakt::FKonto1,
             &TgsKontakt::FBLZ1,
             &TgsKontakt::FBank1,
             &TgsKontakt::FIban1,
             &TgsKontakt::FSwift1,
             &TgsKontakt::FKontoinhaber2,
             &TgsKontakt::FKonto2,
             &TgsKontakt::FBLZ2,
             &TgsKontakt::FBank2,
             &TgsKontakt::FIban2,
             &TgsKontakt::FSwift2,
             &TgsKontakt::FMitarbeiter_ID,
             &TgsKontakt::FAbteilung_ID,
             &TgsKontakt::FGesperrt,
             &TgsKontakt::FPasswort,
             &TgsKontakt::FBenutzergruppe_ID,
             &TgsKontakt::FAnmerkungen,
             &TgsKontakt::FMA_ANG_Status_ID,
             &TgsKontakt::FLoginname,
             &TgsKontakt::FPersonalnummer,
             &TgsKontakt::FDebitor_ID,
             &TgsKontakt::FAbteilung,
             &TgsKontakt::FDebitor_Shop_ID,
             &TgsKontakt::FDebitorNr,
             &TgsKontakt::FDebitorNr_WE,
             &TgsKontakt::FDebitorNr_RE,
             &TgsKontakt::FDebitor_seit,
             &TgsKontakt::FSkonto_Tage,
             &TgsKontakt::FSkonto_Prozent,
             &TgsKontakt::FZahlungsziel,
             &TgsKontakt::FKreditlimit,
             &TgsKontakt::FPortofrei,
             &TgsKontakt::FRabatt_Prozent,
             &TgsKontakt::FMahnsperre,
             &TgsKontakt::FLiefersperre,
             &TgsKontakt::FRechnungssperre,
             &TgsKontakt::FWerbung_Brief,
             &TgsKontakt::FWerbung_Email,
             &TgsKontakt::FKursprogramm,
             &TgsKontakt::FWerbestufe,
             &TgsKontakt::FDebitoren_Gruppe_ID,
         }) {
        (this->*feld).clear();
    }
    FFoto = TDBFeld();
    FMitarbeiter = FDebitor = FKreditor = FWebkontakt = FGeloescht = false;

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
    // Of same-named columns the first counts: the kind table's, then KONTAKTDATEN's.
    const auto text = [&qu](const QString& spalte) { return qu.FieldByName(spalte).AsString(); };
    const auto flagge = [&text](const QString& spalte) { return text(spalte) == u"J"; };

    SetKontaktdaten_ID(text(u"KONTAKTDATEN_ID"_s));
    SetGeschlecht_ID(text(u"GESCHLECHT_ID"_s));
    SetAnrede_ID(text(u"ANREDE_ID"_s));
    SetAnrede(text(u"ANREDE"_s));
    SetTitel_ID(text(u"TITEL_ID"_s));
    SetFirma(text(u"FIRMA"_s));
    SetFirma_Zusatz(text(u"FIRMA_ZUSATZ"_s));
    SetVorname(text(u"VORNAME"_s));
    SetNachname(text(u"NACHNAME"_s));
    SetAbteilung(text(u"ABTEILUNG"_s));
    SetStrasse1(text(u"STRASSE1"_s));
    SetStrasse2(text(u"STRASSE2"_s));
    SetPostfach(text(u"POSTFACH"_s));
    SetPLZ_ID(text(u"PLZ_ID"_s));
    SetPLZ(text(u"PLZ"_s));
    SetOrt(text(u"ORT"_s));
    SetLand(text(u"LAND"_s));
    SetTel_P(text(u"TEL_P"_s));
    SetTel_G1(text(u"TEL_G1"_s));
    SetTel_G2(text(u"TEL_G2"_s));
    SetFax_P(text(u"FAX_P"_s));
    SetFax_G(text(u"FAX_G"_s));
    SetHandy(text(u"HANDY"_s));
    SetEmail_P(text(u"EMAIL_P"_s));
    SetEmail_G(text(u"EMAIL_G"_s));
    SetInternet(text(u"INTERNET"_s));
    SetGeburtstag(text(u"GEBURTSTAG"_s));
    SetKontoinhaber1(text(u"KONTOINHABER1"_s));
    SetKonto1(text(u"KONTO1"_s));
    SetBank1(text(u"BANK1"_s));
    SetBLZ1(text(u"BLZ1"_s));
    SetIban1(text(u"IBAN1"_s));
    SetSwift1(text(u"SWIFT1"_s));
    SetKontoinhaber2(text(u"KONTOINHABER2"_s));
    SetKonto2(text(u"KONTO2"_s));
    SetBank2(text(u"BANK2"_s));
    SetBLZ2(text(u"BLZ2"_s));
    SetIban2(text(u"IBAN2"_s));
    SetSwift2(text(u"SWIFT2"_s));

    SetMitarbeiter(flagge(u"MITARBEITER"_s));
    SetDebitor(flagge(u"DEBITOR"_s));
    SetKreditor(flagge(u"KREDITOR"_s));
    SetWebkontakt(flagge(u"WEBKONTAKT"_s));
    SetGeloescht(flagge(u"GELOESCHT"_s));

    const QString& art = KontaktArt();
    if (art == u"Debitor") {
        SetDebitoren_Gruppe_ID(text(u"DEBITOREN_GRUPPE_ID"_s));
        SetDebitor_ID(text(u"DEBITOR_ID"_s));
        SetDebitor_Shop_ID(text(u"DEBITOR_SHOP_ID"_s));
        SetDebitorNr(text(u"DEBITORNR"_s));
        SetDebitorNr_WE(text(u"DEBITORNR_WE"_s));
        SetDebitorNr_RE(text(u"DEBITORNR_RE"_s));
        SetDebitor_seit(text(u"DEBITOR_SEIT"_s));
        SetPortofrei(text(u"PORTOFREI"_s));
        SetMahnsperre(text(u"MAHNSPERRE"_s));
        SetRechnungssperre(text(u"RECHNUNGSSPERRE"_s));
        SetLiefersperre(text(u"LIEFERSPERRE"_s));
        SetWerbung_Brief(text(u"WERBUNG_BRIEF"_s));
        SetWerbung_Email(text(u"WERBUNG_EMAIL"_s));
        SetKursprogramm(text(u"KURSPROGRAMM"_s));
        SetWerbestufe(text(u"WERBESTUFE"_s));
    }
    if (art == u"Debitor" || art == u"Kreditor") {
        SetSkonto_Tage(text(u"SKONTO_TAGE"_s));
        SetSkonto_Prozent(text(u"SKONTO_PROZENT"_s));
        SetZahlungsziel(text(u"ZAHLUNGSZIEL"_s));
        SetKreditlimit(text(u"KREDITLIMIT"_s));
        SetRabatt_Prozent(text(u"RABATT_PROZENT"_s));
    }
    if (art == u"Kreditor") {
        SetKreditor_Art_PF(text(u"KREDITOR_ART_PF"_s));
        SetMWST_Nr(text(u"USTID"_s));
        SetUVP_Bindung(flagge(u"UVP_BINDUNG"_s) ? u"J"_s : u"N"_s);
        SetKreditor_Nr(text(u"KREDITOR_NR"_s));
        SetKreditor_ID(text(u"KREDITOR_ID"_s));
        SetKunden_Nr(text(u"KUNDEN_NR"_s));
    }
    if (art == u"Mitarbeiter") {
        SetMitarbeiter_ID(text(u"MITARBEITER_ID"_s));
        SetPersonalnummer(text(u"PERSONALNUMMER"_s));
        SetLoginname(text(u"LOGINNAME"_s));
        SetMA_ANG_Status_ID(text(u"MA_ANG_STATUS_ID"_s));
        SetZivilstand_ID(text(u"ZIVILSTAND_ID"_s));
        const TDBFeld foto = qu.FieldByName(u"FOTO"_s);
        if (!foto.IsBlob())
            throw EAbfragefehler(u"quKontakt: Feld 'FOTO' ist kein Blob-Feld"_s);
        SetFoto(foto);
        SetPasswort(text(u"PASSWORT"_s));
        SetGesperrt(text(u"GESPERRT"_s));
        SetBenutzergruppe_ID(text(u"BENUTZERGRUPPE_ID"_s));
        SetAbteilung_ID(text(u"ABTEILUNG_ID"_s));
        SetDatum_ESD_Messung(text(u"DATUM_ESD_MESSUNG"_s));
    }

    const TDBFeld anmerkungen = qu.FieldByName(u"ANMERKUNGEN"_s);
    SetAnmerkungen(anmerkungen.AsString().isEmpty() ? QString() : anmerkungen.AsWideString());
    return true;
}
