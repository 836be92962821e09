// Journal first, then the server or the forwarder.
#include "Aufzeichnung.h"

#include "Journal.h"
#include "Weiterleitung.h"

TAufzeichnung::TAufzeichnung(TBuchung& buchung, TJournal* journal, std::function<void()> anstossen)
    : FBuchung(buchung), FJournal(journal), FAnstossen(std::move(anstossen))
{}

Buchung::TErgebnis TAufzeichnung::Speichern(const TBuchungswerte& werte)
{
    if (!FJournal)
        return FBuchung.Speichern(werte);

    Buchung::TErgebnis vorgemerkt = Weiterleitung::Vormerken(*FJournal, werte);
    if (!vorgemerkt.Gespeichert) {
        // A full disk or a read-only state directory: the station keeps recording online.
        Buchung::TErgebnis direkt = FBuchung.Speichern(werte);
        direkt.Journalfehler = vorgemerkt.Meldung;
        return direkt;
    }

    int wartend = 1;
    try {
        wartend = FJournal->AnzahlWartend();
    } catch (const std::exception&) {
        wartend = 2; // unknown: the forwarder decides
    }
    // Older results wait, so the server was away at the last try: this one queues behind
    // them instead of overtaking them or waiting for a link that is likely gone.
    if (wartend > 1) {
        if (FAnstossen)
            FAnstossen();
        return vorgemerkt;
    }

    const Buchung::TErgebnis ergebnis = FBuchung.Speichern(werte);
    try {
        if (ergebnis.Gespeichert) {
            FJournal->AlsWeitergeleitet(werte.Kennung, QDateTime::currentDateTime(),
                                        ergebnis.Messung_ID);
            return ergebnis;
        }
        if (Buchung::Abgewiesen(ergebnis)) {
            FJournal->AlsAbgewiesen(werte.Kennung, QDateTime::currentDateTime(),
                                    ergebnis.Fehlernummer + u':' + ergebnis.Meldung);
            return ergebnis;
        }
    } catch (const std::exception&) {
        // Not marked: the entry waits, and the receipt tells the forwarder how it went.
        if (ergebnis.Gespeichert || Buchung::Abgewiesen(ergebnis))
            return ergebnis;
    }
    if (FAnstossen)
        FAnstossen();
    vorgemerkt.Fehlernummer = ergebnis.Fehlernummer;
    vorgemerkt.Meldung = ergebnis.Meldung;
    return vorgemerkt;
}
