// Starting, nudging and ending the forwarder's thread, and waiting briefly for one result.
#include "WeiterleitungsThread.h"

#include <chrono>

using namespace Qt::Literals::StringLiterals;

TWeiterleitungsThread::TWeiterleitungsThread(TJournal& journal,
                                             TWeiterleitung::TEinrichten einrichten,
                                             int aufbewahrungTage, QObject* parent)
    : QObject(parent), FWeiterleitung(new TWeiterleitung(journal, std::move(einrichten)))
{
    FWeiterleitung->SetzeAufbewahrung(aufbewahrungTage);
    FWeiterleitung->SetzeBeobachter(
        {[this] {
             const std::lock_guard sperre(FWarten.Sperre);
             ++FWarten.Begonnen;
             FWarten.Fehlschlag.reset();
         },
         [this](const QString& kennung, const Buchung::TErgebnis& ergebnis) {
             {
                 const std::lock_guard sperre(FWarten.Sperre);
                 if (!ergebnis.Gespeichert && !Buchung::Abgewiesen(ergebnis) && !ergebnis.Unklar)
                     FWarten.Fehlschlag = ergebnis;
                 if (kennung != FWarten.Gesucht)
                     return;
                 FWarten.Ergebnis = ergebnis;
             }
             FWarten.Bedingung.notify_all();
         },
         [this] {
             {
                 const std::lock_guard sperre(FWarten.Sperre);
                 FWarten.Beendet = FWarten.Begonnen;
             }
             FWarten.Bedingung.notify_all();
         }});
    FThread.setObjectName(u"Weiterleitung"_s);
    FWeiterleitung->moveToThread(&FThread);
    connect(&FThread, &QThread::finished, FWeiterleitung, &QObject::deleteLater);
    connect(FWeiterleitung, &TWeiterleitung::Wartend, this, &TWeiterleitungsThread::Wartend);
    connect(FWeiterleitung, &TWeiterleitung::Abgewiesen, this, &TWeiterleitungsThread::Abgewiesen);
    connect(FWeiterleitung, &TWeiterleitung::Erreichbar, this, &TWeiterleitungsThread::Erreichbar);
    FThread.start();
    // Results left from the last run go out shortly after start, not while the station starts:
    // a new result sends them at once anyway.
    TWeiterleitung* weiterleitung = FWeiterleitung;
    QMetaObject::invokeMethod(
        weiterleitung, [weiterleitung] { weiterleitung->Planen(kErsteRundeMs); },
        Qt::QueuedConnection);
}

TWeiterleitungsThread::~TWeiterleitungsThread()
{
    FThread.quit();
    FThread.wait();
}

void TWeiterleitungsThread::Anstossen()
{
    TWeiterleitung* weiterleitung = FWeiterleitung;
    QMetaObject::invokeMethod(
        weiterleitung, [weiterleitung] { weiterleitung->Anstossen(); }, Qt::QueuedConnection);
}

std::optional<Buchung::TErgebnis> TWeiterleitungsThread::Senden(const QString& kennung,
                                                                int wartezeitMs)
{
    std::unique_lock sperre(FWarten.Sperre);
    FWarten.Gesucht = kennung;
    FWarten.Ergebnis.reset();
    // A round begun before this call may have read the journal before the result was in it;
    // only a later one is sure to reach it.
    const quint64 vorher = FWarten.Begonnen;
    sperre.unlock();
    Anstossen();
    sperre.lock();
    FWarten.Bedingung.wait_for(sperre, std::chrono::milliseconds(wartezeitMs), [&] {
        return FWarten.Ergebnis.has_value() || FWarten.Beendet > vorher;
    });
    const bool beantwortet = FWarten.Ergebnis.has_value();
    const bool rundeVorbei = FWarten.Beendet > vorher;
    // A round that ended before it got to this result: an older one did not get through, or the
    // journal could not be read.
    Buchung::TErgebnis ergebnis{false, {}, {}, 0};
    if (beantwortet)
        ergebnis = *FWarten.Ergebnis;
    else if (FWarten.Fehlschlag)
        ergebnis = *FWarten.Fehlschlag;
    FWarten.Gesucht.clear();
    FWarten.Ergebnis.reset();
    if (!beantwortet && !rundeVorbei)
        return std::nullopt;
    return ergebnis;
}
