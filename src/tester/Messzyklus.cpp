// The path from the tester's bytes to a stored result, shared by every caller.
#include "Messzyklus.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char kCR = '\r';

} // namespace

TMesszyklus::TMesszyklus(TMessanzeige& anzeige, TSpeicher speicher)
    : FAnzeige(anzeige), FSpeicher(std::move(speicher))
{}

void TMesszyklus::SetzePerson(const QString& mitarbeiter_ID, std::function<QString()> name)
{
    FMitarbeiter_ID = mitarbeiter_ID;
    FName = std::move(name);
}

void TMesszyklus::ByteAufnehmen(char byte)
{
    Auswertung.ByteAufnehmen(byte);
}

void TMesszyklus::Zeilenende(quint16 handle)
{
    Auswertung.Auswerten(handle, *this);
}

void TMesszyklus::Empfangen(const QByteArray& bytes)
{
    for (const char byte : bytes) {
        if (byte == kCR)
            Zeilenende(Auswertung.CRTrig);
        ByteAufnehmen(byte);
    }
}

const QString TMesszyklus::kWirdUebertragen =
    u"Gespeichert – wird übertragen, sobald die Datenbank erreichbar ist."_s;

void TMesszyklus::Messung_speichern()
{
    TBuchungswerte werte = Buchung::NeuesErgebnis();
    werte.Mitarbeiter_ID = FMitarbeiter_ID;
    werte.Name = FName ? FName() : QString();
    werte.Messwert1 = Auswertung.sWert_Schuh_L;
    werte.Messwert2 = Auswertung.sWert_Schuh_R;
    werte.Messwert3 = Auswertung.sWert_Armband;
    werte.Fehlercode = Auswertung.sMessung_Fehlercode;
    werte.Messwerte_OK = Auswertung.bMesswert_OK;
    ++FSpeicherungen;
    FLetzteWerte = werte;
    FLetztesErgebnis = FSpeicher ? FSpeicher(werte) : Buchung::TErgebnis{};
    if (!FLetztesErgebnis.Gespeichert)
        FAnzeige.FehlerZeigen(u"Die Messung konnte nicht gespeichert werden."_s,
                              u"Bitte wiederholen Sie die Messung oder verständigen Sie einen "
                              u"Administrator."_s,
                              FLetztesErgebnis.Fehlernummer);
    else if (!FLetztesErgebnis.Journalfehler.isEmpty())
        // On the server, but the station's own record failed: an administrator must look.
        FAnzeige.FehlerZeigen(u"Die Messung konnte nicht im Journal der Station gespeichert "
                              u"werden."_s,
                              u"Sie wurde an die Datenbank übertragen. Bitte verständigen Sie "
                              u"einen Administrator."_s,
                              FLetztesErgebnis.Fehlernummer);
    else if (FLetztesErgebnis.Wartet)
        FAnzeige.HinweisZeigen(kWirdUebertragen);
}
