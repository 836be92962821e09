// The table of contact columns that Init, the load and the save go through.
#include "KontaktSpalten.h"

using namespace Qt::Literals::StringLiterals;

const std::vector<TKontaktSpalte>& TKontaktSpalte::Tabelle()
{
    // Column, field, kind, loaded for, written by, default, marks.
    static const std::vector<TKontaktSpalte> tabelle{
        {u"KONTAKTDATEN_ID"_s, &TgsKontakt::FKontaktdaten_ID, Art::Text, Jede, Kein},
        {u"GESCHLECHT_ID"_s, &TgsKontakt::FGeschlecht_ID, Art::Text, Jede, Kontaktdaten, u"1"_s},
        {u"ANREDE_ID"_s, &TgsKontakt::FAnrede_ID, Art::Text, Jede, Kontaktdaten, u"1"_s},
        {u"ANREDE"_s, &TgsKontakt::FAnrede, Art::Text, Jede, Kein},
        {u"TITEL_ID"_s, &TgsKontakt::FTitel_ID, Art::Text, Jede, Kontaktdaten, u"1"_s},
        {u"FIRMA"_s, &TgsKontakt::FFirma, Art::Text, Jede, Kontaktdaten},
        {u"FIRMA_ZUSATZ"_s, &TgsKontakt::FFirma_Zusatz, Art::Text, Jede, Kontaktdaten},
        {u"VORNAME"_s, &TgsKontakt::FVorname, Art::Text, Jede, Kontaktdaten},
        {u"NACHNAME"_s, &TgsKontakt::FNachname, Art::Text, Jede, Kontaktdaten},
        {u"ABTEILUNG"_s, &TgsKontakt::FAbteilung, Art::Text, Jede, Kontaktdaten},
        {u"STRASSE1"_s, &TgsKontakt::FStrasse1, Art::Text, Jede, Kontaktdaten},
        {u"STRASSE2"_s, &TgsKontakt::FStrasse2, Art::Text, Jede, Kontaktdaten},
        {u"POSTFACH"_s, &TgsKontakt::FPostfach, Art::Text, Jede, Kontaktdaten},
        {u"PLZ_ID"_s, &TgsKontakt::FPLZ_ID, Art::Verweis, Jede, Kontaktdaten},
        {u"PLZ"_s, &TgsKontakt::FPLZ, Art::Text, Jede, Kein},
        {u"ORT"_s, &TgsKontakt::FOrt, Art::Text, Jede, Kein},
        {u"LAND"_s, &TgsKontakt::FLand, Art::Text, Jede, Kein},
        {u"TEL_P"_s, &TgsKontakt::FTel_P, Art::Text, Jede, Kontaktdaten},
        {u"TEL_G1"_s, &TgsKontakt::FTel_G1, Art::Text, Jede, Kontaktdaten},
        {u"TEL_G2"_s, &TgsKontakt::FTel_G2, Art::Text, Jede, Kontaktdaten},
        {u"FAX_P"_s, &TgsKontakt::FFax_P, Art::Text, Jede, Kontaktdaten},
        {u"FAX_G"_s, &TgsKontakt::FFax_G, Art::Text, Jede, Kontaktdaten},
        {u"HANDY"_s, &TgsKontakt::FHandy, Art::Text, Jede, Kontaktdaten},
        {u"EMAIL_P"_s, &TgsKontakt::FEmail_P, Art::Text, Jede, Kontaktdaten},
        {u"EMAIL_G"_s, &TgsKontakt::FEmail_G, Art::Text, Jede, Kontaktdaten},
        {u"INTERNET"_s, &TgsKontakt::FInternet, Art::Text, Jede, Kontaktdaten},
        {u"GEBURTSTAG"_s, &TgsKontakt::FGeburtstag, Art::Datum, Jede, Kontaktdaten,
         u"01.01.1000"_s},
        {u"KONTOINHABER1"_s, &TgsKontakt::FKontoinhaber1, Art::Text, Jede, Kontaktdaten},
        {u"KONTO1"_s, &TgsKontakt::FKonto1, Art::Text, Jede, Kontaktdaten},
        {u"BANK1"_s, &TgsKontakt::FBank1, Art::Text, Jede, Kontaktdaten},
        {u"BLZ1"_s, &TgsKontakt::FBLZ1, Art::Text, Jede, Kontaktdaten},
        {u"IBAN1"_s, &TgsKontakt::FIban1, Art::Text, Jede, Kontaktdaten},
        {u"SWIFT1"_s, &TgsKontakt::FSwift1, Art::Text, Jede, Kontaktdaten},
        {u"KONTOINHABER2"_s, &TgsKontakt::FKontoinhaber2, Art::Text, Jede, Kontaktdaten},
        {u"KONTO2"_s, &TgsKontakt::FKonto2, Art::Text, Jede, Kontaktdaten},
        {u"BANK2"_s, &TgsKontakt::FBank2, Art::Text, Jede, Kontaktdaten},
        {u"BLZ2"_s, &TgsKontakt::FBLZ2, Art::Text, Jede, Kontaktdaten},
        {u"IBAN2"_s, &TgsKontakt::FIban2, Art::Text, Jede, Kontaktdaten},
        {u"SWIFT2"_s, &TgsKontakt::FSwift2, Art::Text, Jede, Kontaktdaten},
        {u"MITARBEITER"_s, &TgsKontakt::FMitarbeiter, Art::Flagge, Jede, Kontaktdaten},
        {u"DEBITOR"_s, &TgsKontakt::FDebitor, Art::Flagge, Jede, Kontaktdaten},
        {u"KREDITOR"_s, &TgsKontakt::FKreditor, Art::Flagge, Jede, Kontaktdaten},
        {u"WEBKONTAKT"_s, &TgsKontakt::FWebkontakt, Art::Flagge, Jede, Kontaktdaten},
        {u"GELOESCHT"_s, &TgsKontakt::FGeloescht, Art::Flagge, Jede,
         Mitarbeiter | Debitor | Kreditor},
        {u"DEBITOREN_GRUPPE_ID"_s, &TgsKontakt::FDebitoren_Gruppe_ID, Art::Text, Debitor, Debitor,
         u"0"_s, VorgabeNurGeschrieben},
        {u"DEBITOR_ID"_s, &TgsKontakt::FDebitor_ID, Art::Text, Debitor, Kein},
        {u"DEBITOR_SHOP_ID"_s, &TgsKontakt::FDebitor_Shop_ID, Art::Text, Debitor, Debitor, u"-1"_s,
         VorgabeNurGeschrieben},
        {u"DEBITORNR"_s, &TgsKontakt::FDebitorNr, Art::Text, Debitor, Debitor},
        {u"DEBITORNR_WE"_s, &TgsKontakt::FDebitorNr_WE, Art::Text, Debitor, Kein},
        {u"DEBITORNR_RE"_s, &TgsKontakt::FDebitorNr_RE, Art::Text, Debitor, Kein},
        {u"DEBITOR_SEIT"_s, &TgsKontakt::FDebitor_seit, Art::Text, Debitor, Kein},
        {u"PORTOFREI"_s, &TgsKontakt::FPortofrei, Art::Text, Debitor, Debitor},
        {u"MAHNSPERRE"_s, &TgsKontakt::FMahnsperre, Art::Text, Debitor, Debitor},
        {u"RECHNUNGSSPERRE"_s, &TgsKontakt::FRechnungssperre, Art::Text, Debitor, Debitor},
        {u"LIEFERSPERRE"_s, &TgsKontakt::FLiefersperre, Art::Text, Debitor, Debitor},
        {u"WERBUNG_BRIEF"_s, &TgsKontakt::FWerbung_Brief, Art::Text, Debitor, Debitor},
        {u"WERBUNG_EMAIL"_s, &TgsKontakt::FWerbung_Email, Art::Text, Debitor, Debitor},
        {u"KURSPROGRAMM"_s, &TgsKontakt::FKursprogramm, Art::Text, Debitor, Debitor},
        {u"WERBESTUFE"_s, &TgsKontakt::FWerbestufe, Art::Text, Debitor, Debitor},
        {u"SKONTO_TAGE"_s, &TgsKontakt::FSkonto_Tage, Art::Text, Debitor | Kreditor, Debitor},
        {u"SKONTO_PROZENT"_s, &TgsKontakt::FSkonto_Prozent, Art::Text, Debitor | Kreditor, Debitor},
        {u"ZAHLUNGSZIEL"_s, &TgsKontakt::FZahlungsziel, Art::Text, Debitor | Kreditor, Debitor},
        {u"KREDITLIMIT"_s, &TgsKontakt::FKreditlimit, Art::Text, Debitor | Kreditor, Debitor},
        {u"RABATT_PROZENT"_s, &TgsKontakt::FRabatt_Prozent, Art::Text, Debitor | Kreditor, Debitor},
        {u"KREDITOR_ART_PF"_s, &TgsKontakt::FKreditor_Art_PF, Art::Text, Kreditor, Kein, QString(),
         InitBehaelt},
        {u"USTID"_s, &TgsKontakt::FMWST_Nr, Art::Text, Kreditor, Kein, QString(), InitBehaelt},
        {u"UVP_BINDUNG"_s, &TgsKontakt::FUVP_Bindung, Art::FlaggeAlsText, Kreditor, Kein, QString(),
         InitBehaelt},
        {u"KREDITOR_NR"_s, &TgsKontakt::FKreditor_Nr, Art::Text, Kreditor, Kreditor, QString(),
         InitBehaelt},
        {u"KREDITOR_ID"_s, &TgsKontakt::FKreditor_ID, Art::Text, Kreditor, Kein, QString(),
         InitBehaelt},
        {u"KUNDEN_NR"_s, &TgsKontakt::FKunden_Nr, Art::Text, Kreditor, Kreditor, QString(),
         InitBehaelt},
        {u"MITARBEITER_ID"_s, &TgsKontakt::FMitarbeiter_ID, Art::Text, Mitarbeiter, Kein},
        {u"PERSONALNUMMER"_s, &TgsKontakt::FPersonalnummer, Art::Text, Mitarbeiter, Mitarbeiter},
        {u"LOGINNAME"_s, &TgsKontakt::FLoginname, Art::Text, Mitarbeiter, Mitarbeiter},
        {u"MA_ANG_STATUS_ID"_s, &TgsKontakt::FMA_ANG_Status_ID, Art::Text, Mitarbeiter, Mitarbeiter,
         u"1"_s},
        {u"ZIVILSTAND_ID"_s, &TgsKontakt::FZivilstand_ID, Art::Verweis, Mitarbeiter, Kontaktdaten},
        {u"FOTO"_s, &TgsKontakt::FFoto, Art::Foto, Mitarbeiter, Kein},
        {u"PASSWORT"_s, &TgsKontakt::FPasswort, Art::Text, Mitarbeiter, Mitarbeiter},
        {u"GESPERRT"_s, &TgsKontakt::FGesperrt, Art::Text, Mitarbeiter, Kein},
        {u"BENUTZERGRUPPE_ID"_s, &TgsKontakt::FBenutzergruppe_ID, Art::Text, Mitarbeiter,
         Mitarbeiter, u"1"_s},
        {u"ABTEILUNG_ID"_s, &TgsKontakt::FAbteilung_ID, Art::Text, Mitarbeiter, Mitarbeiter,
         u"1"_s},
        {u"DATUM_ESD_MESSUNG"_s, &TgsKontakt::FDatum_ESD_Messung, Art::Text, Mitarbeiter, Kein,
         QString(), InitBehaelt},
        {u"ANMERKUNGEN"_s, &TgsKontakt::FAnmerkungen, Art::Memo, Jede, Mitarbeiter | Debitor},
        {QString(), &TgsKontakt::FZivilstand, Art::Text, Kein, Kein},
    };
    return tabelle;
}

unsigned TKontaktSpalte::TeilVon(const QString& kontaktArt)
{
    if (kontaktArt == u"Mitarbeiter")
        return Mitarbeiter;
    if (kontaktArt == u"Debitor")
        return Debitor;
    if (kontaktArt == u"Kreditor")
        return Kreditor;
    return Andere;
}
