// Every value travels as a parameter of the layer; photos as binary parameters.
#include "Anlegen.h"

#include "Avatar.h"
#include "DBAbfrage.h"
#include "DBVerbindung.h"
#include "Demofirma.h"
#include "uFehler.h"

#include <QHash>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace Demofirma {
namespace {

// Rows per insert statement of the measurement history: few round trips, small statements.
constexpr size_t kZeilenJeAnweisung = 100;

QString JN(bool wert)
{
    return wert ? u"J"_s : u"N"_s;
}

void Text(TDBAbfrage& qu, const QString& name, const QString& wert)
{
    if (wert.isEmpty())
        qu.ParamByName(name).Clear();
    else
        qu.ParamByName(name).SetAsString(wert);
}

void Zahl(TDBAbfrage& qu, const QString& name, int wert)
{
    qu.ParamByName(name).SetAsString(QString::number(wert));
}

void LeerPruefen(TDBAbfrage& qu)
{
    qu.SQL().Clear();
    qu.SQL().Add(u"SELECT (SELECT COUNT(*) FROM MITARBEITER WHERE MITARBEITER_ID > 1) AS MA,"_s);
    qu.SQL().Add(u"(SELECT COUNT(*) FROM VORGABEN_ABTEILUNG WHERE ABTEILUNG_ID > 1) AS AB,"_s);
    qu.SQL().Add(u"(SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE) AS ME"_s);
    qu.Open();
    const int mitarbeiter = qu.FieldByName(u"MA"_s).AsInteger();
    const int abteilungen = qu.FieldByName(u"AB"_s).AsInteger();
    const int messungen = qu.FieldByName(u"ME"_s).AsInteger();
    qu.Close();
    if (mitarbeiter == 0 && abteilungen == 0 && messungen == 0)
        return;
    throw EFehler(u"EDatenbankNichtLeer"_s,
                  u"Die Datenbank enthält bereits %1 Mitarbeiter, %2 Abteilungen und %3 "
                  u"Messungen (ohne die Platzhalter mit Schlüssel 1). Die Demofirma wird nur in "
                  u"eine leere Datenbank geschrieben; es wurde nichts geändert."_s.arg(mitarbeiter)
                      .arg(abteilungen)
                      .arg(messungen));
}

// Lookup keys by their texts; one statement per text at most.
class TNachschlagen
{
public:
    explicit TNachschlagen(TDBAbfrage& qu) : FQu(qu) {}

    // Table and column names are the program's own constants, never input.
    int Schluessel(const QString& tabelle, const QString& schluessel, const QString& spalte,
                   const QString& text)
    {
        const QString merker = tabelle + u'\n' + text;
        if (const auto bekannt = FBekannt.constFind(merker); bekannt != FBekannt.cend())
            return *bekannt;
        FQu.SQL().Clear();
        FQu.SQL().Add(u"SELECT %1 FROM %2 WHERE %3 = :Text ORDER BY %1 LIMIT 1"_s.arg(
            schluessel, tabelle, spalte));
        FQu.ParamByName(u"Text"_s).SetAsString(text);
        const int id = Gefunden(schluessel, [&] {
            FQu.SQL().Clear();
            FQu.SQL().Add(u"INSERT INTO %1 (%2) VALUES (:Text)"_s.arg(tabelle, spalte));
            FQu.ParamByName(u"Text"_s).SetAsString(text);
        });
        FBekannt.insert(merker, id);
        return id;
    }

    int Ort(int land, const QString& plz, const QString& ort)
    {
        const QString merker = u"PLZ\n"_s + plz + u'\n' + ort;
        if (const auto bekannt = FBekannt.constFind(merker); bekannt != FBekannt.cend())
            return *bekannt;
        const auto binden = [&] {
            Zahl(FQu, u"Land"_s, land);
            FQu.ParamByName(u"Plz"_s).SetAsString(plz);
            FQu.ParamByName(u"Ort"_s).SetAsString(ort);
        };
        FQu.SQL().Clear();
        FQu.SQL().Add(u"SELECT PLZ_ID FROM PLZ WHERE PLZ = :Plz AND ORT = :Ort AND "
                      u"LAENDER_ID = :Land ORDER BY PLZ_ID LIMIT 1"_s);
        binden();
        const int id = Gefunden(u"PLZ_ID"_s, [&] {
            FQu.SQL().Clear();
            FQu.SQL().Add(u"INSERT INTO PLZ (PLZ, ORT, LAENDER_ID) VALUES (:Plz, :Ort, :Land)"_s);
            binden();
        });
        FBekannt.insert(merker, id);
        return id;
    }

private:
    // Runs the prepared SELECT; without a row prepares and runs the insert and takes its key.
    template <typename TEinfuegen> int Gefunden(const QString& schluessel, TEinfuegen einfuegen)
    {
        FQu.Open();
        if (!FQu.Eof()) {
            const int id = FQu.FieldByName(schluessel).AsInteger();
            FQu.Close();
            return id;
        }
        einfuegen();
        FQu.ExecSQL();
        FQu.SQL().Clear();
        FQu.SQL().Add(u"SELECT LAST_INSERT_ID() AS SCHLUESSEL"_s);
        FQu.Open();
        const int id = FQu.FieldByName(u"SCHLUESSEL"_s).AsInteger();
        FQu.Close();
        return id;
    }

    TDBAbfrage& FQu;
    QHash<QString, int> FBekannt;
};

void Abteilungen(TDBAbfrage& qu, const TFirma& firma)
{
    qu.SQL().Clear();
    qu.SQL().Add(u"INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG, GELOESCHT, INAKTIV) "
                 u"VALUES (:Abteilung_ID, :Abteilung, :Geloescht, :Inaktiv)"_s);
    for (const TAbteilung& abteilung : firma.Abteilungen) {
        Zahl(qu, u"Abteilung_ID"_s, abteilung.Id);
        qu.ParamByName(u"Abteilung"_s).SetAsString(abteilung.Name);
        qu.ParamByName(u"Geloescht"_s).SetAsString(JN(abteilung.Geloescht));
        qu.ParamByName(u"Inaktiv"_s).SetAsString(JN(abteilung.Inaktiv));
        qu.ExecSQL();
    }
}

void Person(TDBAbfrage& qu, TNachschlagen& nachschlagen, int land, const TFirma& firma,
            const TPerson& p)
{
    const int anrede =
        nachschlagen.Schluessel(u"VORGABEN_ANREDE"_s, u"ANREDE_ID"_s, u"ANREDE"_s, p.Anrede);
    const int titel =
        nachschlagen.Schluessel(u"VORGABEN_TITEL"_s, u"TITEL_ID"_s, u"TITEL"_s, p.Titel);
    const int status = nachschlagen.Schluessel(u"VORGABEN_MA_ANG_STATUS"_s, u"MA_ANG_STATUS_ID"_s,
                                               u"MA_ANG_STATUS"_s, p.Status);
    const int ort = nachschlagen.Ort(land, p.Plz, p.Ort);
    const auto abteilung =
        std::find_if(firma.Abteilungen.begin(), firma.Abteilungen.end(),
                     [&p](const TAbteilung& a) { return a.Id == p.Abteilung_ID; });

    qu.SQL().Clear();
    qu.SQL().Add(u"INSERT INTO KONTAKTDATEN (ANREDE_ID, TITEL_ID, GESCHLECHT_ID, VORNAME, "
                 u"NACHNAME, ABTEILUNG, STRASSE1, PLZ_ID, TEL_G1, EMAIL_G, GEBURTSTAG, "
                 u"MITARBEITER, DEBITOR, KREDITOR, WEBKONTAKT, GELOESCHT)"_s);
    qu.SQL().Add(u"VALUES (:Anrede_ID, :Titel_ID, :Geschlecht_ID, :Vorname, :Nachname, "
                 u":Abteilung, :Strasse, :Plz_ID, :Telefon, :Email, :Geburtstag, :Mitarbeiter, "
                 u":Nein, :Nein, :Nein, :Nein)"_s);
    Zahl(qu, u"Anrede_ID"_s, anrede);
    Zahl(qu, u"Titel_ID"_s, titel);
    Zahl(qu, u"Geschlecht_ID"_s, 1);
    qu.ParamByName(u"Vorname"_s).SetAsString(p.Vorname);
    qu.ParamByName(u"Nachname"_s).SetAsString(p.Nachname);
    Text(qu, u"Abteilung"_s, abteilung != firma.Abteilungen.end() ? abteilung->Name : QString());
    Text(qu, u"Strasse"_s, p.Strasse);
    Zahl(qu, u"Plz_ID"_s, ort);
    Text(qu, u"Telefon"_s, p.Telefon);
    Text(qu, u"Email"_s, p.Email);
    // The contact data's own mark for "no birthday given".
    qu.ParamByName(u"Geburtstag"_s)
        .SetAsDate(p.Geburtstag.isValid() ? p.Geburtstag : QDate(1000, 1, 1));
    qu.ParamByName(u"Mitarbeiter"_s).SetAsString(JN(true));
    qu.ParamByName(u"Nein"_s).SetAsString(JN(false));
    qu.ExecSQL();

    qu.SQL().Clear();
    qu.SQL().Add(u"INSERT INTO MITARBEITER (MITARBEITER_ID, KONTAKTDATEN_ID, PERSONALNUMMER, "
                 u"LOGINNAME, BENUTZERGRUPPE_ID, ABTEILUNG_ID, MA_ANG_STATUS_ID, GESPERRT, "
                 u"GELOESCHT, INAKTIV, ESD_MESSUNG, DATUM_ESD_MESSUNG, FOTO, ANMERKUNGEN)"_s);
    qu.SQL().Add(u"VALUES (:Mitarbeiter_ID, LAST_INSERT_ID(), :Personalnummer, :Loginname, "
                 u":Benutzergruppe_ID, :Abteilung_ID, :Status_ID, :Gesperrt, :Geloescht, "
                 u":Inaktiv, :Esd_Messung, :Datum_Esd_Messung, :Foto, :Anmerkungen)"_s);
    Zahl(qu, u"Mitarbeiter_ID"_s, p.Mitarbeiter_ID);
    Text(qu, u"Personalnummer"_s, p.Personalnummer);
    qu.ParamByName(u"Loginname"_s).SetAsString(p.Loginname);
    Zahl(qu, u"Benutzergruppe_ID"_s, 1);
    Zahl(qu, u"Abteilung_ID"_s, p.Abteilung_ID);
    Zahl(qu, u"Status_ID"_s, status);
    qu.ParamByName(u"Gesperrt"_s).SetAsString(JN(false));
    qu.ParamByName(u"Geloescht"_s).SetAsString(JN(p.Geloescht));
    qu.ParamByName(u"Inaktiv"_s).SetAsString(JN(p.Inaktiv));
    qu.ParamByName(u"Esd_Messung"_s).SetAsString(JN(p.EsdMessung));
    if (p.DatumEsdMessung.isValid())
        qu.ParamByName(u"Datum_Esd_Messung"_s).SetAsDateTime(p.DatumEsdMessung);
    if (p.Foto) {
        const QByteArray foto = Avatar::Jpeg(p.Merkmal);
        if (foto.isEmpty())
            throw EFehler(u"EBild"_s, u"Das Porträt lässt sich nicht als JPEG speichern "
                                      u"(fehlt das JPEG-Modul von Qt?)."_s);
        qu.ParamByName(u"Foto"_s).SetAsBlob(foto);
    }
    if (!p.Anmerkungen.isEmpty())
        qu.ParamByName(u"Anmerkungen"_s).SetAsMemo(p.Anmerkungen);
    qu.ExecSQL();
}

// Rows in the order of their time stamps, as a station's log grows.
void Messungen(TDBAbfrage& qu, const TFirma& firma)
{
    struct TZeile
    {
        int Mitarbeiter_ID;
        const TMessung* Messung;
    };
    std::vector<TZeile> zeilen;
    for (const TPerson& p : firma.Personen) {
        for (const TMessung& m : p.Messungen)
            zeilen.push_back({p.Mitarbeiter_ID, &m});
    }
    std::stable_sort(zeilen.begin(), zeilen.end(), [](const TZeile& a, const TZeile& b) {
        return a.Messung->Zeitstempel < b.Messung->Zeitstempel;
    });

    for (size_t beginn = 0; beginn < zeilen.size(); beginn += kZeilenJeAnweisung) {
        const size_t ende = std::min(zeilen.size(), beginn + kZeilenJeAnweisung);
        QStringList text{u"INSERT INTO ESD_MESSWERTE_SCHUHE (ZEITSTEMPEL, MITARBEITER_ID, NAME, "
                         u"MESSWERT_SCHUH_L, MESSWERT_SCHUH_R, MESSWERT_ARMBAND, FEHLERCODE, "
                         u"MESSWERTE_OK) VALUES"_s};
        for (size_t i = beginn; i < ende; ++i) {
            text << u"(:Z%1, :M%1, :N%1, :L%1, :R%1, :A%1, :F%1, :O%1)%2"_s.arg(i).arg(
                i + 1 < ende ? u","_s : QString());
        }
        // One change of the text: every change parses the whole statement again.
        qu.SQL().SetText(text.join(u'\n'));
        for (size_t i = beginn; i < ende; ++i) {
            const TMessung& m = *zeilen[i].Messung;
            const QString n = QString::number(i);
            qu.ParamByName(u"Z"_s + n).SetAsDateTime(m.Zeitstempel);
            Zahl(qu, u"M"_s + n, zeilen[i].Mitarbeiter_ID);
            qu.ParamByName(u"N"_s + n).SetAsString(m.Name);
            qu.ParamByName(u"L"_s + n).SetAsString(m.Werte.Schuh_L);
            qu.ParamByName(u"R"_s + n).SetAsString(m.Werte.Schuh_R);
            qu.ParamByName(u"A"_s + n).SetAsString(m.Werte.Armband);
            qu.ParamByName(u"F"_s + n).SetAsString(m.Werte.Fehlercode);
            qu.ParamByName(u"O"_s + n).SetAsString(JN(m.Werte.Ok));
        }
        qu.ExecSQL();
    }
}

} // namespace

void Anlegen(TDBVerbindung& verbindung, const TFirma& firma)
{
    TDBAbfrage qu(verbindung, u"quDemofirma"_s);
    verbindung.StartTransaction();
    try {
        LeerPruefen(qu);
        TNachschlagen nachschlagen(qu);
        const int land = nachschlagen.Schluessel(u"LAENDER"_s, u"LAND_ID"_s, u"LAND"_s, firma.Land);
        Abteilungen(qu, firma);
        for (const TPerson& p : firma.Personen)
            Person(qu, nachschlagen, land, firma, p);
        Messungen(qu, firma);
        verbindung.Commit();
    } catch (...) {
        verbindung.Rollback();
        throw;
    }
}

} // namespace Demofirma
