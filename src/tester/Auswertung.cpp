// Every test runs on the same line independently; only "ERG -10" satisfies two of them.
#include "Auswertung.h"

#include "AnsiCodePage.h"
#include "uFehler.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char kSTX = 0x02;
constexpr char kETX = 0x03;
constexpr char kLF = 0x0A;
constexpr char kCR = 0x0D;

using B = TMessanzeige::TBildart;

// The tested item a reason names; its pictures turn bad with the reason.
struct TTeil
{
    B Schlecht;
    B Gut;
};

constexpr TTeil kSchuh_R{B::Schuh_R_schlecht, B::Schuh_R_gut};
constexpr TTeil kSchuh_L{B::Schuh_L_schlecht, B::Schuh_L_Gut};
constexpr TTeil kArmband{B::Armband_schlecht, B::Armband_gut};

struct TGrund
{
    qint32 Bit;
    const char16_t* Text;
    const TTeil* Teil; // null: names no item (the measuring voltage, the reserved bit)
};

constexpr std::array<TGrund, 8> kGruende{{
    {128, u"TBD (?\?)", nullptr},
    {64, u"Messspannung fehlerhaft", nullptr},
    {32, u"Schuh Rechts: Widerstand zu hoch", &kSchuh_R},
    {16, u"Schuh Rechts: Widerstand zu tief", &kSchuh_R},
    {8, u"Schuh Links: Widerstand zu hoch", &kSchuh_L},
    {4, u"Schuh Links: Widerstand zu tief", &kSchuh_L},
    {2, u"Handgelenkband: Widerstand zu hoch", &kArmband},
    {1, u"Handgelenkband: Widerstand zu tief)", &kArmband},
}};

// The reasons of a code, most significant first. The lowest reason takes whatever is left, as
// the tester's codes are read; the memo and the item pictures both come from here, so they
// always name the same reasons.
std::vector<const TGrund*> Zerlegen(qint32 code)
{
    std::vector<const TGrund*> gruende;
    for (const TGrund& grund : kGruende) {
        if (code >= grund.Bit) {
            gruende.push_back(&grund);
            code -= grund.Bit;
        }
    }
    return gruende;
}

// A reason outranks the reading the item's own line brought: the tester measured the value and
// still judged it out of range. An item whose line never arrived is shown bad as well, since the
// tester says it failed.
void TeileSchlecht(const std::vector<const TGrund*>& gruende, TMessanzeige& anzeige)
{
    for (const TTeil* teil : {&kSchuh_R, &kSchuh_L, &kArmband}) {
        const bool genannt =
            std::any_of(gruende.begin(), gruende.end(),
                        [teil](const TGrund* grund) { return grund->Teil == teil; });
        if (genannt) {
            anzeige.BildZeigen(teil->Schlecht, true);
            anzeige.BildZeigen(teil->Gut, false);
        }
    }
}

// Leading blanks, an optional sign, digits and nothing after them.
std::optional<qint32> Ganzzahl(const QString& text)
{
    qsizetype beginn = 0;
    while (beginn < text.size() && text.at(beginn) == u' ')
        ++beginn;
    try {
        return StrToInt(text.mid(beginn));
    } catch (const EUmwandlungsfehler&) {
        return std::nullopt;
    }
}

} // namespace

void TZeilenauswertung::ByteAufnehmen(char byte)
{
    if (byte == kSTX || byte == kETX || byte == kLF || byte == kCR)
        return;
    if (FUeberlang)
        return;
    if (Zeile.size() >= kMaxZeile) {
        Zeile.clear();
        FUeberlang = true;
        return;
    }
    Zeile += VonAnsi(QByteArray(1, byte));
}

QString TZeilenauswertung::Werttext(const QString& zeile)
{
    return zeile.mid(3, kMaxWert);
}

QStringList TZeilenauswertung::Gruende(qint32 code)
{
    QStringList zeilen;
    for (const TGrund* grund : Zerlegen(code))
        zeilen << QString::fromUtf16(grund->Text);
    return zeilen;
}

QStringList TZeilenauswertung::GruendeAusFehlercode(const QString& fehlercode)
{
    const std::optional<qint32> code = Ganzzahl(fehlercode);
    if (!code)
        return {};
    if (*code == kTasteZuKurz)
        return {TasteZuKurzText()};
    return Gruende(*code);
}

QString TZeilenauswertung::TasteZuKurzText()
{
    return u"Die Taste wurde zuwenig lange gedrückt!"_s;
}

void TZeilenauswertung::WerteZuruecksetzen()
{
    sWert_Schuh_L.clear();
    sWert_Schuh_R.clear();
    sWert_Armband.clear();
    sMessung_Fehlercode.clear();
    bMesswert_OK = false;
}

void TZeilenauswertung::Auswerten(quint16 handle, TAuswertungsZiel& ziel)
{
    if (handle != CRTrig)
        return;
    using W = TAuswertungsZiel::TWert;
    const QString& zeile = Zeile;
    const QString wert = Werttext(zeile);
    const auto beginntMit = [&zeile](QStringView tag) { return zeile.startsWith(tag); };

    if (zeile == u"ERG -10"_s) {
        WerteZuruecksetzen();
        ziel.Zuruecksetzen();
        ziel.MemoSetzen(u"Bitte länger gedrückt halten!"_s);
        ziel.FehlerZeigen(TasteZuKurzText(),
                          u"Bitte halten Sie die Taste für mindestens 2 Sekunden gedrückt!"_s,
                          QString());
    }
    if (zeile == u"RHG OVR"_s) {
        ziel.BildZeigen(B::Armband_schlecht, true);
        sWert_Armband = wert;
        ziel.WertZeigen(W::Armband, wert);
    }
    if (beginntMit(u"RHG") && zeile != u"RHG OVR"_s) {
        ziel.BildZeigen(B::Armband_gut, true);
        sWert_Armband = wert;
        ziel.WertZeigen(W::Armband, wert);
    }
    if (zeile == u"RSL OVR"_s) {
        ziel.BildZeigen(B::Schuh_L_schlecht, true);
        ziel.BildZeigen(B::Schuh_L_Gut, false);
        sWert_Schuh_L = wert;
        ziel.WertZeigen(W::Schuh_L, wert);
    }
    if (beginntMit(u"RSL") && zeile != u"RSL OVR"_s) {
        ziel.BildZeigen(B::Schuh_L_Gut, true);
        sWert_Schuh_L = wert;
        ziel.WertZeigen(W::Schuh_L, wert);
    }
    if (zeile == u"RSR OVR"_s) {
        ziel.BildZeigen(B::Schuh_R_schlecht, true);
        ziel.BildZeigen(B::Schuh_R_gut, false);
        sWert_Schuh_R = wert;
        ziel.WertZeigen(W::Schuh_R, wert);
    }
    if (beginntMit(u"RSR") && zeile != u"RSR OVR"_s) {
        ziel.BildZeigen(B::Schuh_R_gut, true);
        ziel.BildZeigen(B::Schuh_R_schlecht, false);
        sWert_Schuh_R = wert;
        ziel.WertZeigen(W::Schuh_R, wert);
    }
    if (zeile == u"ERG OK"_s) {
        bMesswert_OK = true;
        ziel.Speichern();
        ziel.BildZeigen(B::Gut, true);
        ziel.PeriodeSetzen(kPeriodeBestanden);
    }
    if (beginntMit(u"ERG") && zeile != u"ERG OK"_s) {
        // A result without a whole number is not a result: nothing is stored for it.
        if (const std::optional<qint32> code = Ganzzahl(wert)) {
            sMessung_Fehlercode = wert;
            bMesswert_OK = false;
            ziel.Speichern();
            ziel.BildZeigen(B::Schlecht, true);
            ziel.PeriodeSetzen(kPeriodeDurchgefallen);
            const std::vector<const TGrund*> gruende = Zerlegen(*code);
            if (*code > 0)
                ziel.MemoZeile(QString());
            for (const QString& text : Gruende(*code))
                ziel.MemoZeile(text);
            ziel.MemoZeigen();
            ziel.BildZeigen(B::Gut, false);
            ziel.BildZeigen(B::Schlecht, true);
            TeileSchlecht(gruende, ziel);
        }
    }
    ziel.CountdownStarten();
    Zeile.clear();
    FUeberlang = false;
}
