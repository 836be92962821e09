// Recording a measurement: one audit row, and for a pass the employee's measurement date.
#pragma once

#include <QString>

class TDBAbfrage;

struct TBuchungswerte
{
    QString Mitarbeiter_ID;
    QString Name;
    QString Messwert1; // left shoe
    QString Messwert2; // right shoe
    QString Messwert3; // wrist strap
    QString Fehlercode;
    bool Messwerte_OK = false;
};

namespace Buchung {

extern const QString kMesswertEinfuegen;
extern const QString kMessdatumSetzen;

// Both statements in one transaction on the query's connection; on failure the transaction is
// rolled back and the failure passed on.
void Buchen(TDBAbfrage& quBuchen, const TBuchungswerte& werte);

struct TErgebnis
{
    bool Gespeichert = false;
    QString Fehlernummer; // the server's or client library's error number; empty if none
    QString Meldung;
};

// Buchen, and once more when it fails: a link the server dropped is re-established by then,
// and a lock that timed out has usually been released. Never throws.
TErgebnis Speichern(TDBAbfrage& quBuchen, const TBuchungswerte& werte);

} // namespace Buchung
