// The tester's result lines: byte intake into the current line and its evaluation.
#pragma once

#include <QString>
#include <QStringList>

// What an evaluated line does to the measurement screen, in the order the evaluation asks for
// it. The screen applies each call at once; tests record them.
class TMessanzeige
{
public:
    enum class TBildart
    {
        Schuh_L_Gut,
        Schuh_L_schlecht,
        Schuh_R_gut,
        Schuh_R_schlecht,
        Armband_gut,
        Armband_schlecht,
        Gut,
        Schlecht
    };
    enum class TWert
    {
        Schuh_L,
        Schuh_R,
        Armband
    };

    virtual ~TMessanzeige() = default;

    // The display reset; the evaluation has emptied its values just before.
    virtual void Zuruecksetzen() = 0;
    virtual void BildZeigen(TBildart bild, bool sichtbar) = 0;
    virtual void WertZeigen(TWert wert, const QString& text) = 0;
    virtual void MemoSetzen(const QString& text) = 0;
    virtual void MemoZeile(const QString& zeile) = 0;
    virtual void MemoZeigen() = 0;
    virtual void FehlerZeigen(const QString& text1, const QString& text2,
                              const QString& errorcode) = 0;
    virtual void PeriodeSetzen(int ms) = 0;
    virtual void CountdownStarten() = 0;
    // A plain note beside the result, e.g. that it waits to be transmitted; empty hides it.
    virtual void HinweisZeigen(const QString& /*text*/) {}
};

// The display and the store request: what the evaluation drives.
class TAuswertungsZiel : public TMessanzeige
{
public:
    // Records the measurement from the evaluation's current values.
    virtual void Speichern() = 0;
};

// A display that shows nothing, for cycles run headless (load stations, the demo's history).
class TOhneAnzeige : public TMessanzeige
{
public:
    void Zuruecksetzen() override {}
    void BildZeigen(TBildart, bool) override {}
    void WertZeigen(TWert, const QString&) override {}
    void MemoSetzen(const QString&) override {}
    void MemoZeile(const QString&) override {}
    void MemoZeigen() override {}
    void FehlerZeigen(const QString&, const QString&, const QString&) override {}
    void PeriodeSetzen(int) override {}
    void CountdownStarten() override {}
};

class TZeilenauswertung
{
public:
    static constexpr int kPeriodeBestanden = 2000;
    static constexpr int kPeriodeDurchgefallen = 5000;
    // Noise without a line end is dropped rather than collected without end.
    static constexpr int kMaxZeile = 1024;
    static constexpr int kMaxWert = 20;

    // Appends one received byte to the line; the framing bytes STX, ETX, LF and CR are dropped.
    void ByteAufnehmen(char byte);
    // Evaluates the line at a line-end notification; a handle other than CRTrig changes nothing.
    // A failing result also turns the pictures of the items its reasons name bad.
    void Auswerten(quint16 handle, TAuswertungsZiel& ziel);
    // Empties the four value texts and clears the result.
    void WerteZuruecksetzen();

    // The value text: from the fourth character on, at most 20 characters.
    static QString Werttext(const QString& zeile);
    // The memo lines for the reason bits of a failed result, most significant first.
    static QStringList Gruende(qint32 code);
    // A stored FEHLERCODE in the station's words: the reasons of its bits, or for a key released
    // too early (-10) what the station showed then. Empty for a pass or a text that is no
    // whole number.
    static QStringList GruendeAusFehlercode(const QString& fehlercode);
    // The station's words for a key released too early (result -10).
    static constexpr qint32 kTasteZuKurz = -10;
    static QString TasteZuKurzText();

    QString Zeile;
    quint16 CRTrig = 0;
    QString sWert_Schuh_L;
    QString sWert_Schuh_R;
    QString sWert_Armband;
    QString sMessung_Fehlercode;
    bool bMesswert_OK = false;

private:
    bool FUeberlang = false; // the current line passed kMaxZeile and is being dropped
};
