// Journal first, then the forwarder, waited for only briefly.
#include "Aufzeichnung.h"

#include "Journal.h"
#include "Weiterleitung.h"

TAufzeichnung::TAufzeichnung(TBuchung& buchung) : FBuchung(buchung) {}

TAufzeichnung::TAufzeichnung(TBuchung& buchung, TJournal& journal, TSenden senden)
    : FBuchung(buchung), FJournal(&journal), FSenden(std::move(senden))
{}

void TAufzeichnung::SetzeJournal(TJournal* journal, TSenden senden)
{
    FJournal = journal;
    FSenden = std::move(senden);
}

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

    // The forwarder sends it behind any older waiting result; its answer decides what the
    // screen shows, unless the server keeps it waiting.
    const std::optional<Buchung::TErgebnis> antwort =
        FSenden ? FSenden(werte.Kennung) : std::nullopt;
    if (antwort && (antwort->Gespeichert || Buchung::Abgewiesen(*antwort) || antwort->Unklar))
        return *antwort;
    if (antwort) {
        vorgemerkt.Fehlernummer = antwort->Fehlernummer;
        vorgemerkt.Meldung = antwort->Meldung;
    }
    return vorgemerkt;
}
