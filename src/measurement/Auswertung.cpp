// Every test runs on the same line independently; only "ERG -10" satisfies two of them.
#include "Auswertung.h"

#include "AnsiCodePage.h"
#include "uFehler.h"

#include <array>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char kSTX = 0x02;
constexpr char kETX = 0x03;
constexpr char kLF = 0x0A;
constexpr char kCR = 0x0D;

struct TGrund
{
    qint32 Bit;
    const char16_t* Text;
};

constexpr std::array<TGrund, 8> kGruende{{
    {128, u"TBD (?\?)"},
    {64, u"Messspannung fehlerhaft"},
    {32, u"Schuh Rechts: Widerstand zu hoch"},
    {16, u"Schuh Rechts: Widerstand zu tief"},
    {8, u"Schuh Links: Widerstand zu hoch"},
    {4, u"Schuh Links: Widerstand zu tief"},
    {2, u"Handgelenkband: Widerstand zu hoch"},
    {1, u"Handgelenkband: Widerstand zu tief)"},
}};

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
    for (const TGrund& grund : kGruende) {
        // The lowest reason takes whatever is left, as the tester's codes are read.
        if (code >= grund.Bit) {
            zeilen << QString::fromUtf16(grund.Text);
            code -= grund.Bit;
        }
    }
    return zeilen;
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
    using B = TAuswertungsZiel::TBildart;
    using W = TAuswertungsZiel::TWert;
    const QString& zeile = Zeile;
    const QString wert = Werttext(zeile);
    const auto beginntMit = [&zeile](QStringView tag) { return zeile.startsWith(tag); };

    if (zeile == u"ERG -10"_s) {
        WerteZuruecksetzen();
        ziel.Zuruecksetzen();
        ziel.MemoSetzen(u"Bitte länger gedrückt halten!"_s);
        ziel.Fehlermeldung(u"Die Taste wurde zuwenig lange gedrückt!"_s,
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
            if (*code > 0)
                ziel.MemoZeile(QString());
            for (const QString& grund : Gruende(*code))
                ziel.MemoZeile(grund);
            ziel.MemoZeigen();
            ziel.BildZeigen(B::Gut, false);
            ziel.BildZeigen(B::Schlecht, true);
        }
    }
    ziel.CountdownStarten();
    Zeile.clear();
    FUeberlang = false;
}
