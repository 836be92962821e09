// Feeds the lines byte by byte through the station's evaluation and keeps what it would store.
#include "Messwerte.h"

#include "Auswertung.h"

namespace Demofirma {
namespace {

// A measurement screen without a screen: only the store request matters.
class TErfassung final : public TOhneAnzeige
{
public:
    explicit TErfassung(const TZeilenauswertung& auswertung) : FAuswertung(auswertung) {}

    // The same fields the screen hands to the recording.
    void Speichern() override
    {
        Werte = TMesswerte{FAuswertung.sWert_Schuh_L, FAuswertung.sWert_Schuh_R,
                           FAuswertung.sWert_Armband, FAuswertung.sMessung_Fehlercode,
                           FAuswertung.bMesswert_OK};
    }
    std::optional<TMesswerte> Werte;

private:
    const TZeilenauswertung& FAuswertung;
};

} // namespace

std::optional<TMesswerte> Messwerte(const QList<QByteArray>& zeilen)
{
    // A fresh evaluation per result, as every measurement cycle of the screen starts reset.
    TZeilenauswertung auswertung;
    auswertung.CRTrig = 1;
    TErfassung erfassung(auswertung);
    for (const QByteArray& zeile : zeilen) {
        for (const char byte : zeile)
            auswertung.ByteAufnehmen(byte);
        auswertung.Auswerten(auswertung.CRTrig, erfassung);
    }
    return erfassung.Werte;
}

} // namespace Demofirma
