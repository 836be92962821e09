// The measurement screen's path from tester bytes to the stored row, without the screen.
#include "Laststation.h"

#include "uFehler.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The handle the port would give the line-end registration; any fixed value serves.
constexpr quint16 kZeilenende = 1;
constexpr char kCR = '\r';

} // namespace

TLaststation::TLaststation(const QString& server, int port, const QString& benutzer,
                           const QString& passwort, const QString& datenbank)
{
    FVerbindung.SetServer(server);
    FVerbindung.SetPort(port);
    FVerbindung.SetUsername(benutzer);
    FVerbindung.SetPassword(passwort);
    FVerbindung.SetDatabase(datenbank);
    FVerbindung.SetConnected(true);
    Auswertung.CRTrig = kZeilenende;
}

QList<QString> TLaststation::Loginnamen(const QList<int>& ids)
{
    QList<QString> namen;
    quSuchen.SQL().Clear();
    quSuchen.SQL().Add(u"SELECT LOGINNAME FROM MITARBEITER WHERE MITARBEITER_ID = :Id"_s);
    for (const int id : ids) {
        quSuchen.ParamByName(u"Id"_s).SetAsString(QString::number(id));
        quSuchen.Open();
        if (quSuchen.RecordCount() != 1)
            throw EFehler(u"EMitarbeiterFehlt"_s,
                          u"Mitarbeiter %1 gibt es nicht in der Datenbank."_s.arg(id));
        namen.append(quSuchen.FieldByName(u"LOGINNAME"_s).AsString());
        quSuchen.Close();
    }
    return namen;
}

TLastmessung TLaststation::Messen(int nummer, const QString& mitarbeiterId, const QString& name,
                                  const QList<QByteArray>& zeilen, Pruefgeraet::TRahmen rahmen)
{
    TLastmessung messung;
    messung.Nummer = nummer;
    messung.Mitarbeiter_ID = mitarbeiterId;
    messung.Werte.Name = name;
    FMessung = &messung;
    // A new cycle starts with the display reset, as the screen's start does.
    Zuruecksetzen();
    messung.Vor = QDateTime::currentDateTime();
    // The port hands over the bytes before a line end, then reports the line end, then the
    // line end's own byte.
    for (const char byte : Pruefgeraet::Gerahmt(zeilen, rahmen)) {
        if (byte == kCR)
            Auswertung.Auswerten(kZeilenende, *this);
        Auswertung.ByteAufnehmen(byte);
    }
    messung.Nach = QDateTime::currentDateTime();
    FMessung = nullptr;
    return messung;
}

void TLaststation::Zuruecksetzen()
{
    Auswertung.WerteZuruecksetzen();
}

void TLaststation::Speichern()
{
    if (FMessung == nullptr)
        return;
    // Built as the measurement screen builds them (TFMessung::Messung_speichern).
    TBuchungswerte werte;
    werte.Mitarbeiter_ID = FMessung->Mitarbeiter_ID;
    werte.Name = FMessung->Werte.Name;
    werte.Messwert1 = Auswertung.sWert_Schuh_L;
    werte.Messwert2 = Auswertung.sWert_Schuh_R;
    werte.Messwert3 = Auswertung.sWert_Armband;
    werte.Fehlercode = Auswertung.sMessung_Fehlercode;
    werte.Messwerte_OK = Auswertung.bMesswert_OK;
    FMessung->Werte = werte;
    ++FMessung->Speicherungen;
    FMessung->Ergebnis = Buchung::Speichern(quBuchen, werte);
    FMessung->Messung_ID = FMessung->Ergebnis.Gespeichert ? LetzterSchluessel() : 0;
}

quint64 TLaststation::LetzterSchluessel()
{
    // The key the server gave this link's last insert, which is the row just committed. A link
    // re-established in between answers 0.
    try {
        quSuchen.SQL().Clear();
        quSuchen.SQL().Add(u"SELECT LAST_INSERT_ID() AS ID"_s);
        quSuchen.Open();
        const quint64 id = quSuchen.FieldByName(u"ID"_s).AsString().toULongLong();
        quSuchen.Close();
        return id;
    } catch (const std::exception&) {
        return 0;
    }
}

quint64 TLaststation::Transaktionsbeginne()
{
    quSuchen.SQL().Clear();
    quSuchen.SQL().Add(u"SHOW SESSION STATUS LIKE 'Com_begin'"_s);
    quSuchen.Open();
    const quint64 anzahl = quSuchen.FieldByName(u"Value"_s).AsString().toULongLong();
    quSuchen.Close();
    return anzahl;
}
