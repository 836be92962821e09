// One measurement cycle without a screen: the tester's bytes, their evaluation, the stored result
// and what the display shows of it. The measurement screen, the load station and the demo
// company's history all run their results through it.
#pragma once

#include "Auswertung.h"
#include "Buchung.h"

#include <QByteArray>
#include <QString>

#include <functional>

class TMesszyklus : private TAuswertungsZiel
{
public:
    // Stores one result; the station's is TBuchung::Speichern on its connection. Without one
    // nothing is stored and the display reports it.
    using TSpeicher = std::function<Buchung::TErgebnis(const TBuchungswerte&)>;

    // The note beside a result that waits in the journal for the server.
    static const QString kWirdUebertragen;

    TMesszyklus(TMessanzeige& anzeige, TSpeicher speicher);

    // The person the results belong to until the next one: the key as the contact loading left
    // it, and where the name is read when a result arrives (a guest types it after the start).
    void SetzePerson(const QString& mitarbeiter_ID, std::function<QString()> name);

    // The port's notices in the order it gives them: the bytes before a line end, the line
    // end's notice, then the line end's own byte.
    void ByteAufnehmen(char byte);
    void Zeilenende(quint16 handle);
    // Bytes as the port announces them, line-end notices included.
    void Empfangen(const QByteArray& bytes);

    // Stores the evaluation's current values as a new result: identity and time are taken now
    // and kept through every attempt. A result that was not stored is shown on the overlay.
    void Messung_speichern();

    // The line being collected, CRTrig and the values of the current result.
    TZeilenauswertung Auswertung;

    // The last result handed to the store and how it went; how many results were handed over.
    const TBuchungswerte& LetzteWerte() const { return FLetzteWerte; }
    const Buchung::TErgebnis& LetztesErgebnis() const { return FLetztesErgebnis; }
    int Speicherungen() const { return FSpeicherungen; }

private:
    void Zuruecksetzen() override { FAnzeige.Zuruecksetzen(); }
    void BildZeigen(TBildart bild, bool sichtbar) override { FAnzeige.BildZeigen(bild, sichtbar); }
    void WertZeigen(TWert wert, const QString& text) override { FAnzeige.WertZeigen(wert, text); }
    void MemoSetzen(const QString& text) override { FAnzeige.MemoSetzen(text); }
    void MemoZeile(const QString& zeile) override { FAnzeige.MemoZeile(zeile); }
    void MemoZeigen() override { FAnzeige.MemoZeigen(); }
    void FehlerZeigen(const QString& text1, const QString& text2, const QString& errorcode) override
    {
        FAnzeige.FehlerZeigen(text1, text2, errorcode);
    }
    void PeriodeSetzen(int ms) override { FAnzeige.PeriodeSetzen(ms); }
    void CountdownStarten() override { FAnzeige.CountdownStarten(); }
    void Speichern() override { Messung_speichern(); }

    TMessanzeige& FAnzeige;
    TSpeicher FSpeicher;
    QString FMitarbeiter_ID;
    std::function<QString()> FName;
    TBuchungswerte FLetzteWerte;
    Buchung::TErgebnis FLetztesErgebnis;
    int FSpeicherungen = 0;
};
