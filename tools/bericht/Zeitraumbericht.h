// The period report: day by day counts, the reasons of failures, and each employee's record with
// the trend of their values.
#pragma once

#include "Berichtsdaten.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

struct TTageszahlen
{
    QDate Tag;
    int Bestanden = 0;
    int Durchgefallen = 0;
    int NichtGemessen = 0;
};

struct TGrundzahl
{
    QString Grund;
    int Anzahl = 0;
};

// One measurement's values as numbers; a value that is none (or missing) has no number.
struct TVerlaufspunkt
{
    QDateTime Zeit;
    std::optional<double> SchuhL;
    std::optional<double> SchuhR;
    std::optional<double> Armband;
    QString TextL; // as the tester sent them, for the files
    QString TextR;
    QString TextArmband;
};

struct TMitarbeiterzeile
{
    QString Abteilung;
    QString Name;
    int Messungen = 0;
    int Bestanden = 0;
    int Durchgefallen = 0;
    QDateTime LetzteBestanden; // up to the period's end; invalid: never
    int NichtNumerisch = 0;    // values such as "OVR": counted, never plotted
    QList<TVerlaufspunkt> Verlauf;
};

struct TZeitraumbericht
{
    QString Mandant;
    QDate Von;
    QDate Bis; // inclusive
    QList<TTageszahlen> Tage;
    QList<TGrundzahl> Gruende;            // most frequent first
    QList<TMitarbeiterzeile> Mitarbeiter; // the board's order
};

// A tester value as a number ("0.35"); nothing for "OVR", an empty value or other text.
std::optional<double> Zahlwert(const QString& wert);

// Days count the board's employees as the day report does, with today's board; reasons count
// every failed measurement, guests' included.
TZeitraumbericht ZeitraumberichtErstellen(TBerichtsdaten& daten, const QString& mandant,
                                          const QDate& von, const QDate& bis);
