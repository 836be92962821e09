// A station without a screen: the station's own measurement cycle on a connection of its own.
#include "Laststation.h"

#include "uFehler.h"

using namespace Qt::Literals::StringLiterals;

TLaststation::TLaststation(const QString& server, int port, const QString& benutzer,
                           const QString& passwort, const QString& datenbank)
{
    FVerbindung.SetServer(server);
    FVerbindung.SetPort(port);
    FVerbindung.SetUsername(benutzer);
    FVerbindung.SetPassword(passwort);
    FVerbindung.SetDatabase(datenbank);
    FVerbindung.SetConnected(true);
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
    FZyklus.SetzePerson(mitarbeiterId, [name] { return name; });
    // A new cycle starts with the display reset, as the screen's start does.
    FZyklus.Auswertung.WerteZuruecksetzen();
    const int vorher = FZyklus.Speicherungen();
    messung.Vor = QDateTime::currentDateTime();
    FZyklus.Empfangen(Pruefgeraet::Gerahmt(zeilen, rahmen));
    messung.Nach = QDateTime::currentDateTime();
    messung.Speicherungen = FZyklus.Speicherungen() - vorher;
    if (messung.Speicherungen > 0) {
        messung.Werte = FZyklus.LetzteWerte();
        messung.Ergebnis = FZyklus.LetztesErgebnis();
    }
    return messung;
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
