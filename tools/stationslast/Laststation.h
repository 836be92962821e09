// A station without a screen: the tester's lines through the station's evaluation and recording.
#pragma once

#include "Auswertung.h"
#include "Buchung.h"
#include "DBAbfrage.h"
#include "DBVerbindung.h"
#include "Messzyklus.h"
#include "Pruefgeraet.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// One measurement as the station handled it, for the driver's log.
struct TLastmessung
{
    int Nummer = 0; // 1, 2, … within this station's run
    QString Mitarbeiter_ID;
    TBuchungswerte Werte;
    // How often the evaluation asked to record; exactly 1 for a complete result.
    int Speicherungen = 0;
    Buchung::TErgebnis Ergebnis;
    // Local clock around the whole measurement; the station's own readings lie in between.
    QDateTime Vor;
    QDateTime Nach;
};

class TLaststation
{
public:
    // Connects at once; throws EDatenbankfehler when the server refuses.
    TLaststation(const QString& server, int port, const QString& benutzer, const QString& passwort,
                 const QString& datenbank);

    // The login names of these employees, which the station stores as the row's name; throws
    // EFehler of type EMitarbeiterFehlt for an id that has no employee row.
    QList<QString> Loginnamen(const QList<int>& ids);

    // Feeds the lines byte by byte as the serial port delivers them; the evaluation records the
    // result through the station's transaction. name is the login name or a guest's typed name.
    TLastmessung Messen(int nummer, const QString& mitarbeiterId, const QString& name,
                        const QList<QByteArray>& zeilen, Pruefgeraet::TRahmen rahmen);

    // START TRANSACTION statements this link has sent (every attempt of the recording sends one);
    // counted by the server for the current session.
    quint64 Transaktionsbeginne();
    int Wiederaufbauten() const { return FVerbindung.Wiederaufbauten(); }

private:
    TDBVerbindung FVerbindung;
    TDBAbfrage quBuchen{FVerbindung, QStringLiteral("quBuchen")};
    TDBAbfrage quSuchen{FVerbindung, QStringLiteral("quSuchen")};
    TBuchung FBuchung{quBuchen};
    TOhneAnzeige FAnzeige;
    TMesszyklus FZyklus{FAnzeige,
                        [this](const TBuchungswerte& werte) { return FBuchung.Speichern(werte); }};
};
