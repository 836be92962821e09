// The demo company as plain data: departments, people and their measurement history.
#pragma once

#include "Messwerte.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

namespace Demofirma {

// The same company on every run unless another seed is asked for.
constexpr quint32 kStandardSaat = 1957;
// The history reaches back this many working days (Monday to Friday) before today.
constexpr int kArbeitstage = 20;

struct TAbteilung
{
    int Id = 0;
    QString Name;
    bool Inaktiv = false;
    bool Geloescht = false;
};

struct TMessung
{
    QDateTime Zeitstempel;
    QString Name; // login name, or the name a guest typed
    TMesswerte Werte;
};

struct TPerson
{
    int Mitarbeiter_ID = 0;
    int Abteilung_ID = 0;
    // Lookup texts; the writer resolves them to keys. Empty means key 1, "none".
    QString Anrede;
    QString Titel;
    QString Status;
    QString Vorname;
    QString Nachname;
    QString Personalnummer; // empty is stored as NULL
    QString Loginname;
    QString Strasse;
    QString Plz;
    QString Ort;
    QString Telefon;
    QString Email;
    QDate Geburtstag; // invalid: not given
    QString Anmerkungen;
    bool Gast = false;
    bool EsdMessung = false;
    bool Inaktiv = false;
    bool Geloescht = false;
    // Null for a person never measured, else the time of the newest pass in Messungen.
    QDateTime DatumEsdMessung;
    // Guests have no photo; the station shows its placeholder.
    bool Foto = false;
    quint32 Merkmal = 0;             // the portrait's number, see Avatar::Zeichne
    std::vector<TMessung> Messungen; // oldest first
};

struct TFirma
{
    QString Land;
    std::vector<TAbteilung> Abteilungen;
    std::vector<TPerson> Personen;

    int Mitarbeiterzahl() const; // without guest accounts
    int Gastzahl() const;
    int Messungszahl() const;
};

// Names, departments and portraits depend on the seed alone, measurement times also on jetzt.
// No time stamp is later than jetzt.
TFirma Erzeuge(quint32 saat, const QDateTime& jetzt);

// The line the tool prints after a fill.
QString Zusammenfassung(const TFirma& firma);

// A name in plain ASCII for login names and mail addresses: umlauts as ae, oe, ue, ß as ss,
// other accents dropped.
QString Ascii(const QString& text);

} // namespace Demofirma
