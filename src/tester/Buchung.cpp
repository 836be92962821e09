// The row's and the stamp's statement texts are the shared database's contract and stay letter
// for letter; the receipt and the locking read are the station's own.
#include "Buchung.h"

#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"

#include <QRandomGenerator>
#include <QSysInfo>
#include <QTime>
#include <QUuid>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace Buchung {

const QString kMesswertEinfuegen =
    u"INSERT INTO ESD_MESSWERTE_SCHUHE SET ZEITSTEMPEL      = :Zeitstempel,     MITARBEITER_ID   = :Mitarbeiter_ID,  NAME             = :Name,            MESSWERT_SCHUH_L = :Messwert1,       MESSWERT_SCHUH_R = :Messwert2,       MESSWERT_ARMBAND = :Messwert3,       FEHLERCODE       = :Fehlercode,      MESSWERTE_OK     = :Messwerte_OK     "_s;
const QString kMessdatumSetzen =
    u"UPDATE MITARBEITER SET                  DATUM_ESD_MESSUNG     = :Zeitstempel    WHERE MITARBEITER_ID  = :Mitarbeiter_ID "_s;
const QString kMessdatumSperren =
    u"SELECT DATUM_ESD_MESSUNG IS NULL OR DATUM_ESD_MESSUNG < :Zeitstempel AS NEUER "
    u"FROM MITARBEITER WHERE MITARBEITER_ID = :Mitarbeiter_ID FOR UPDATE"_s;
const QString kQuittungEinfuegen =
    u"INSERT INTO ESD_MESSUNG_QUITTUNG SET KENNUNG = :Kennung, MITARBEITER_ID = :Mitarbeiter_ID, "
    u"ZEITSTEMPEL = :Zeitstempel, STATION = :Station, EMPFANGEN = NOW(6), "
    u"MESSUNG_ID = :Messung_ID"_s;
const QString kQuittungSuchen =
    u"SELECT MESSUNG_ID FROM ESD_MESSUNG_QUITTUNG WHERE KENNUNG = :Kennung"_s;
// A cluster node applies other nodes' commits a moment after they are certified; after a move to
// another node the lookup first waits until this node has applied everything committed before.
const QString kQuittungSuchenImCluster =
    u"SET STATEMENT wsrep_sync_wait = 1 FOR "
    u"SELECT MESSUNG_ID FROM ESD_MESSUNG_QUITTUNG WHERE KENNUNG = :Kennung"_s;
const QString kQuittungPruefen =
    u"SELECT KENNUNG, MESSUNG_ID FROM ESD_MESSUNG_QUITTUNG WHERE 1 = 0"_s;

bool Abgewiesen(const TErgebnis& ergebnis)
{
    // Listed, not guessed from a range: a number missing here keeps a result waiting, which an
    // administrator can resolve, where a wrong refusal would give it up.
    static constexpr unsigned int kWerteAbgelehnt[] = {
        1048, // ER_BAD_NULL_ERROR
        1264, // ER_WARN_DATA_OUT_OF_RANGE
        1265, // WARN_DATA_TRUNCATED
        1292, // ER_TRUNCATED_WRONG_VALUE
        1366, // ER_TRUNCATED_WRONG_VALUE_FOR_FIELD
        1406, // ER_DATA_TOO_LONG
        1452, // ER_NO_REFERENCED_ROW_2
        1644, // ER_SIGNAL_EXCEPTION
        4025, // ER_CONSTRAINT_FAILED
    };
    if (ergebnis.Gespeichert)
        return false;
    bool zahl = false;
    const unsigned int nummer = ergebnis.Fehlernummer.toUInt(&zahl);
    return zahl && std::find(std::begin(kWerteAbgelehnt), std::end(kWerteAbgelehnt), nummer) !=
                       std::end(kWerteAbgelehnt);
}

TBuchungswerte NeuesErgebnis()
{
    TBuchungswerte werte;
    werte.Kennung = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QDateTime jetzt = QDateTime::currentDateTime();
    const QTime zeit = jetzt.time();
    werte.Zeitstempel = QDateTime(jetzt.date(), QTime(zeit.hour(), zeit.minute(), zeit.second()));
    werte.Station = QSysInfo::machineHostName();
    return werte;
}

} // namespace Buchung

namespace {

constexpr qsizetype kStationLaenge = 255;

// The receipt table is missing, not ours, or the station may not use it.
bool QuittungUnbrauchbar(unsigned int nummer)
{
    using namespace Serverfehler;
    return nummer == kTabelleFehlt || nummer == kTabelleVerboten || nummer == kSpalteVerboten ||
           nummer == kUnbekannteSpalte;
}

Buchung::TErgebnis Gespeichert(quint64 messung_ID)
{
    return {true, QString(), QString(), messung_ID};
}

} // namespace

TBuchung::TBuchung(TDBAbfrage& quBuchen) : FAbfrage(quBuchen) {}

void TBuchung::Buchen(const TBuchungswerte& werte)
{
    TVerlauf verlauf;
    Buchen(werte, verlauf);
}

void TBuchung::Buchen(const TBuchungswerte& werte, TVerlauf& verlauf)
{
    TDBVerbindung& verbindung = FAbfrage.Connection();
    verbindung.StartTransaction();
    verlauf.Begonnen = true;
    try {
        bool stempeln = false;
        if (werte.Messwerte_OK) {
            // The employee's row lock, held to the commit, and whether this result is the newer:
            // when two stations measure the same person at once, the stamp never steps back,
            // whichever commits last.
            FAbfrage.SQL().SetText(Buchung::kMessdatumSperren);
            FAbfrage.ParamByName(u"ZEITSTEMPEL"_s).SetAsDateTime(werte.Zeitstempel);
            FAbfrage.ParamByName(u"MITARBEITER_ID"_s).SetAsString(werte.Mitarbeiter_ID);
            FAbfrage.Open();
            stempeln =
                FAbfrage.RecordCount() > 0 && FAbfrage.FieldByName(u"NEUER"_s).AsString() == u"1"_s;
            FAbfrage.Close();
        }

        FAbfrage.SQL().SetText(Buchung::kMesswertEinfuegen);
        FAbfrage.ParamByName(u"ZEITSTEMPEL"_s).SetAsDateTime(werte.Zeitstempel);
        FAbfrage.ParamByName(u"MITARBEITER_ID"_s).SetAsString(werte.Mitarbeiter_ID);
        FAbfrage.ParamByName(u"NAME"_s).SetAsString(werte.Name);
        FAbfrage.ParamByName(u"MESSWERT1"_s).SetAsString(werte.Messwert1);
        FAbfrage.ParamByName(u"MESSWERT2"_s).SetAsString(werte.Messwert2);
        FAbfrage.ParamByName(u"MESSWERT3"_s).SetAsString(werte.Messwert3);
        FAbfrage.ParamByName(u"FEHLERCODE"_s).SetAsString(werte.Fehlercode);
        FAbfrage.ParamByName(u"MESSWERTE_OK"_s).SetAsString(werte.Messwerte_OK ? u"J"_s : u"N"_s);
        FAbfrage.ExecSQL();
        verlauf.Messung_ID = FAbfrage.InsertId();

        if (FMitQuittungen) {
            FAbfrage.SQL().SetText(Buchung::kQuittungEinfuegen);
            FAbfrage.ParamByName(u"KENNUNG"_s).SetAsString(werte.Kennung);
            FAbfrage.ParamByName(u"MITARBEITER_ID"_s).SetAsString(werte.Mitarbeiter_ID);
            FAbfrage.ParamByName(u"ZEITSTEMPEL"_s).SetAsDateTime(werte.Zeitstempel);
            FAbfrage.ParamByName(u"STATION"_s).SetAsString(werte.Station.left(kStationLaenge));
            if (verlauf.Messung_ID != 0)
                FAbfrage.ParamByName(u"MESSUNG_ID"_s)
                    .SetAsString(QString::number(verlauf.Messung_ID));
            verlauf.BeiQuittung = true;
            FAbfrage.ExecSQL();
            verlauf.BeiQuittung = false;
        }

        if (stempeln) {
            FAbfrage.SQL().SetText(Buchung::kMessdatumSetzen);
            FAbfrage.ParamByName(u"ZEITSTEMPEL"_s).SetAsDateTime(werte.Zeitstempel);
            FAbfrage.ParamByName(u"MITARBEITER_ID"_s).SetAsString(werte.Mitarbeiter_ID);
            FAbfrage.ExecSQL();
        }
        verbindung.Commit();
    } catch (...) {
        verbindung.Rollback();
        throw;
    }
}

Buchung::TErgebnis TBuchung::Speichern(const TBuchungswerte& werte)
{
    Buchung::TErgebnis ergebnis;
    int konflikte = 0;
    for (int versuch = 0; versuch < kVersuche;) {
        TVerlauf verlauf;
        try {
            Buchen(werte, verlauf);
            return Gespeichert(verlauf.Messung_ID);
        } catch (const EDatenbankfehler& fehler) {
            ergebnis = {false, QString::number(fehler.Nummer()), fehler.Anzeige(), 0};
            if (verlauf.BeiQuittung && fehler.Nummer() == Serverfehler::kDoppelterSchluessel) {
                // An earlier attempt arrived after all; this one was rolled back.
                try {
                    return Gespeichert(Nachschlagen(werte.Kennung).value_or(0));
                } catch (const std::exception&) {
                    return Gespeichert(0);
                }
            }
            if (verlauf.BeiQuittung && QuittungUnbrauchbar(fehler.Nummer())) {
                // Rolled back on a live link: nothing is stored, and the next attempt records
                // without the receipt.
                OhneQuittungen();
                continue;
            }
            if (fehler.Nummer() == Serverfehler::kKonflikt &&
                !dynamic_cast<const EVerbindungsfehler*>(&fehler) &&
                konflikte < kKonfliktVersuche) {
                // Rolled back on a live link: again on the same node, after a pause that grows
                // and differs between stations, so the two writers do not meet again at once.
                ++konflikte;
                ++FKonflikte;
                std::this_thread::sleep_for(std::chrono::milliseconds(
                    QRandomGenerator::global()->bounded(1, 5 * konflikte + 1)));
                continue;
            }
            // A link that broke once the transaction was open may have carried the COMMIT; only
            // the receipt can tell.
            if (dynamic_cast<const EVerbindungsfehler*>(&fehler) && verlauf.Begonnen) {
                if (!FMitQuittungen) {
                    ergebnis.Unklar = true;
                    return ergebnis;
                }
                try {
                    if (const std::optional<quint64> messung_ID = Nachschlagen(werte.Kennung))
                        return Gespeichert(*messung_ID);
                } catch (const std::exception&) {
                    return ergebnis;
                }
            }
        } catch (const std::exception& fehler) {
            ergebnis = {false, QString(), TypNameVon(fehler) + u':' + MeldungVon(fehler), 0};
        }
        ++versuch;
    }
    return ergebnis;
}

std::optional<quint64> TBuchung::Nachschlagen(const QString& kennung)
{
    FAbfrage.SQL().SetText(FAbfrage.Connection().Clusterknoten() ? Buchung::kQuittungSuchenImCluster
                                                                 : Buchung::kQuittungSuchen);
    FAbfrage.ParamByName(u"KENNUNG"_s).SetAsString(kennung);
    FAbfrage.Open();
    std::optional<quint64> messung_ID;
    if (FAbfrage.RecordCount() > 0)
        messung_ID = FAbfrage.FieldByName(u"MESSUNG_ID"_s).AsString().toULongLong();
    FAbfrage.Close();
    return messung_ID;
}

bool TBuchung::QuittungenPruefen()
{
    if (FGeprueft || !FMitQuittungen)
        return FMitQuittungen;
    FAbfrage.SQL().SetText(Buchung::kQuittungPruefen);
    try {
        FAbfrage.Open();
        FAbfrage.Close();
    } catch (const EVerbindungsfehler&) {
        throw;
    } catch (const EDatenbankfehler& fehler) {
        if (!QuittungUnbrauchbar(fehler.Nummer()))
            throw;
        OhneQuittungen();
    }
    FGeprueft = true;
    return FMitQuittungen;
}

void TBuchung::OhneQuittungen()
{
    FMitQuittungen = false;
    FGeprueft = true;
    qWarning("Die Datenbank hat keine brauchbare Tabelle ESD_MESSUNG_QUITTUNG: Messungen werden "
             "ohne Quittung gespeichert. Bitte die Datenbank mit db/upgrade.sql aktualisieren.");
}
