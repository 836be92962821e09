// The statement texts are the shared database's contract and stay letter for letter.
#include "Buchung.h"

#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"

#include <QDateTime>

using namespace Qt::Literals::StringLiterals;

namespace Buchung {

const QString kMesswertEinfuegen =
    u"INSERT INTO ESD_MESSWERTE_SCHUHE SET ZEITSTEMPEL      = :Zeitstempel,     MITARBEITER_ID   = :Mitarbeiter_ID,  NAME             = :Name,            MESSWERT_SCHUH_L = :Messwert1,       MESSWERT_SCHUH_R = :Messwert2,       MESSWERT_ARMBAND = :Messwert3,       FEHLERCODE       = :Fehlercode,      MESSWERTE_OK     = :Messwerte_OK     "_s;
const QString kMessdatumSetzen =
    u"UPDATE MITARBEITER SET                  DATUM_ESD_MESSUNG     = :Zeitstempel    WHERE MITARBEITER_ID  = :Mitarbeiter_ID "_s;

namespace {

void MessdatumSetzen(TDBAbfrage& quBuchen, const QString& mitarbeiter_ID)
{
    quBuchen.SQL().Clear();
    quBuchen.SQL().Add(kMessdatumSetzen);
    quBuchen.ParamByName(u"ZEITSTEMPEL"_s).SetAsDateTime(QDateTime::currentDateTime());
    quBuchen.ParamByName(u"MITARBEITER_ID"_s).SetAsString(mitarbeiter_ID);
    quBuchen.ExecSQL();
}

} // namespace

void Buchen(TDBAbfrage& quBuchen, const TBuchungswerte& werte)
{
    TDBVerbindung& verbindung = quBuchen.Connection();
    verbindung.StartTransaction();
    try {
        // A pass first takes the employee's row lock: every time stamp below is then read while
        // it is held, so when two stations measure the same person at once, the later commit
        // carries the later time instead of overwriting it with an older one.
        if (werte.Messwerte_OK)
            MessdatumSetzen(quBuchen, werte.Mitarbeiter_ID);
        quBuchen.SQL().Clear();
        quBuchen.SQL().Add(kMesswertEinfuegen);
        // Each time stamp is read as its parameter is set.
        quBuchen.ParamByName(u"ZEITSTEMPEL"_s).SetAsDateTime(QDateTime::currentDateTime());
        quBuchen.ParamByName(u"MITARBEITER_ID"_s).SetAsString(werte.Mitarbeiter_ID);
        quBuchen.ParamByName(u"NAME"_s).SetAsString(werte.Name);
        quBuchen.ParamByName(u"MESSWERT1"_s).SetAsString(werte.Messwert1);
        quBuchen.ParamByName(u"MESSWERT2"_s).SetAsString(werte.Messwert2);
        quBuchen.ParamByName(u"MESSWERT3"_s).SetAsString(werte.Messwert3);
        quBuchen.ParamByName(u"FEHLERCODE"_s).SetAsString(werte.Fehlercode);
        quBuchen.ParamByName(u"MESSWERTE_OK"_s).SetAsString(werte.Messwerte_OK ? u"J"_s : u"N"_s);
        quBuchen.ExecSQL();
        if (werte.Messwerte_OK)
            MessdatumSetzen(quBuchen, werte.Mitarbeiter_ID);
        verbindung.Commit();
    } catch (...) {
        verbindung.Rollback();
        throw;
    }
}

TErgebnis Speichern(TDBAbfrage& quBuchen, const TBuchungswerte& werte)
{
    TErgebnis ergebnis;
    for (int versuch = 0; versuch < 2; ++versuch) {
        try {
            Buchen(quBuchen, werte);
            ergebnis = {true, QString(), QString()};
            return ergebnis;
        } catch (const EDatenbankfehler& fehler) {
            ergebnis = {false, QString::number(fehler.Nummer()), fehler.Anzeige()};
        } catch (const std::exception& fehler) {
            ergebnis = {false, QString(), TypNameVon(fehler) + u':' + MeldungVon(fehler)};
        }
    }
    return ergebnis;
}

} // namespace Buchung
