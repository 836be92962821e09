// The day report: who on the board passed, failed or was not measured on one day, and why.
#pragma once

#include "Berichtsdaten.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// A person's standing on one day. A pass at any time of the day counts, even before a later
// failure: the person went in with a passed test.
enum class TTagesstand
{
    Bestanden,
    Durchgefallen, // measured, never passed that day
    NichtGemessen
};

QString Text(TTagesstand stand);

struct TAbteilungszahlen
{
    QString Abteilung;
    int Mitarbeiter = 0;
    int Bestanden = 0;
    int Durchgefallen = 0;
    int NichtGemessen = 0;

    void Zaehlen(TTagesstand stand);
};

// Someone of the board without a pass that day.
struct TAusnahme
{
    QString Abteilung;
    QString Name;
    TTagesstand Stand = TTagesstand::NichtGemessen;
    QDateTime LetzteBestanden; // invalid: never passed
};

struct TFehlmessung
{
    QDateTime Zeit;
    QString Name; // board name, or the name typed at the station for guests and others
    bool Gast = false;
    QString Abteilung; // empty for people not on the board
    QString SchuhL;
    QString SchuhR;
    QString Armband;
    QString Fehlercode;
    QStringList Gruende;
    QString Station;
};

struct TTagesbericht
{
    QString Mandant;
    QDate Tag;
    QList<TAbteilungszahlen> Abteilungen; // the board's order
    TAbteilungszahlen Summe;
    QList<TAusnahme> Ausnahmen;        // by department, then as the board sorts
    QList<TFehlmessung> Fehlmessungen; // by time
    int Gastmessungen = 0;
};

// Guest accounts are no employees: their measurements are listed, but they are not counted.
TTagesbericht TagesberichtErstellen(TBerichtsdaten& daten, const QString& mandant,
                                    const QDate& tag);

// A failed measurement with its reasons; the name as the report shows it.
TFehlmessung Fehlmessung(const TMessung& messung, const TPerson* person);
