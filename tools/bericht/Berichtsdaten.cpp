// Reads only; every value reaches the server as a bound parameter.
#include "Berichtsdaten.h"

#include "DBAbfrage.h"
#include "DBVerbindung.h"
#include "TafelAbfragen.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A DATETIME as the server sends it ("yyyy-MM-dd HH:mm:ss"), read by hand: a period's hundred
// thousand rows would spend seconds in the general date parser.
QDateTime Zeitpunkt(const QByteArray& text)
{
    if (text.size() < 19)
        return {};
    const auto zahl = [&text](qsizetype von, qsizetype laenge) {
        int wert = 0;
        for (qsizetype i = von; i < von + laenge; ++i)
            wert = wert * 10 + (text.at(i) - '0');
        return wert;
    };
    return QDateTime(QDate(zahl(0, 4), zahl(5, 2), zahl(8, 2)),
                     QTime(zahl(11, 2), zahl(14, 2), zahl(17, 2)));
}

} // namespace

bool TPerson::Gast() const
{
    return Tafel::IstGast(Loginname);
}

QString TPerson::Name() const
{
    return Nachname + u", "_s + Vorname;
}

QList<TTafelAbteilung> TBerichtsdaten::Tafel(const QString& mandant)
{
    TDBAbfrage abteilungen(FVerbindung, u"quAbteilungen"_s);
    abteilungen.SQL().Add(Tafel::AbteilungenSql(mandant));
    abteilungen.Open();
    QStringList namen;
    for (; !abteilungen.Eof(); abteilungen.Next())
        namen << abteilungen.FieldByName(u"ABTEILUNG"_s).AsString();

    // One statement per department, as the board loads them: the same people in the same order.
    TDBAbfrage mitarbeiter(FVerbindung, u"quMitarbeiter"_s);
    mitarbeiter.SQL().Add(
        Tafel::MitarbeiterSql(mandant, u"MITARBEITER.MITARBEITER_ID, KONTAKTDATEN.NACHNAME, "
                                       "KONTAKTDATEN.VORNAME, MITARBEITER.LOGINNAME"_s));
    QList<TTafelAbteilung> tafel;
    for (const QString& abteilung : namen) {
        TTafelAbteilung& knopf = tafel.emplace_back();
        knopf.Name = abteilung;
        mitarbeiter.ParamByName(u"Abteilung"_s).SetAsString(abteilung);
        mitarbeiter.Open();
        for (; !mitarbeiter.Eof(); mitarbeiter.Next()) {
            TPerson person;
            person.Id = mitarbeiter.Fields(0).AsInteger();
            person.Abteilung = abteilung;
            person.Nachname = mitarbeiter.Fields(1).AsString();
            person.Vorname = mitarbeiter.Fields(2).AsString();
            person.Loginname = mitarbeiter.Fields(3).AsString();
            knopf.Personen << person;
        }
        mitarbeiter.Close();
    }
    return tafel;
}

bool TBerichtsdaten::HatQuittungen()
{
    TDBAbfrage tabelle(FVerbindung, u"quQuittungstabelle"_s);
    tabelle.SQL().Add(u"SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = "
                      "DATABASE() AND TABLE_NAME = \"ESD_MESSUNG_QUITTUNG\""_s);
    tabelle.Open();
    return tabelle.Fields(0).AsInteger() > 0;
}

QList<TMessung> TBerichtsdaten::Messungen(const QDateTime& von, const QDateTime& bis)
{
    const bool quittungen = HatQuittungen();
    TDBAbfrage abfrage(FVerbindung, u"quMessungen"_s);
    abfrage.SQL().Add(u"SELECT M.ZEITSTEMPEL, M.MITARBEITER_ID, M.NAME, M.MESSWERT_SCHUH_L, "
                      "M.MESSWERT_SCHUH_R, M.MESSWERT_ARMBAND, M.FEHLERCODE, M.MESSWERTE_OK, "_s);
    if (quittungen) {
        abfrage.SQL().Add(u"COALESCE(Q.STATION, \"\") FROM ESD_MESSWERTE_SCHUHE M LEFT JOIN "
                          "ESD_MESSUNG_QUITTUNG Q ON Q.MESSUNG_ID = M.MESSUNG_ID"_s);
    } else {
        abfrage.SQL().Add(u"\"\" FROM ESD_MESSWERTE_SCHUHE M"_s);
    }
    abfrage.SQL().Add(u"WHERE M.ZEITSTEMPEL >= :Von AND M.ZEITSTEMPEL < :Bis "
                      "ORDER BY M.ZEITSTEMPEL, M.MESSUNG_ID"_s);
    abfrage.ParamByName(u"Von"_s).SetAsDateTime(von);
    abfrage.ParamByName(u"Bis"_s).SetAsDateTime(bis);
    abfrage.Open();
    QList<TMessung> messungen;
    messungen.reserve(abfrage.RecordCount());
    for (; !abfrage.Eof(); abfrage.Next()) {
        TMessung m;
        m.Zeit = Zeitpunkt(abfrage.Fields(0).AsBytes());
        m.MitarbeiterId = abfrage.Fields(1).AsInteger();
        m.Name = abfrage.Fields(2).AsString();
        m.SchuhL = abfrage.Fields(3).AsString();
        m.SchuhR = abfrage.Fields(4).AsString();
        m.Armband = abfrage.Fields(5).AsString();
        m.Fehlercode = abfrage.Fields(6).AsString();
        m.Bestanden = abfrage.Fields(7).AsString() == u"J"_s;
        m.Station = abfrage.Fields(8).AsString();
        messungen << m;
    }
    return messungen;
}

QHash<qint32, QDateTime> TBerichtsdaten::LetzteBestanden(const QDateTime& bis)
{
    TDBAbfrage abfrage(FVerbindung, u"quLetzteBestanden"_s);
    abfrage.SQL().Add(
        u"SELECT MITARBEITER_ID, MAX(ZEITSTEMPEL) FROM ESD_MESSWERTE_SCHUHE "
        "WHERE MESSWERTE_OK = \"J\" AND ZEITSTEMPEL < :Bis GROUP BY MITARBEITER_ID"_s);
    abfrage.ParamByName(u"Bis"_s).SetAsDateTime(bis);
    abfrage.Open();
    QHash<qint32, QDateTime> letzte;
    letzte.reserve(abfrage.RecordCount());
    for (; !abfrage.Eof(); abfrage.Next())
        letzte.insert(abfrage.Fields(0).AsInteger(), Zeitpunkt(abfrage.Fields(1).AsBytes()));
    return letzte;
}
