// What the reports read from the database: the board's people and the measurements of a period.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

class TDBVerbindung;

// One tile of the board.
struct TPerson
{
    qint32 Id = 0;
    QString Abteilung;
    QString Nachname;
    QString Vorname;
    QString Loginname;

    // A guest account: the person behind it types a name at each measurement.
    bool Gast() const;
    // "Nachname, Vorname", as lists sort people.
    QString Name() const;
};

// One department button of the board with its tiles.
struct TTafelAbteilung
{
    QString Name;
    QList<TPerson> Personen; // by last name
};

// One row of ESD_MESSWERTE_SCHUHE, the values as the tester sent them.
struct TMessung
{
    QDateTime Zeit;
    qint32 MitarbeiterId = 0;
    QString Name; // the login name, or the name a guest typed
    QString SchuhL;
    QString SchuhR;
    QString Armband;
    QString Fehlercode;
    bool Bestanden = false;
    QString Station; // from the receipt; empty where there is none
};

class TBerichtsdaten
{
public:
    explicit TBerichtsdaten(TDBVerbindung& verbindung) : FVerbindung(verbindung) {}

    // The departments and people the board shows under this tenant, in the board's order;
    // guest accounts included.
    QList<TTafelAbteilung> Tafel(const QString& mandant);
    // Measurements stamped in [von, bis), by time.
    QList<TMessung> Messungen(const QDateTime& von, const QDateTime& bis);
    // Each person's last pass before the given moment.
    QHash<qint32, QDateTime> LetzteBestanden(const QDateTime& bis);

private:
    // Databases set up before receipts existed have no receipt table.
    bool HatQuittungen();

    TDBVerbindung& FVerbindung;
};
