// Contact records: the save, with the write rules of the shared contact tables.
#include "uKontakt.h"

#include "DBWerte.h"
#include "KontaktSpalten.h"
#include "ToolHashMD5.h"
#include "uDB_Key.h"
#include "uFehler.h"
#include "uGlobal.h"
#include "uMeldung.h"
#include "ufdmDB_Key.h"
#include "ufdmKontakt.h"

#include <QDate>

#include <variant>

using namespace Qt::Literals::StringLiterals;

namespace {

QString JN(bool wert)
{
    return wert ? u"J"_s : u"N"_s;
}

// A key that stands in a statement without quotes must be a number, or it could change the
// statement.
QString Zahlschluessel(const QString& schluessel)
{
    return QString::number(StrToInt(schluessel));
}

// A key inside double quotes, escaped so that it cannot end them.
QString InAnfuehrung(const QString& schluessel)
{
    return u"\""_s + DBWerte::TextMaskiert(schluessel) + u"\""_s;
}

// Optional references are numbers in the database; an empty one is stored as no reference,
// which reads back as the empty text.
void SetzeVerweis(TDBParameter& parameter, const QString& schluessel)
{
    if (schluessel.isEmpty())
        parameter.Clear();
    else
        parameter.SetAsString(schluessel);
}

QDate DatumAusText(const QString& text)
{
    const QDate datum = QDate::fromString(text, u"d.M.yyyy"_s);
    if (!datum.isValid())
        throw EUmwandlungsfehler(u"'%1' ist kein gültiges Datum"_s.arg(text));
    return datum;
}

// Fills the parameters that the column table gives to the update named by teil; an empty field
// is written as its default and, unless marked otherwise, takes the default itself.
void FuelleParameter(TgsKontakt& kontakt, TDBAbfrage& qu, unsigned teil)
{
    for (const TKontaktSpalte& spalte : TKontaktSpalte::Tabelle()) {
        if (!(spalte.schreiben & teil))
            continue;
        TDBParameter& parameter = qu.ParamByName(spalte.spalte);
        if (spalte.art == TKontaktSpalte::Art::Flagge) {
            parameter.SetAsString(JN(kontakt.*std::get<bool TgsKontakt::*>(spalte.feld)));
            continue;
        }
        QString& feld = kontakt.*std::get<QString TgsKontakt::*>(spalte.feld);
        QString wert = feld;
        if (wert.isEmpty() && !spalte.vorgabe.isEmpty()) {
            wert = spalte.vorgabe;
            if (!(spalte.merkmale & TKontaktSpalte::VorgabeNurGeschrieben))
                feld = wert;
        }
        switch (spalte.art) {
        case TKontaktSpalte::Art::Memo:
            parameter.SetAsMemo(wert);
            break;
        case TKontaktSpalte::Art::Verweis:
            SetzeVerweis(parameter, wert);
            break;
        case TKontaktSpalte::Art::Datum:
            parameter.SetAsDate(DatumAusText(wert));
            break;
        case TKontaktSpalte::Art::Text:
        case TKontaktSpalte::Art::FlaggeAlsText:
        case TKontaktSpalte::Art::Flagge:
        case TKontaktSpalte::Art::Foto:
            parameter.SetAsString(wert);
            break;
        }
    }
}

QString LetzteEinfuegung(TDBAbfrage& qu)
{
    qu.SQL().SetText(u"Select LAST_INSERT_ID()"_s);
    qu.Open();
    return qu.Fields(0).AsString();
}

// Only a record made with the option store can save; the station's records never do.
TDB_Key Optionen(const TKontakt& kontakt)
{
    if (kontakt.Optionsmodul() == nullptr || kontakt.Benutzer() == nullptr)
        throw EFehler(u"EKontakt"_s, u"Der Kontakt wurde ohne Optionsspeicher angelegt und kann "
                                     u"nicht gespeichert werden."_s);
    return TDB_Key(*kontakt.Optionsmodul(), *kontakt.Benutzer());
}

} // namespace

bool TKontakt::SpeichereDaten()
{
    TDBAbfrage& qu = FKontakte.quSpeichern;
    bool ergebnis = true;
    try {
        if (NeuerDatensatz()) {
            if (KontaktArt() == u"Debitor")
                SetDebitor(true);
            if (KontaktArt() == u"Kreditor")
                SetKreditor(true);
            if (KontaktArt() == u"Mitarbeiter")
                SetMitarbeiter(true);
            qu.SQL().SetText(u"Insert Into KONTAKTDATEN Set GELOESCHT   = \"N\" "_s);
            qu.ExecSQL();
            SetKontaktdaten_ID(LetzteEinfuegung(qu));
        }

        qu.SQL().SetText(
            u"Update KONTAKTDATEN Set ANREDE_ID     = :Anrede_ID, TITEL_ID      = :Titel_ID,  "
            u"GESCHLECHT_ID = :Geschlecht_ID,    FIRMA         = :Firma,         FIRMA_ZUSATZ  "
            u"= :Firma_Zusatz,  VORNAME       = :Vorname,  NACHNAME      = :Nachname, ABTEILUNG "
            u"    = :Abteilung,   STRASSE1      = :Strasse1, STRASSE2      = :Strasse2, POSTFACH "
            u"     = :Postfach, PLZ_ID        = :PLZ_ID,   TEL_P         = :Tel_P,    FAX_P      "
            u"   = :Fax_P,    TEL_G1        = :Tel_G1,   TEL_G2        = :Tel_G2,   FAX_G        "
            u" = :Fax_G,    HANDY         = :Handy,    EMAIL_P       = :Email_P,  EMAIL_G       = "
            u":Email_G,  INTERNET      = :Internet, GEBURTSTAG    = :Geburtstag,    ZIVILSTAND_ID "
            u"= :Zivilstand_ID, KONTOINHABER1 = :Kontoinhaber1, KONTO1        = :Konto1,        "
            u"BANK1         = :Bank1,         BLZ1          = :BLZ1,          IBAN1         = "
            u":Iban1,         SWIFT1        = :Swift1,        KONTOINHABER2 = :Kontoinhaber2, "
            u"KONTO2        = :Konto2,        BANK2         = :Bank2,         BLZ2          = "
            u":BLZ2,          IBAN2         = :Iban2,         SWIFT2        = :Swift2,        "
            u"MITARBEITER   = :Mitarbeiter, DEBITOR       = :Debitor,     KREDITOR      = "
            u":Kreditor,    WEBKONTAKT    = :Webkontakt   WHERE KONTAKTDATEN_ID = "_s +
            InAnfuehrung(Kontaktdaten_ID()));
        FuelleParameter(*this, qu, TKontaktSpalte::Kontaktdaten);
        qu.ExecSQL();

        // The supplier and employee steps report their own failures; their results do not
        // change this one.
        if (KontaktArt() == u"Debitor")
            SpeichereDaten_Debitor();
        if (KontaktArt() == u"Kreditor")
            SpeichereDaten_Kreditor();
        if (KontaktArt() == u"Mitarbeiter")
            SpeichereDaten_Mitarbeiter();
    } catch (const std::exception&) {
        ergebnis = false;
    }
    return ergebnis;
}

bool TKontakt::SpeichereDaten_Debitor()
{
    TDBAbfrage& qu = FKontakte.quSpeichern;
    TDB_Key optionen = Optionen(*this);
    if (NeuerDatensatz()) {
        qu.SQL().SetText(
            u"Insert Into DEBITOREN Set DEBITOR_SEIT = :Debitor_Seit, KONTAKTDATEN_ID = "_s +
            Zahlschluessel(Kontaktdaten_ID()) + u", GELOESCHT = \"N\""_s);
        qu.ParamByName(u"DEBITOR_SEIT"_s).SetAsDate(QDate::currentDate());
        qu.ExecSQL();
        SetDebitor_ID(LetzteEinfuegung(qu));
        const qint64 schluessel = qu.Fields(0).AsInteger();
        const qint64 start = StrToInt(optionen.LeseKey(u"Debitor"_s, u"Startnummer"_s));
        SetDebitorNr(QString::number(schluessel + start - 1));
    }

    qu.SQL().SetText(
        u"Update DEBITOREN Set DEBITORNR           = :DebitorNr ,    WERBUNG_BRIEF       = "
        u":Werbung_Brief, WERBUNG_EMAIL       = :Werbung_Email, KURSPROGRAMM        = "
        u":Kursprogramm,  WERBESTUFE          = :Werbestufe,    DEBITOREN_GRUPPE_ID = "
        u":Debitoren_Gruppe_ID, DEBITORNR_RE        = :DebitorNr_RE,    DEBITORNR_WE        = "
        u":DebitorNr_WE,    DEBITOR_SHOP_ID     = :Debitor_Shop_ID, SKONTO_TAGE         = "
        u":Skonto_Tage,     SKONTO_PROZENT      = :Skonto_Prozent,  RABATT_PROZENT      = "
        u":Rabatt_Prozent,  ZAHLUNGSZIEL        = :Zahlungsziel,    KREDITLIMIT         = "
        u":Kreditlimit,     PORTOFREI           = :Portofrei,       MAHNSPERRE          = "
        u":Mahnsperre,      LIEFERSPERRE        = :Liefersperre,    RECHNUNGSSPERRE     = "
        u":Rechnungssperre, ANMERKUNGEN         = :Anmerkungen, GELOESCHT           = :Geloescht "
        u"     WHERE KONTAKTDATEN_ID    = "_s +
        InAnfuehrung(Kontaktdaten_ID()));
    FuelleParameter(*this, qu, TKontaktSpalte::Debitor);
    // Goods and invoice recipient are always the customer itself.
    qu.ParamByName(u"DEBITORNR_RE"_s).SetAsString(DebitorNr());
    qu.ParamByName(u"DEBITORNR_WE"_s).SetAsString(DebitorNr());
    qu.ExecSQL();
    SetNeuerDatensatz(false);
    return true;
}

bool TKontakt::SpeichereDaten_Kreditor()
{
    TDBAbfrage& qu = FKontakte.quSpeichern;
    try {
        if (NeuerDatensatz()) {
            qu.SQL().SetText(u"Insert Into KREDITOREN Set KONTAKTDATEN_ID = :Kontaktdaten_ID , "
                             u"NAE_FREIE_ARTNR = :Nae_freie_ArtNr, KREDITOR_SEIT   = "
                             u":Kreditor_seit,    GELOESCHT = \"N\""_s);
            qu.ParamByName(u"NAE_FREIE_ARTNR"_s).SetAsString(u"1"_s);
            qu.ParamByName(u"KREDITOR_SEIT"_s).SetAsDate(QDate::currentDate());
            qu.ParamByName(u"KONTAKTDATEN_ID"_s).SetAsString(Kontaktdaten_ID());
            qu.ExecSQL();

            TDB_Key optionen = Optionen(*this);
            SetKreditor_ID(LetzteEinfuegung(qu));
            const qint64 schluessel = qu.Fields(0).AsInteger();
            const qint64 start = StrToInt(optionen.LeseKey(u"KREDITOR"_s, u"STARTNUMMER"_s));
            SetKreditor_Nr(QString::number(schluessel + start - 1));
        }

        qu.SQL().SetText(u"Update KREDITOREN Set KREDITOR_NR       = :Kreditor_Nr,      "
                         u"KUNDEN_NR         = :Kunden_Nr,        GELOESCHT         = :Geloescht "
                         u"   WHERE KONTAKTDATEN_ID = "_s +
                         InAnfuehrung(Kontaktdaten_ID()));
        FuelleParameter(*this, qu, TKontaktSpalte::Kreditor);
        qu.ExecSQL();

        SetNeuerDatensatz(false);
        Meldung::Kurz(u"Gespeichert!"_s, QString());
        return true;
    } catch (const std::exception&) {
        Meldung::Zeigen(Meldung::Art::Hinweis, u"NICHT gespeichert"_s);
        return false;
    }
}

bool TKontakt::SpeichereDaten_Mitarbeiter()
{
    TDBAbfrage& qu = FKontakte.quSpeichern;
    try {
        // Read for existing employees too, so that a missing option is always reported.
        const QString standardPasswort =
            MD5HexVonText(Optionen(*this).LeseKey(u"Mitarbeiter"_s, u"StandardPasswort"_s));

        if (NeuerDatensatz()) {
            // The placeholders live only until the update right after.
            qu.SQL().SetText(u"Insert Into MITARBEITER Set PERSONALNUMMER = \"0000\",    "
                             u"LOGINNAME = \"0000\",         KONTAKTDATEN_ID = "_s +
                             Zahlschluessel(Kontaktdaten_ID()) +
                             u", MA_ANG_STATUS_ID = \"1\",     BENUTZERGRUPPE_ID = \"1\",    "
                             u"PASSWORT = \""_s +
                             standardPasswort +
                             u"\", GESPERRT = \"N\",             GELOESCHT  = \"N\""_s);
            qu.ExecSQL();
            SetMitarbeiter_ID(LetzteEinfuegung(qu));
            SetPasswort(standardPasswort);
        }

        qu.SQL().SetText(
            u"Update MITARBEITER Set PASSWORT           = :Passwort,  BENUTZERGRUPPE_ID  = "
            u":Benutzergruppe_ID, ABTEILUNG_ID       = :Abteilung_ID,  ANMERKUNGEN        = "
            u":Anmerkungen, MA_ANG_STATUS_ID   = :MA_Ang_Status_ID, LOGINNAME          = "
            u":Loginname, PERSONALNUMMER     = :Personalnummer, KONTAKTDATEN_ID    = "_s +
            InAnfuehrung(Kontaktdaten_ID()) + u", GELOESCHT          = :Geloescht    "_s +
            u"WHERE MITARBEITER_ID = "_s + InAnfuehrung(Mitarbeiter_ID()));
        FuelleParameter(*this, qu, TKontaktSpalte::Mitarbeiter);
        qu.ExecSQL();

        SetNeuerDatensatz(false);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
