// The tester's bytes as the serial link announces them: every byte before a CR, then the
// line-end notification, then the CR itself. The evaluation's promises are checked per line.
#include "AnsiCodePage.h"
#include "Auswertung.h"
#include "Pruefen.h"
#include "uFehler.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <tuple>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint16 kZeilenende = 1; // the screen's registration for CR
constexpr quint16 kFremd = 2;

bool IstRahmen(char byte)
{
    return byte == '\x02' || byte == '\x03' || byte == '\n' || byte == '\r';
}

bool WerteKurz(const TZeilenauswertung& a)
{
    constexpr int n = TZeilenauswertung::kMaxWert;
    return a.sWert_Schuh_L.size() <= n && a.sWert_Schuh_R.size() <= n &&
           a.sWert_Armband.size() <= n && a.sMessung_Fehlercode.size() <= n;
}

auto Zustand(const TZeilenauswertung& a)
{
    return std::make_tuple(a.Zeile, a.sWert_Schuh_L, a.sWert_Schuh_R, a.sWert_Armband,
                           a.sMessung_Fehlercode, a.bMesswert_OK);
}

// A screen that shows nothing: it counts the calls of one evaluation and checks each as it
// comes, while the evaluation's values are as the call finds them.
class TZiel : public TAuswertungsZiel
{
public:
    explicit TZiel(const TZeilenauswertung& auswertung) : FAuswertung(auswertung) {}

    void Zuruecksetzen() override { Aufruf(); }
    void BildZeigen(TBildart, bool) override { Aufruf(); }
    void WertZeigen(TWert, const QString& text) override
    {
        Aufruf();
        Pruefe(text.size() <= TZeilenauswertung::kMaxWert, "angezeigter Wert <= kMaxWert");
    }
    void MemoSetzen(const QString&) override { Aufruf(); }
    void MemoZeile(const QString&) override
    {
        Aufruf();
        ++MemoZeilen;
    }
    void MemoZeigen() override { Aufruf(); }
    void FehlerZeigen(const QString&, const QString&, const QString&) override { Aufruf(); }
    void Speichern() override
    {
        Aufruf();
        ++Gespeichert;
        const TZeilenauswertung& a = FAuswertung;
        Pruefe(WerteKurz(a), "gespeicherte Werte <= kMaxWert");
        if (a.bMesswert_OK) {
            Pruefe(a.Zeile == u"ERG OK"_s, "bestanden nur bei ERG OK");
            return;
        }
        Pruefe(a.Zeile.startsWith(u"ERG"_s), "durchgefallen nur bei ERG");
        Pruefe(a.sMessung_Fehlercode == TZeilenauswertung::Werttext(a.Zeile),
               "Fehlercode ist der Werttext der Zeile");
        // The tester pads its codes with leading blanks.
        QStringView code = a.sMessung_Fehlercode;
        while (code.startsWith(u' '))
            code = code.mid(1);
        bool zahl = true;
        try {
            StrToInt(code.toString());
        } catch (const EUmwandlungsfehler&) {
            zahl = false;
        }
        Pruefe(zahl, "gespeicherter Fehlercode ist eine Ganzzahl");
    }
    void PeriodeSetzen(int ms) override
    {
        Aufruf();
        Pruefe(ms == TZeilenauswertung::kPeriodeBestanden ||
                   ms == TZeilenauswertung::kPeriodeDurchgefallen,
               "Periode ist eine der beiden");
    }
    void CountdownStarten() override
    {
        Aufruf();
        ++Countdowns;
    }

    int Aufrufe = 0;
    int MemoZeilen = 0;
    int Gespeichert = 0;
    int Countdowns = 0;

private:
    void Aufruf()
    {
        Pruefe(Countdowns == 0, "nach dem Countdown-Start kommt nichts mehr");
        ++Aufrufe;
    }

    const TZeilenauswertung& FAuswertung;
};

// The line holds the bytes since the last line end without framing, or nothing once they
// passed the bound.
void PruefeZeile(const TZeilenauswertung& a, const QByteArray& seitZeilenende)
{
    Pruefe(a.Zeile.size() <= TZeilenauswertung::kMaxZeile, "Zeile <= kMaxZeile");
    if (seitZeilenende.size() <= TZeilenauswertung::kMaxZeile)
        Pruefe(a.Zeile == VonAnsi(seitZeilenende), "Zeile sind die Bytes seit dem Zeilenende");
    else
        Pruefe(a.Zeile.isEmpty(), "ueberlange Zeile wird verworfen");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
{
    TZeilenauswertung a;
    a.CRTrig = kZeilenende;
    QByteArray seitZeilenende;
    for (std::size_t i = 0; i < groesse; ++i) {
        const auto byte = static_cast<char>(daten[i]);
        if (byte == '\r') {
            PruefeZeile(a, seitZeilenende);

            const auto vorher = Zustand(a);
            TZiel fremd(a);
            a.Auswerten(kFremd, fremd);
            Pruefe(fremd.Aufrufe == 0 && Zustand(a) == vorher, "fremder Handle aendert nichts");

            TZiel ziel(a);
            a.Auswerten(kZeilenende, ziel);
            Pruefe(ziel.Countdowns == 1, "jede Zeile startet den Countdown einmal");
            Pruefe(ziel.Gespeichert <= 1, "hoechstens eine Messung je Zeile");
            Pruefe(ziel.MemoZeilen <= 9, "Leerzeile und hoechstens acht Gruende");
            Pruefe(a.Zeile.isEmpty(), "nach der Auswertung ist die Zeile leer");
            Pruefe(WerteKurz(a), "Werte <= kMaxWert");
            seitZeilenende.clear();
        }
        a.ByteAufnehmen(byte);
        if (!IstRahmen(byte))
            seitZeilenende.append(byte);
        Pruefe(a.Zeile.size() <= TZeilenauswertung::kMaxZeile, "Zeile <= kMaxZeile");
    }
    PruefeZeile(a, seitZeilenende);
    return 0;
}
