// Feeds the lines through the station's measurement cycle and keeps what it would store.
#include "Messwerte.h"

#include "Messzyklus.h"

namespace Demofirma {

std::optional<TMesswerte> Messwerte(const QList<QByteArray>& zeilen)
{
    // The history is written in bulk with times of the past; the cycle only evaluates here and
    // hands over its result, as it hands it to the station's recording.
    std::optional<TMesswerte> werte;
    TOhneAnzeige anzeige;
    TMesszyklus zyklus(anzeige, [&werte](const TBuchungswerte& w) {
        werte = TMesswerte{w.Messwert1, w.Messwert2, w.Messwert3, w.Fehlercode, w.Messwerte_OK};
        return Buchung::TErgebnis{true, QString(), QString(), 0};
    });
    for (const QByteArray& zeile : zeilen)
        zyklus.Empfangen(zeile + '\r');
    return werte;
}

} // namespace Demofirma
