// The tester's lines without a screen: intake, evaluation, what is stored and shown.
#include "Auswertung.h"

#include <QTest>

#include <algorithm>
#include <set>

using B = TAuswertungsZiel::TBildart;

namespace {

const char* Name(B bild)
{
    switch (bild) {
    case B::Schuh_L_Gut:
        return "Schuh_L_Gut";
    case B::Schuh_L_schlecht:
        return "Schuh_L_schlecht";
    case B::Schuh_R_gut:
        return "Schuh_R_gut";
    case B::Schuh_R_schlecht:
        return "Schuh_R_schlecht";
    case B::Armband_gut:
        return "Armband_gut";
    case B::Armband_schlecht:
        return "Armband_schlecht";
    case B::Gut:
        return "Gut";
    case B::Schlecht:
        return "Schlecht";
    }
    return "?";
}

// A screen in miniature: keeps what the evaluation shows, stores and arms, and a log of the
// calls in their order.
class TBildschirm : public TAuswertungsZiel
{
public:
    explicit TBildschirm(TZeilenauswertung& auswertung) : FAuswertung(auswertung) {}

    void Zuruecksetzen() override
    {
        Log << "Reset";
        Bilder.clear();
        Memo.clear();
        MemoSichtbar = false;
    }
    void BildZeigen(TBildart bild, bool sichtbar) override
    {
        Log << QString(sichtbar ? "+" : "-") + Name(bild);
        if (sichtbar)
            Bilder.insert(Name(bild));
        else
            Bilder.erase(Name(bild));
    }
    void WertZeigen(TWert, const QString&) override {}
    void MemoSetzen(const QString& text) override { Memo = QStringList{text}; }
    void MemoZeile(const QString& zeile) override { Memo << zeile; }
    void MemoZeigen() override { MemoSichtbar = true; }
    void FehlerZeigen(const QString& t1, const QString& t2, const QString& code) override
    {
        Meldungen << t1 + "|" + t2 + "|" + code;
    }
    void Speichern() override
    {
        Log << "Speichern";
        const TZeilenauswertung& a = FAuswertung;
        Gespeichert << QString(a.bMesswert_OK ? "J" : "N") + "|" + a.sWert_Schuh_L + "|" +
                           a.sWert_Schuh_R + "|" + a.sWert_Armband + "|" + a.sMessung_Fehlercode;
    }
    void PeriodeSetzen(int ms) override { Periode = ms; }
    void CountdownStarten() override { ++Starts; }

    QString SichtbareBilder() const
    {
        QStringList namen(Bilder.begin(), Bilder.end());
        return namen.join(',');
    }

    TZeilenauswertung& FAuswertung;
    QStringList Log;
    std::set<QString> Bilder;
    QStringList Memo;
    bool MemoSichtbar = false;
    QStringList Meldungen;
    QStringList Gespeichert;
    int Periode = 2000;
    int Starts = 0;
};

// Feeds bytes as the serial link announces them: everything before a CR, then the line-end
// notification, then the CR and what follows.
void Empfangen(TZeilenauswertung& a, TBildschirm& schirm, const QByteArray& bytes,
               quint16 handle = 7)
{
    for (const char byte : bytes) {
        if (byte == '\r')
            a.Auswerten(handle, schirm);
        a.ByteAufnehmen(byte);
    }
}

} // namespace

class TstAuswertung : public QObject
{
    Q_OBJECT

private slots:
    void zeilen_data();
    void zeilen();
    void gespeichertWirdVorDenErgebnisbildern();
    void gruendeMachenTeileSchlecht_data();
    void gruendeMachenTeileSchlecht();
    void teilbilderWieGruende();
    void rahmungUndZeilenende_data();
    void rahmungUndZeilenende();
    void fremderHandleAendertNichts();
    void ueberlangeZeileWirdVerworfen();
    void werttext_data();
    void werttext();
    void ansiZeichen();
};

void TstAuswertung::zeilen_data()
{
    const QStringList kVerborgen{"(verborgen)"};
    QTest::addColumn<QStringList>("zeilen");
    QTest::addColumn<QString>("bilder");
    QTest::addColumn<QStringList>("memo");
    QTest::addColumn<QStringList>("gespeichert");
    QTest::addColumn<int>("periode");
    QTest::addColumn<int>("meldungen");

    QTest::newRow("Beispiel") << QStringList{"RSL 0.35", "RSR OVR", "RHG 1.2", "ERG 32"}
                              << "Armband_gut,Schlecht,Schuh_L_Gut,Schuh_R_schlecht"
                              << QStringList{"", "Schuh Rechts: Widerstand zu hoch"}
                              << QStringList{"N| 0.35| OVR| 1.2| 32"} << 5000 << 0;
    QTest::newRow("links OVR dann Wert")
        << QStringList{"RSL OVR", "RSL 12"} << "Schuh_L_Gut,Schuh_L_schlecht" << kVerborgen
        << QStringList{} << 2000 << 0;
    QTest::newRow("rechts OVR dann Wert") << QStringList{"RSR OVR", "RSR 12"} << "Schuh_R_gut"
                                          << kVerborgen << QStringList{} << 2000 << 0;
    QTest::newRow("Armband OVR") << QStringList{"RHG OVR"} << "Armband_schlecht" << kVerborgen
                                 << QStringList{} << 2000 << 0;
    QTest::newRow("bestanden") << QStringList{"RSL 0.35", "RSR 0.40", "RHG 1.1", "ERG OK"}
                               << "Armband_gut,Gut,Schuh_L_Gut,Schuh_R_gut" << kVerborgen
                               << QStringList{"J| 0.35| 0.40| 1.1|"} << 2000 << 0;
    // The readings are stored as sent, though the reasons turn their pictures bad.
    QTest::newRow("Werte und Gruende")
        << QStringList{"RSL 0.35", "RSR 0.40", "RHG 1.1", "ERG 10"}
        << "Armband_schlecht,Schlecht,Schuh_L_schlecht,Schuh_R_gut"
        << QStringList{"", "Schuh Links: Widerstand zu hoch", "Handgelenkband: Widerstand zu hoch"}
        << QStringList{"N| 0.35| 0.40| 1.1| 10"} << 5000 << 0;
    QTest::newRow("ERG 40") << QStringList{"ERG 40"} << "Schlecht,Schuh_L_schlecht,Schuh_R_schlecht"
                            << QStringList{"", "Schuh Rechts: Widerstand zu hoch",
                                           "Schuh Links: Widerstand zu hoch"}
                            << QStringList{"N|||| 40"} << 5000 << 0;
    // Shown, without reason lines.
    QTest::newRow("ERG 0") << QStringList{"ERG 0"} << "Schlecht" << QStringList{}
                           << QStringList{"N|||| 0"} << 5000 << 0;
    QTest::newRow("ERG -5") << QStringList{"ERG -5"} << "Schlecht" << QStringList{}
                            << QStringList{"N|||| -5"} << 5000 << 0;
    const QStringList alle{"",
                           "TBD (?\?)",
                           "Messspannung fehlerhaft",
                           "Schuh Rechts: Widerstand zu hoch",
                           "Schuh Rechts: Widerstand zu tief",
                           "Schuh Links: Widerstand zu hoch",
                           "Schuh Links: Widerstand zu tief",
                           "Handgelenkband: Widerstand zu hoch",
                           "Handgelenkband: Widerstand zu tief)"};
    const QString alleSchlecht = "Armband_schlecht,Schlecht,Schuh_L_schlecht,Schuh_R_schlecht";
    QTest::newRow("ERG 255") << QStringList{"ERG 255"} << alleSchlecht << alle
                             << QStringList{"N|||| 255"} << 5000 << 0;
    QTest::newRow("ERG 300") << QStringList{"ERG 300"} << alleSchlecht << alle
                             << QStringList{"N|||| 300"} << 5000 << 0;
    QTest::newRow("ERG 5") << QStringList{"ERG 5"} << "Armband_schlecht,Schlecht,Schuh_L_schlecht"
                           << QStringList{"", "Schuh Links: Widerstand zu tief",
                                          "Handgelenkband: Widerstand zu tief)"}
                           << QStringList{"N|||| 5"} << 5000 << 0;
    // The item values are cleared before the row is stored.
    QTest::newRow("ERG -10") << QStringList{"RSL 0.3", "RSR 0.4", "ERG -10"} << "Schlecht"
                             << QStringList{"Bitte länger gedrückt halten!"}
                             << QStringList{"N|||| -10"} << 5000 << 1;
    QTest::newRow("klein geschrieben")
        << QStringList{"erg ok"} << "" << kVerborgen << QStringList{} << 2000 << 0;
    QTest::newRow("zwei Ergebnisse")
        << QStringList{"RSL 1", "ERG 8", "ERG OK"} << "Gut,Schlecht,Schuh_L_schlecht"
        << QStringList{"", "Schuh Links: Widerstand zu hoch"}
        << QStringList{"N| 1||| 8", "J| 1||| 8"} << 2000 << 0;
    // Results without a whole number are not results.
    for (const char* zeile : {"ERG", "ERG x", "ERG OK ", "ERG 4x", "ERG 99999999999"})
        QTest::newRow(zeile) << QStringList{zeile} << "" << kVerborgen << QStringList{} << 2000
                             << 0;
}

void TstAuswertung::zeilen()
{
    QFETCH(QStringList, zeilen);
    QFETCH(QString, bilder);
    QFETCH(QStringList, memo);
    QFETCH(QStringList, gespeichert);
    QFETCH(int, periode);
    QFETCH(int, meldungen);

    TZeilenauswertung a;
    a.CRTrig = 7;
    TBildschirm schirm(a);
    for (const QString& zeile : zeilen)
        Empfangen(a, schirm, zeile.toLatin1() + "\r\n");

    QCOMPARE(schirm.SichtbareBilder(), bilder);
    QCOMPARE(schirm.MemoSichtbar ? schirm.Memo : QStringList{"(verborgen)"}, memo);
    QCOMPARE(schirm.Gespeichert, gespeichert);
    QCOMPARE(schirm.Periode, periode);
    QCOMPARE(schirm.Meldungen.size(), meldungen);
    // Every evaluated line arms the countdown and is gone afterwards.
    QCOMPARE(schirm.Starts, zeilen.size());
    QCOMPARE(a.Zeile, QString());
}

void TstAuswertung::gespeichertWirdVorDenErgebnisbildern()
{
    TZeilenauswertung a;
    a.CRTrig = 7;
    TBildschirm schirm(a);
    Empfangen(a, schirm, "ERG -10\r");
    QCOMPARE(schirm.Log, QStringList({"Reset", "Speichern", "+Schlecht", "-Gut", "+Schlecht"}));
    QCOMPARE(schirm.Meldungen,
             QStringList{"Die Taste wurde zuwenig lange gedrückt!|Bitte halten Sie die Taste für "
                         "mindestens 2 Sekunden gedrückt!|"});

    schirm.Log.clear();
    Empfangen(a, schirm, "ERG OK\r");
    QCOMPARE(schirm.Log, QStringList({"Speichern", "+Gut"}));

    // The item pictures a reason names come after the result's own pictures.
    schirm.Log.clear();
    Empfangen(a, schirm, "ERG 48\r");
    QCOMPARE(schirm.Log, QStringList({"Speichern", "+Schlecht", "-Gut", "+Schlecht",
                                      "+Schuh_R_schlecht", "-Schuh_R_gut"}));
}

// Reason bits against the item lines that came before: the reasons decide which item
// pictures end bad, whatever reading the item's line brought.
void TstAuswertung::gruendeMachenTeileSchlecht_data()
{
    const QStringList gemessen{"RSL 0.35", "RSR 0.40", "RHG 1.1"};
    QTest::addColumn<QStringList>("zeilen");
    QTest::addColumn<QString>("bilder");

    QTest::newRow("RSR 150, ERG 32")
        << QStringList{"RSR 150", "ERG 32"} << "Schlecht,Schuh_R_schlecht";
    QTest::newRow("alle gemessen, ERG 16")
        << gemessen + QStringList{"ERG 16"} << "Armband_gut,Schlecht,Schuh_L_Gut,Schuh_R_schlecht";
    QTest::newRow("alle gemessen, ERG 40")
        << gemessen + QStringList{"ERG 40"}
        << "Armband_gut,Schlecht,Schuh_L_schlecht,Schuh_R_schlecht";
    QTest::newRow("alle gemessen, ERG 4")
        << gemessen + QStringList{"ERG 4"} << "Armband_gut,Schlecht,Schuh_L_schlecht,Schuh_R_gut";
    QTest::newRow("alle gemessen, ERG 1")
        << gemessen + QStringList{"ERG 1"} << "Armband_schlecht,Schlecht,Schuh_L_Gut,Schuh_R_gut";
    // Both reasons of one item: it ends bad once.
    QTest::newRow("alle gemessen, ERG 48")
        << gemessen + QStringList{"ERG 48"} << "Armband_gut,Schlecht,Schuh_L_Gut,Schuh_R_schlecht";
    // Items whose line never arrived: the tester still says they failed.
    QTest::newRow("nur ERG 3") << QStringList{"ERG 3"} << "Armband_schlecht,Schlecht";
    QTest::newRow("nur RSL, ERG 33") << QStringList{"RSL 0.35", "ERG 33"}
                                     << "Armband_schlecht,Schlecht,Schuh_L_Gut,Schuh_R_schlecht";
    // Reasons that name no item.
    QTest::newRow("alle gemessen, ERG 64")
        << gemessen + QStringList{"ERG 64"} << "Armband_gut,Schlecht,Schuh_L_Gut,Schuh_R_gut";
    QTest::newRow("alle gemessen, ERG 192")
        << gemessen + QStringList{"ERG 192"} << "Armband_gut,Schlecht,Schuh_L_Gut,Schuh_R_gut";
    QTest::newRow("alle gemessen, ERG 0")
        << gemessen + QStringList{"ERG 0"} << "Armband_gut,Schlecht,Schuh_L_Gut,Schuh_R_gut";
    QTest::newRow("alle gemessen, ERG -5")
        << gemessen + QStringList{"ERG -5"} << "Armband_gut,Schlecht,Schuh_L_Gut,Schuh_R_gut";
    // Read as the memo reads it, not as a bit mask: 160 is 128 and 32, 256 lists every reason.
    QTest::newRow("alle gemessen, ERG 160")
        << gemessen + QStringList{"ERG 160"} << "Armband_gut,Schlecht,Schuh_L_Gut,Schuh_R_schlecht";
    QTest::newRow("alle gemessen, ERG 256")
        << gemessen + QStringList{"ERG 256"}
        << "Armband_schlecht,Schlecht,Schuh_L_schlecht,Schuh_R_schlecht";
    // Left sole after OVR and a reading shows both pictures; its reason leaves the red one.
    QTest::newRow("RSL OVR, RSL 12, ERG 8")
        << QStringList{"RSL OVR", "RSL 12", "ERG 8"} << "Schlecht,Schuh_L_schlecht";
    QTest::newRow("alle gemessen, ERG -10") << gemessen + QStringList{"ERG -10"} << "Schlecht";
    QTest::newRow("alle gemessen, ERG OK")
        << gemessen + QStringList{"ERG OK"} << "Armband_gut,Gut,Schuh_L_Gut,Schuh_R_gut";
    // An item line after the result still changes its pictures.
    QTest::newRow("ERG 32, dann RSR 0.40")
        << QStringList{"ERG 32", "RSR 0.40"} << "Schlecht,Schuh_R_gut";
}

void TstAuswertung::gruendeMachenTeileSchlecht()
{
    QFETCH(QStringList, zeilen);
    QFETCH(QString, bilder);

    TZeilenauswertung a;
    a.CRTrig = 7;
    TBildschirm schirm(a);
    for (const QString& zeile : zeilen)
        Empfangen(a, schirm, zeile.toLatin1() + "\r\n");
    QCOMPARE(schirm.SichtbareBilder(), bilder);
}

// Every code, measured items first: an item ends bad exactly when a memo line names it. The key
// released too early (-10) clears the display instead and is in the table above.
void TstAuswertung::teilbilderWieGruende()
{
    struct TTeil
    {
        const char* Grund;
        const char* Gut;
        const char* Schlecht;
    };
    const TTeil teile[] = {{"Schuh Rechts:", "Schuh_R_gut", "Schuh_R_schlecht"},
                           {"Schuh Links:", "Schuh_L_Gut", "Schuh_L_schlecht"},
                           {"Handgelenkband:", "Armband_gut", "Armband_schlecht"}};
    for (int code = -300; code <= 600; ++code) {
        if (code == -10)
            continue;
        TZeilenauswertung a;
        a.CRTrig = 7;
        TBildschirm schirm(a);
        Empfangen(a, schirm, "RSL 0.35\rRSR 0.40\rRHG 1.1\r");
        Empfangen(a, schirm, "ERG " + QByteArray::number(code) + "\r");
        const QStringList gruende = TZeilenauswertung::Gruende(code);
        for (const TTeil& teil : teile) {
            const bool genannt = std::any_of(gruende.begin(), gruende.end(), [&](const QString& g) {
                return g.startsWith(teil.Grund);
            });
            const QByteArray fall = "ERG " + QByteArray::number(code) + ", " + teil.Grund;
            QVERIFY2(schirm.Bilder.count(teil.Schlecht) == (genannt ? 1U : 0U), fall.constData());
            QVERIFY2(schirm.Bilder.count(teil.Gut) == (genannt ? 0U : 1U), fall.constData());
        }
    }
}

void TstAuswertung::rahmungUndZeilenende_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("gespeichert");
    QTest::addColumn<QString>("rest");

    QTest::newRow("STX ETX CR LF") << QByteArray("\x02RSL 5\x03\r\n\x02"
                                                 "ERG OK\x03\r\n")
                                   << QStringList{"J| 5|||"} << QString();
    QTest::newRow("nur CR") << QByteArray("RSL 5\rERG OK\r") << QStringList{"J| 5|||"} << QString();
    // LF alone ends nothing: the text waits and is prefixed to the next line.
    QTest::newRow("nur LF") << QByteArray("ERG OK\nRSL 5\n") << QStringList{}
                            << QString("ERG OKRSL 5");
    QTest::newRow("LF dann CR") << QByteArray("ERG\n OK\r") << QStringList{"J||||"} << QString();
    QTest::newRow("angefangene Zeile")
        << QByteArray("ERG OK\rRSL") << QStringList{"J||||"} << QString("RSL");
}

void TstAuswertung::rahmungUndZeilenende()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, gespeichert);
    QFETCH(QString, rest);

    TZeilenauswertung a;
    a.CRTrig = 7;
    TBildschirm schirm(a);
    Empfangen(a, schirm, bytes);
    QCOMPARE(schirm.Gespeichert, gespeichert);
    QCOMPARE(a.Zeile, rest);
}

void TstAuswertung::fremderHandleAendertNichts()
{
    TZeilenauswertung a;
    a.CRTrig = 7;
    TBildschirm schirm(a);
    Empfangen(a, schirm, "ERG OK\r", 3);
    QCOMPARE(a.Zeile, QString("ERG OK"));
    QVERIFY(schirm.Log.isEmpty());
    QCOMPARE(schirm.Starts, 0);
    // The line is still there for the notification that counts.
    a.Auswerten(7, schirm);
    QCOMPARE(schirm.Gespeichert, QStringList{"J||||"});
}

void TstAuswertung::ueberlangeZeileWirdVerworfen()
{
    TZeilenauswertung a;
    a.CRTrig = 7;
    TBildschirm schirm(a);
    // Noise long past the bound, ending like a result: it must not count as one.
    Empfangen(a, schirm, QByteArray(2000, 'x'));
    QVERIFY(a.Zeile.size() <= TZeilenauswertung::kMaxZeile);
    Empfangen(a, schirm, "ERG OK\r\n");
    QVERIFY(schirm.Gespeichert.isEmpty());
    QCOMPARE(schirm.Starts, 1);
    QCOMPARE(a.Zeile, QString());
    // The next line is whole again.
    Empfangen(a, schirm, "ERG OK\r\n");
    QCOMPARE(schirm.Gespeichert, QStringList{"J||||"});

    // A line of exactly the bound is still a line.
    Empfangen(a, schirm, "RSL" + QByteArray(TZeilenauswertung::kMaxZeile - 3, '1') + "\r");
    QCOMPARE(a.sWert_Schuh_L, QString(20, '1'));
}

void TstAuswertung::werttext_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QString>("wert");
    QTest::newRow("Messwert") << "RSL 0.35"
                              << " 0.35";
    QTest::newRow("OVR") << "RSR OVR"
                         << " OVR";
    QTest::newRow("nur Kennung") << "RHG"
                                 << "";
    QTest::newRow("23 Zeichen") << "RSL 1234567890123456789"
                                << " 1234567890123456789";
    QTest::newRow("langer Wert") << "RSL 12345678901234567890XYZ"
                                 << " 1234567890123456789";
}

void TstAuswertung::werttext()
{
    QFETCH(QString, zeile);
    QFETCH(QString, wert);
    QCOMPARE(TZeilenauswertung::Werttext(zeile), wert);

    TZeilenauswertung a;
    a.CRTrig = 7;
    TBildschirm schirm(a);
    Empfangen(a, schirm, zeile.toLatin1() + "\r");
    QCOMPARE(a.sWert_Schuh_L + a.sWert_Schuh_R + a.sWert_Armband, wert);
}

void TstAuswertung::ansiZeichen()
{
    // Bytes are characters of the Windows code page, not UTF-8.
    TZeilenauswertung a;
    a.ByteAufnehmen('\xE4');
    a.ByteAufnehmen('\x80');
    QCOMPARE(a.Zeile, QString::fromUtf8("ä€"));
}

QTEST_GUILESS_MAIN(TstAuswertung)
#include "tst_auswertung.moc"
