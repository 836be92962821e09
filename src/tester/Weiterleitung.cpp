// Forwarding journaled results through the booking, with its receipt deciding what arrived.
#include "Weiterleitung.h"

#include "DBAbfrage.h"
#include "DBVerbindung.h"
#include "Journal.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace Weiterleitung {

TJournalEintrag FuerJournal(const TBuchungswerte& werte)
{
    TJournalEintrag eintrag;
    eintrag.Kennung = werte.Kennung;
    eintrag.Zeitstempel = werte.Zeitstempel;
    eintrag.Station = werte.Station;
    eintrag.Mitarbeiter_ID = werte.Mitarbeiter_ID;
    eintrag.Name = werte.Name;
    eintrag.Messwert1 = werte.Messwert1;
    eintrag.Messwert2 = werte.Messwert2;
    eintrag.Messwert3 = werte.Messwert3;
    eintrag.Fehlercode = werte.Fehlercode;
    eintrag.Messwerte_OK = werte.Messwerte_OK;
    return eintrag;
}

TBuchungswerte AusJournal(const TJournalEintrag& eintrag)
{
    TBuchungswerte werte;
    werte.Kennung = eintrag.Kennung;
    werte.Zeitstempel = eintrag.Zeitstempel;
    werte.Station = eintrag.Station;
    werte.Mitarbeiter_ID = eintrag.Mitarbeiter_ID;
    werte.Name = eintrag.Name;
    werte.Messwert1 = eintrag.Messwert1;
    werte.Messwert2 = eintrag.Messwert2;
    werte.Messwert3 = eintrag.Messwert3;
    werte.Fehlercode = eintrag.Fehlercode;
    werte.Messwerte_OK = eintrag.Messwerte_OK;
    return werte;
}

Buchung::TErgebnis Vormerken(TJournal& journal, const TBuchungswerte& werte)
{
    Buchung::TErgebnis ergebnis;
    try {
        journal.Eintragen(FuerJournal(werte));
        ergebnis.Gespeichert = true;
        ergebnis.Wartet = true;
    } catch (const EJournalfehler& fehler) {
        ergebnis.Fehlernummer = fehler.Code() != 0 ? QString::number(fehler.Code()) : QString();
        ergebnis.Meldung = fehler.Anzeige();
    } catch (const std::exception& fehler) {
        ergebnis.Meldung = TypNameVon(fehler) + u':' + MeldungVon(fehler);
    }
    return ergebnis;
}

} // namespace Weiterleitung

TWeiterleitung::TWeiterleitung(TJournal& journal, TEinrichten einrichten, QObject* parent)
    : QObject(parent), FJournal(journal), FEinrichten(std::move(einrichten))
{
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, &TWeiterleitung::Timer_WeiterleitungTimer);
}

TWeiterleitung::~TWeiterleitung() = default;

void TWeiterleitung::Anstossen()
{
    FPauseMs = kErstePauseMs;
    Weiterleiten();
}

void TWeiterleitung::Planen(int ms)
{
    if (!FTimer.isActive() || FTimer.remainingTime() > ms)
        FTimer.start(ms);
}

void TWeiterleitung::Timer_WeiterleitungTimer()
{
    Weiterleiten();
}

QString TWeiterleitung::Server() const
{
    return FVerbindung ? FVerbindung->AktuellerServer() : QString();
}

int TWeiterleitung::Knotenwechsel() const
{
    return FVerbindung ? FVerbindung->Knotenwechsel() : 0;
}

void TWeiterleitung::Verbinden()
{
    FVerbindung = std::make_unique<TDBVerbindung>();
    FEinrichten(*FVerbindung);
    FAbfrage = std::make_unique<TDBAbfrage>(*FVerbindung, u"quWeiterleiten"_s);
    FBuchung = std::make_unique<TBuchung>(*FAbfrage);
    try {
        FVerbindung->SetConnected(true);
    } catch (const std::exception&) {
        // The server is away: the open is asked for, so every later statement tries again.
    }
}

int TWeiterleitung::Weiterleiten()
{
    FTimer.stop();
    if (FBeobachter.Begonnen)
        FBeobachter.Begonnen();
    const auto erledigt = [this](const QString& kennung, const Buchung::TErgebnis& ergebnis) {
        if (FBeobachter.Erledigt)
            FBeobachter.Erledigt(kennung, ergebnis);
    };
    int weitergeleitet = 0;
    bool gesendet = false;
    FLetzteRunde = Buchung::TErgebnis{true, {}, {}, 0};
    try {
        if (!FBuchung)
            Verbinden();
        for (bool mehr = true; mehr;) {
            const QList<TJournalEintrag> stapel = FJournal.Wartende(kStapel);
            for (const TJournalEintrag& eintrag : stapel) {
                gesendet = true;
                const Buchung::TErgebnis ergebnis =
                    FBuchung->Speichern(Weiterleitung::AusJournal(eintrag));
                if (Buchung::Abgewiesen(ergebnis) || ergebnis.Unklar) {
                    // Settled without being forwarded: kept for an administrator, never sent
                    // again.
                    const QString grund = (ergebnis.Unklar ? u"unklar "_s : QString()) +
                                          ergebnis.Fehlernummer + u':' + ergebnis.Meldung;
                    erledigt(eintrag.Kennung, ergebnis);
                    FJournal.AlsAbgewiesen(eintrag.Kennung, QDateTime::currentDateTime(), grund);
                    emit Abgewiesen(eintrag.Kennung, grund);
                    continue;
                }
                if (!ergebnis.Gespeichert) {
                    FLetzteRunde = ergebnis;
                    erledigt(eintrag.Kennung, ergebnis);
                    break;
                }
                // On the server: the screen may say so even should the mark below fail.
                erledigt(eintrag.Kennung, ergebnis);
                // Should the station die before this mark, the entry waits again and its receipt
                // tells the next round that it arrived.
                FJournal.AlsWeitergeleitet(eintrag.Kennung, QDateTime::currentDateTime(),
                                           ergebnis.Messung_ID);
                ++weitergeleitet;
            }
            mehr = FLetzteRunde.Gespeichert && stapel.size() == kStapel;
        }
        // Pruning writes to the disk too; once in a while is enough for entries kept for days.
        if (weitergeleitet > 0 && FAufraeumen.hasExpired()) {
            FJournal.Aufraeumen(QDateTime::currentDateTime(), FAufbewahrungTage);
            FAufraeumen.setRemainingTime(kAufraeumenAbstandMs);
        }
    } catch (const std::exception& fehler) {
        // The journal could not be read or marked: what is not marked waits for the next round.
        FLetzteRunde =
            Buchung::TErgebnis{false, {}, TypNameVon(fehler) + u':' + MeldungVon(fehler), 0};
    }

    int wartend = 0;
    try {
        wartend = FJournal.AnzahlWartend();
    } catch (const std::exception&) {
        wartend = 1; // unknown: plan a round
    }
    if (FLetzteRunde.Gespeichert) {
        FPauseMs = kErstePauseMs;
    } else if (wartend > 0) {
        FTimer.start(FPauseMs);
        FPauseMs = std::min(FPauseMs * 2, kLaengstePauseMs);
    }
    if (FBeobachter.Beendet)
        FBeobachter.Beendet();
    if (gesendet)
        emit Erreichbar(FLetzteRunde.Gespeichert);
    emit Wartend(wartend);
    return weitergeleitet;
}
