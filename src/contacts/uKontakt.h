// A contact of the shared contact database: common data plus one role (employee, customer or
// supplier), with its search, load and save.
#pragma once

#include "DBFeld.h"
#include "uGlobal.h"

#include <QString>

struct TKontaktSpalte;

// The record's data. Every field is a property of the same name without its "F"; the two
// control properties read NeuerDatensatz and KontaktArt. Keys and numbers are decimal text.
// Fields with a column are listed in the column table (KontaktSpalten.cpp).
class TgsKontakt
{
    // The column table points at the fields.
    friend struct TKontaktSpalte;

public:
    // Starts the record afresh for a kind: empties the common, employee and customer fields
    // (the supplier fields and Datum_ESD_Messung stay). Another kind than the three is kept
    // and reported to the user.
    void Init(const QString& sKontaktart);

    // True makes the next save insert new rows; the kind step clears it after its update.
    bool NeuerDatensatz() const { return F_NeuerDatensatz; }
    void SetNeuerDatensatz(bool wert) { F_NeuerDatensatz = wert; }
    // "Mitarbeiter", "Debitor" or "Kreditor"; compared exactly.
    const QString& KontaktArt() const { return F_KontaktArt; }
    void SetKontaktArt(const QString& wert) { F_KontaktArt = wert; }
    const QString& Kontaktdaten_ID() const { return FKontaktdaten_ID; }
    void SetKontaktdaten_ID(const QString& wert) { FKontaktdaten_ID = wert; }
    const QString& Firma() const { return FFirma; }
    void SetFirma(const QString& wert) { FFirma = wert; }
    const QString& Firma_Zusatz() const { return FFirma_Zusatz; }
    void SetFirma_Zusatz(const QString& wert) { FFirma_Zusatz = wert; }
    const QString& Geschlecht_ID() const { return FGeschlecht_ID; }
    void SetGeschlecht_ID(const QString& wert) { FGeschlecht_ID = wert; }
    const QString& Anrede_ID() const { return FAnrede_ID; }
    void SetAnrede_ID(const QString& wert) { FAnrede_ID = wert; }
    // Filled by the load only, as are PLZ, Ort and Land.
    const QString& Anrede() const { return FAnrede; }
    void SetAnrede(const QString& wert) { FAnrede = wert; }
    const QString& Titel_ID() const { return FTitel_ID; }
    void SetTitel_ID(const QString& wert) { FTitel_ID = wert; }
    const QString& Nachname() const { return FNachname; }
    void SetNachname(const QString& wert) { FNachname = wert; }
    const QString& Vorname() const { return FVorname; }
    void SetVorname(const QString& wert) { FVorname = wert; }
    const QString& Strasse1() const { return FStrasse1; }
    void SetStrasse1(const QString& wert) { FStrasse1 = wert; }
    const QString& Strasse2() const { return FStrasse2; }
    void SetStrasse2(const QString& wert) { FStrasse2 = wert; }
    const QString& Postfach() const { return FPostfach; }
    void SetPostfach(const QString& wert) { FPostfach = wert; }
    const QString& PLZ_ID() const { return FPLZ_ID; }
    void SetPLZ_ID(const QString& wert) { FPLZ_ID = wert; }
    const QString& PLZ() const { return FPLZ; }
    void SetPLZ(const QString& wert) { FPLZ = wert; }
    const QString& Ort() const { return FOrt; }
    void SetOrt(const QString& wert) { FOrt = wert; }
    const QString& Land() const { return FLand; }
    void SetLand(const QString& wert) { FLand = wert; }
    const QString& Tel_P() const { return FTel_P; }
    void SetTel_P(const QString& wert) { FTel_P = wert; }
    const QString& Handy() const { return FHandy; }
    void SetHandy(const QString& wert) { FHandy = wert; }
    const QString& Tel_G1() const { return FTel_G1; }
    void SetTel_G1(const QString& wert) { FTel_G1 = wert; }
    const QString& Tel_G2() const { return FTel_G2; }
    void SetTel_G2(const QString& wert) { FTel_G2 = wert; }
    const QString& Fax_P() const { return FFax_P; }
    void SetFax_P(const QString& wert) { FFax_P = wert; }
    const QString& Fax_G() const { return FFax_G; }
    void SetFax_G(const QString& wert) { FFax_G = wert; }
    const QString& Email_P() const { return FEmail_P; }
    void SetEmail_P(const QString& wert) { FEmail_P = wert; }
    const QString& Email_G() const { return FEmail_G; }
    void SetEmail_G(const QString& wert) { FEmail_G = wert; }
    const QString& Internet() const { return FInternet; }
    void SetInternet(const QString& wert) { FInternet = wert; }
    // dd.mm.yyyy; "01.01.1000" means none.
    const QString& Geburtstag() const { return FGeburtstag; }
    void SetGeburtstag(const QString& wert) { FGeburtstag = wert; }
    const QString& Zivilstand_ID() const { return FZivilstand_ID; }
    void SetZivilstand_ID(const QString& wert) { FZivilstand_ID = wert; }
    // No operation fills it.
    const QString& Zivilstand() const { return FZivilstand; }
    void SetZivilstand(const QString& wert) { FZivilstand = wert; }
    // Bank accounts.
    const QString& Kontoinhaber1() const { return FKontoinhaber1; }
    void SetKontoinhaber1(const QString& wert) { FKontoinhaber1 = wert; }
    const QString& Konto1() const { return FKonto1; }
    void SetKonto1(const QString& wert) { FKonto1 = wert; }
    const QString& Bank1() const { return FBank1; }
    void SetBank1(const QString& wert) { FBank1 = wert; }
    const QString& BLZ1() const { return FBLZ1; }
    void SetBLZ1(const QString& wert) { FBLZ1 = wert; }
    const QString& Iban1() const { return FIban1; }
    void SetIban1(const QString& wert) { FIban1 = wert; }
    const QString& Swift1() const { return FSwift1; }
    void SetSwift1(const QString& wert) { FSwift1 = wert; }
    const QString& Kontoinhaber2() const { return FKontoinhaber2; }
    void SetKontoinhaber2(const QString& wert) { FKontoinhaber2 = wert; }
    const QString& Konto2() const { return FKonto2; }
    void SetKonto2(const QString& wert) { FKonto2 = wert; }
    const QString& Bank2() const { return FBank2; }
    void SetBank2(const QString& wert) { FBank2 = wert; }
    const QString& BLZ2() const { return FBLZ2; }
    void SetBLZ2(const QString& wert) { FBLZ2 = wert; }
    const QString& Iban2() const { return FIban2; }
    void SetIban2(const QString& wert) { FIban2 = wert; }
    const QString& Swift2() const { return FSwift2; }
    void SetSwift2(const QString& wert) { FSwift2 = wert; }
    // Role flags and the kind row's deleted mark: true exactly for "J" in the database.
    bool Mitarbeiter() const { return FMitarbeiter; }
    void SetMitarbeiter(bool wert) { FMitarbeiter = wert; }
    bool Debitor() const { return FDebitor; }
    void SetDebitor(bool wert) { FDebitor = wert; }
    bool Kreditor() const { return FKreditor; }
    void SetKreditor(bool wert) { FKreditor = wert; }
    bool Webkontakt() const { return FWebkontakt; }
    void SetWebkontakt(bool wert) { FWebkontakt = wert; }
    bool Geloescht() const { return FGeloescht; }
    void SetGeloescht(bool wert) { FGeloescht = wert; }
    // Employee.
    const QString& Mitarbeiter_ID() const { return FMitarbeiter_ID; }
    void SetMitarbeiter_ID(const QString& wert) { FMitarbeiter_ID = wert; }
    const QString& Abteilung_ID() const { return FAbteilung_ID; }
    void SetAbteilung_ID(const QString& wert) { FAbteilung_ID = wert; }
    const QString& Abteilung() const { return FAbteilung; }
    void SetAbteilung(const QString& wert) { FAbteilung = wert; }
    const QString& Personalnummer() const { return FPersonalnummer; }
    void SetPersonalnummer(const QString& wert) { FPersonalnummer = wert; }
    const QString& Loginname() const { return FLoginname; }
    void SetLoginname(const QString& wert) { FLoginname = wert; }
    const QString& MA_ANG_Status_ID() const { return FMA_ANG_Status_ID; }
    void SetMA_ANG_Status_ID(const QString& wert) { FMA_ANG_Status_ID = wert; }
    // The FOTO column of the contact search's current row, not a copy: it reads nothing
    // once any record has searched again.
    const TDBFeld& Foto() const { return FFoto; }
    void SetFoto(const TDBFeld& wert) { FFoto = wert; }
    // The 32 hexadecimal digits of the password's MD5 digest.
    const QString& Passwort() const { return FPasswort; }
    void SetPasswort(const QString& wert) { FPasswort = wert; }
    // The column's text as read ("J" or "N").
    const QString& Gesperrt() const { return FGesperrt; }
    void SetGesperrt(const QString& wert) { FGesperrt = wert; }
    const QString& Benutzergruppe_ID() const { return FBenutzergruppe_ID; }
    void SetBenutzergruppe_ID(const QString& wert) { FBenutzergruppe_ID = wert; }
    // Multi-line remarks of employees and customers.
    const QString& Anmerkungen() const { return FAnmerkungen; }
    void SetAnmerkungen(const QString& wert) { FAnmerkungen = wert; }
    // Customer.
    const QString& Debitor_ID() const { return FDebitor_ID; }
    void SetDebitor_ID(const QString& wert) { FDebitor_ID = wert; }
    const QString& Debitor_Shop_ID() const { return FDebitor_Shop_ID; }
    void SetDebitor_Shop_ID(const QString& wert) { FDebitor_Shop_ID = wert; }
    const QString& DebitorNr() const { return FDebitorNr; }
    void SetDebitorNr(const QString& wert) { FDebitorNr = wert; }
    const QString& DebitorNr_WE() const { return FDebitorNr_WE; }
    void SetDebitorNr_WE(const QString& wert) { FDebitorNr_WE = wert; }
    const QString& DebitorNr_RE() const { return FDebitorNr_RE; }
    void SetDebitorNr_RE(const QString& wert) { FDebitorNr_RE = wert; }
    const QString& Debitor_seit() const { return FDebitor_seit; }
    void SetDebitor_seit(const QString& wert) { FDebitor_seit = wert; }
    // Terms of customers and suppliers.
    const QString& Skonto_Tage() const { return FSkonto_Tage; }
    void SetSkonto_Tage(const QString& wert) { FSkonto_Tage = wert; }
    const QString& Skonto_Prozent() const { return FSkonto_Prozent; }
    void SetSkonto_Prozent(const QString& wert) { FSkonto_Prozent = wert; }
    const QString& Zahlungsziel() const { return FZahlungsziel; }
    void SetZahlungsziel(const QString& wert) { FZahlungsziel = wert; }
    const QString& Kreditlimit() const { return FKreditlimit; }
    void SetKreditlimit(const QString& wert) { FKreditlimit = wert; }
    const QString& Portofrei() const { return FPortofrei; }
    void SetPortofrei(const QString& wert) { FPortofrei = wert; }
    const QString& Rabatt_Prozent() const { return FRabatt_Prozent; }
    void SetRabatt_Prozent(const QString& wert) { FRabatt_Prozent = wert; }
    const QString& Mahnsperre() const { return FMahnsperre; }
    void SetMahnsperre(const QString& wert) { FMahnsperre = wert; }
    const QString& Liefersperre() const { return FLiefersperre; }
    void SetLiefersperre(const QString& wert) { FLiefersperre = wert; }
    const QString& Rechnungssperre() const { return FRechnungssperre; }
    void SetRechnungssperre(const QString& wert) { FRechnungssperre = wert; }
    const QString& Werbung_Brief() const { return FWerbung_Brief; }
    void SetWerbung_Brief(const QString& wert) { FWerbung_Brief = wert; }
    const QString& Werbung_Email() const { return FWerbung_Email; }
    void SetWerbung_Email(const QString& wert) { FWerbung_Email = wert; }
    const QString& Kursprogramm() const { return FKursprogramm; }
    void SetKursprogramm(const QString& wert) { FKursprogramm = wert; }
    const QString& Werbestufe() const { return FWerbestufe; }
    void SetWerbestufe(const QString& wert) { FWerbestufe = wert; }
    const QString& Debitoren_Gruppe_ID() const { return FDebitoren_Gruppe_ID; }
    void SetDebitoren_Gruppe_ID(const QString& wert) { FDebitoren_Gruppe_ID = wert; }
    // Supplier.
    const QString& Kreditor_ID() const { return FKreditor_ID; }
    void SetKreditor_ID(const QString& wert) { FKreditor_ID = wert; }
    const QString& Kreditor_Nr() const { return FKreditor_Nr; }
    void SetKreditor_Nr(const QString& wert) { FKreditor_Nr = wert; }
    const QString& Kunden_Nr() const { return FKunden_Nr; }
    void SetKunden_Nr(const QString& wert) { FKunden_Nr = wert; }
    const QString& Kreditor_Art_PF() const { return FKreditor_Art_PF; }
    void SetKreditor_Art_PF(const QString& wert) { FKreditor_Art_PF = wert; }
    // The supplier's VAT identification (column USTID).
    const QString& MWST_Nr() const { return FMWST_Nr; }
    void SetMWST_Nr(const QString& wert) { FMWST_Nr = wert; }
    // Neither filled nor written by any operation, as is Muster.
    const QString& Kreditor_seit() const { return FKreditor_seit; }
    void SetKreditor_seit(const QString& wert) { FKreditor_seit = wert; }
    const QString& UVP_Bindung() const { return FUVP_Bindung; }
    void SetUVP_Bindung(const QString& wert) { FUVP_Bindung = wert; }
    const QString& Muster() const { return FMuster; }
    void SetMuster(const QString& wert) { FMuster = wert; }
    // Last measurement as dd.mm.yyyy hh:mm:ss (the time left out at midnight); empty when
    // none.
    const QString& Datum_ESD_Messung() const { return FDatum_ESD_Messung; }
    void SetDatum_ESD_Messung(const QString& wert) { FDatum_ESD_Messung = wert; }

protected:
    bool F_NeuerDatensatz = false;
    QString F_KontaktArt;
    QString FKontaktdaten_ID;
    QString FFirma;
    QString FFirma_Zusatz;
    QString FGeschlecht_ID;
    QString FAnrede_ID;
    QString FAnrede;
    QString FTitel_ID;
    QString FNachname;
    QString FVorname;
    QString FStrasse1;
    QString FStrasse2;
    QString FPostfach;
    QString FPLZ_ID;
    QString FPLZ;
    QString FOrt;
    QString FLand;
    QString FTel_P;
    QString FHandy;
    QString FTel_G1;
    QString FTel_G2;
    QString FFax_P;
    QString FFax_G;
    QString FEmail_P;
    QString FEmail_G;
    QString FInternet;
    QString FGeburtstag;
    QString FZivilstand_ID;
    QString FZivilstand;
    QString FKontoinhaber1;
    QString FKonto1;
    QString FBLZ1;
    QString FBank1;
    QString FIban1;
    QString FSwift1;
    QString FKontoinhaber2;
    QString FKonto2;
    QString FBLZ2;
    QString FBank2;
    QString FIban2;
    QString FSwift2;
    bool FMitarbeiter = false;
    bool FDebitor = false;
    bool FKreditor = false;
    bool FWebkontakt = false;
    bool FGeloescht = false;
    QString FMitarbeiter_ID;
    QString FAbteilung_ID;
    QString FGesperrt;
    QString FPasswort;
    QString FBenutzergruppe_ID;
    QString FAnmerkungen;
    QString FMA_ANG_Status_ID;
    QString FLoginname;
    TDBFeld FFoto;
    QString FPersonalnummer;
    QString FDebitor_ID;
    QString FAbteilung;
    QString FDebitor_Shop_ID;
    QString FDebitorNr;
    QString FDebitorNr_WE;
    QString FDebitorNr_RE;
    QString FDebitor_seit;
    QString FSkonto_Tage;
    QString FSkonto_Prozent;
    QString FZahlungsziel;
    QString FKreditlimit;
    QString FPortofrei;
    QString FRabatt_Prozent;
    QString FMahnsperre;
    QString FLiefersperre;
    QString FRechnungssperre;
    QString FWerbung_Brief;
    QString FWerbung_Email;
    QString FKursprogramm;
    QString FWerbestufe;
    QString FDebitoren_Gruppe_ID;
    QString FKreditor_ID;
    QString FKreditor_Nr;
    QString FKunden_Nr;
    QString FKreditor_Art_PF;
    QString FMWST_Nr;
    QString FKreditor_seit;
    QString FUVP_Bindung;
    QString FMuster;
    QString FDatum_ESD_Messung;
};

class TfdmDB_Key;
class TfdmKontakt;

class TKontakt : public TgsKontakt
{
public:
    // Searches, loads and saves through the module's queries, which all its records share.
    explicit TKontakt(TfdmKontakt& kontakte) : FKontakte(kontakte) {}
    // A record that also saves: the save reads start numbers and the default password from
    // the option store, on behalf of that user.
    TKontakt(TfdmKontakt& kontakte, TfdmDB_Key& optionen, const TUser& benutzer)
        : FKontakte(kontakte), FOptionen(&optionen), FBenutzer(&benutzer)
    {}

    // Rebuilds the shared contact search for this record's kind and opens it, positioned on
    // the first row. DBIndexfeld names the column the term is matched against (whole value
    // for the two key columns, the beginning otherwise; "%" and "_" are wildcards) and the
    // first sort key. An index field of no known column takes the term as the condition
    // itself: that term is SQL and must come from code, never from a user. A failure is
    // silent and leaves the search closed.
    void Suchen(const QString& Suchbegriff, const QString& DBIndexfeld, bool SortUp);
    // The same, including contacts whose kind row is marked deleted.
    void SuchenInklGeloeschterDS(const QString& Suchbegriff, const QString& DBIndexfeld,
                                 bool SortUp);
    // Copies the search's current row into the record and returns true; tells the user,
    // changes nothing and returns false unless the search found exactly one contact. Other
    // failures throw to the caller.
    bool LadeDaten();
    bool Datenpruefung() const { return true; }

    // The save, defined in ts_schreiben, which only tools and tests link.
    // Writes the KONTAKTDATEN row and then the kind's row; with NeuerDatensatz set both are
    // inserted first and their new keys taken into the record. False when the common part
    // or the customer step failed; rows already written stay.
    bool SpeichereDaten();
    // Throws on failure.
    bool SpeichereDaten_Debitor();
    // Confirm success or failure to the user themselves; false after a failure.
    bool SpeichereDaten_Kreditor();
    // Silent; false after a failure.
    bool SpeichereDaten_Mitarbeiter();

    // True only while SuchenInklGeloeschterDS runs.
    bool bGeloeschteDS = false;

    // The option store's module and user of a record that saves; null otherwise.
    TfdmDB_Key* Optionsmodul() const { return FOptionen; }
    const TUser* Benutzer() const { return FBenutzer; }

private:
    TfdmKontakt& FKontakte;
    TfdmDB_Key* FOptionen = nullptr;
    const TUser* FBenutzer = nullptr;
};
