// Data module of the station: settings values and the one database connection.
#pragma once

#include "DBAbfrage.h"
#include "DBVerbindung.h"
#include "Einstellungen.h"

#include <QObject>
#include <QString>

#include <functional>
#include <utility>

class TFDM : public QObject, public TDBEinstellungen
{
    Q_OBJECT

public:
    // The flag records whether the settings were read and are usable; the window set passes
    // the program-wide one.
    explicit TFDM(bool& einstellungenOK, QObject* parent = nullptr);

    // Reads the settings if they have not been read successfully yet and opens the
    // connection; true when the connection is open. Reports every failure itself.
    bool MitDB_Verbinden();

    // The one connection of the program and the station's own queries over it.
    TDBVerbindung MyCon;
    TDBAbfrage quSuchen{MyCon, QStringLiteral("quSuchen")};
    TDBAbfrage quMitarbeiter{MyCon, QStringLiteral("quMitarbeiter")};
    TDBAbfrage quBuchen{MyCon, QStringLiteral("quBuchen")};

    // Runs once, the first time the settings were read and are usable, before the connection is
    // tried: what needs the settings but not the server starts there.
    void SetzeBeiEinstellungen(std::function<void()> danach)
    {
        FBeiEinstellungen = std::move(danach);
    }

    // Receiver of the three menu values (the main window).
    void SetzeMenuZiel(TMenuWerte* ziel) { FMenuZiel = ziel; }
    // Directory holding Einstellungen.ini; the executable's directory unless set.
    void SetzeEinstellungsVerzeichnis(const QString& verzeichnis) { FVerzeichnis = verzeichnis; }
    // Where the site keeps its files beside Einstellungen.ini (its logo): the file's directory,
    // following a link to it (the package links it to /etc/teststation).
    QString Einstellungsort() const;
    // True once the settings were read and are usable.
    bool EinstellungenOK() const { return FEinstellungen_OK; }
    // True after the integrity value did not match: the program must end without a connection.
    bool EinstellungenBeschaedigt() const { return FBeschaedigt; }

private:
    bool Lese_Einstellungen();
    QString Programmverzeichnis() const;
    void MeldeLesefehler(const QString& ursache);

    bool& FEinstellungen_OK;
    TMenuWerte* FMenuZiel = nullptr;
    QString FVerzeichnis;
    bool FBeschaedigt = false;
    std::function<void()> FBeiEinstellungen;
};
