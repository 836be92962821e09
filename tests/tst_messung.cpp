// Measurement cycles end to end: a tile tap on the board, the tester's lines through a
// pseudo-terminal, the rows on a private server, the screen's end and the board's reload.
#include "Bilder.h"
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "MeldungsProtokoll.h"
#include "PortAuswahl.h"
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#include "Start.h"
#include "Stationsanzeige.h"
#include "Stationstreiber.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "uFDM.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uKontakt.h"
#include "uMessung.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using Testfirma::Mitarbeiter;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDatenbank = QStringLiteral("TST_MESSUNG");
} // namespace

class TstMessung : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void bestanden();
    void durchgefallenUndNaechsterZyklus();
    void tasteZuFruehLosgelassen();
    void gast();
    void zweiErgebnisseZweiZeilen();
    void schliessenBeendetDenZyklus();
    void geraetFehlt();
    void comPortKeineZahl();
    void comPortNullFragt();

private:
    void Starte(const QString& com = QStringLiteral("6"), const QString& geraet = QString());
    void Sql(const QString& sql) const { FServer.Sql(sql, kDatenbank); }
    QString Wert(const QString& sql) const { return FServer.Sql(sql, kDatenbank).trimmed(); }
    // Taps the employee's tile (from 1) on the board of department 2.
    void TippeKachel(int nr) const;
    void Sende(const QList<QByteArray>& zeilen) const;
    // The stored rows as "NAME|ID|L|R|A|FEHLERCODE|OK", oldest first.
    QStringList Zeilen() const;

    TTestServer FServer;
    std::unique_ptr<TPseudoTerminal> FPty;
    std::unique_ptr<TEinstellungsDatei> FDatei;
    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FStation;
};

void TstMessung::initTestCase()
{
    BereiteAnwendungVor();
}

void TstMessung::init()
{
    FServer.Starten();
    FServer.NeueDatenbank(kDatenbank);
    Sql(Testfirma::kGrunddaten +
        "INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(91, "Messbar", "Max", "CURDATE() - INTERVAL 2 DAY") +
        Mitarbeiter(92, "Nachbar", "Nina", "CURDATE() - INTERVAL 2 DAY") +
        Mitarbeiter(95, "Zugast", "Gerd", "NULL", "NULL", 2, "Gast1"));
    FPty = std::make_unique<TPseudoTerminal>();
    FFenster = std::make_unique<TFensterset>();
    FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung, FPty.get());
    // The countdown's first tick after creation belongs to start-up, not to these cycles.
    FStation->Anhalten(TUhr::Messung);
}

void TstMessung::cleanup()
{
    FStation.reset();
    FFenster.reset();
    FDatei.reset();
    FPty.reset();
}

void TstMessung::Starte(const QString& com, const QString& geraet)
{
    FDatei = ZeigeStation(FServer, kDatenbank, geraet.isNull() ? FPty->Geraet() : geraet, com);
    FStation->TippeAbteilung(1);
}

void TstMessung::TippeKachel(int nr) const
{
    QVERIFY(FStation->Foto(nr)->isVisible());
    FStation->TippeKachel(nr);
    QVERIFY(FMessung->isVisible());
    // Let the screen paint once, as it does on a real display.
    QCoreApplication::processEvents();
}

void TstMessung::Sende(const QList<QByteArray>& zeilen) const
{
    QVERIFY(FStation->Sende(zeilen, Pruefgeraet::TRahmen::CRLF));
}

QStringList TstMessung::Zeilen() const
{
    const QString text =
        FServer.Sql("SELECT NAME, MITARBEITER_ID, MESSWERT_SCHUH_L, MESSWERT_SCHUH_R, "
                    "MESSWERT_ARMBAND, FEHLERCODE, MESSWERTE_OK FROM ESD_MESSWERTE_SCHUHE "
                    "ORDER BY MESSUNG_ID",
                    kDatenbank);
    return Testfirma::Zeilen(text);
}

void TstMessung::bestanden()
{
    Starte();
    TippeKachel(1);
    QCOMPARE(FStation->Name(), QString("Messbar Max"));
    QVERIFY(FStation->Zeigt(u"imgSchuh_L_grau"_s));
    QVERIFY(!FStation->Zeigt(u"panTastatur"_s));
    QVERIFY(FStation->PortOffen());
    QCOMPARE(FStation->OffenesGeraet(), FPty->Geraet());
    QVERIFY(!FStation->Laeuft(TUhr::Messung));

    Sende(Pruefgeraet::Bestanden());
    QTRY_VERIFY(FStation->Zeigt(u"imgGut"_s));
    QVERIFY(FStation->Zeigt(u"imgSchuh_L_Gut"_s));
    QVERIFY(FStation->Zeigt(u"imgSchuh_R_gut"_s));
    QVERIFY(FStation->Zeigt(u"imgArmband_gut"_s));
    QVERIFY(!FStation->Zeigt(u"imgSchlecht"_s));
    QVERIFY(!FStation->Zeigt(u"memFehler"_s));
    QCOMPARE(Zeilen(), QStringList{"ma91|91| 0.35| 0.40| 1.1||J"});
    // The date stamp and the row's time stamp are two readings of the same moment.
    QCOMPARE(Wert("SELECT ABS(TIMESTAMPDIFF(SECOND, m.DATUM_ESD_MESSUNG, w.ZEITSTEMPEL)) <= 1 "
                  "AND DATE(w.ZEITSTEMPEL) = CURDATE() FROM MITARBEITER m JOIN "
                  "ESD_MESSWERTE_SCHUHE w USING (MITARBEITER_ID) WHERE MITARBEITER_ID = 91"),
             QString("1"));
    QCOMPARE(Wert("SELECT DATE(DATUM_ESD_MESSUNG) < CURDATE() FROM MITARBEITER "
                  "WHERE MITARBEITER_ID = 92"),
             QString("1"));
    QVERIFY(FStation->Laeuft(TUhr::Messung));
    QCOMPARE(FStation->Periode(TUhr::Messung), 2000);
    QVERIFY(!FStation->Laeuft(TUhr::Tafel));

    FStation->Tick(TUhr::Messung);
    QVERIFY(!FMessung->isVisible());
    QVERIFY(!FStation->PortOffen());
    QVERIFY(!FStation->Zeigt(u"imgGut"_s));
    QVERIFY(FStation->Laeuft(TUhr::Tafel));
    QCOMPARE(FStation->Kachelfarbe(1), QColor(0, 128, 0));
    QCOMPARE(FStation->Kachelfarbe(2), QColor(255, 0, 0));
}

void TstMessung::durchgefallenUndNaechsterZyklus()
{
    Starte();
    TippeKachel(1);
    Sende({"RSL 0.35", "RSR OVR", "RHG 1.2", "ERG 32"});
    QTRY_VERIFY(FStation->Zeigt(u"imgSchlecht"_s));
    QVERIFY(FStation->Zeigt(u"imgSchuh_L_Gut"_s));
    QVERIFY(FStation->Zeigt(u"imgSchuh_R_schlecht"_s));
    QVERIFY(!FStation->Zeigt(u"imgSchuh_R_gut"_s));
    QVERIFY(!FStation->Zeigt(u"imgGut"_s));
    QVERIFY(FStation->Zeigt(u"memFehler"_s));
    QCOMPARE(FStation->Fehlertext(), QString("\nSchuh Rechts: Widerstand zu hoch"));
    QCOMPARE(Zeilen(), QStringList{"ma91|91| 0.35| OVR| 1.2| 32|N"});
    QCOMPARE(Wert("SELECT DATE(DATUM_ESD_MESSUNG) < CURDATE() FROM MITARBEITER "
                  "WHERE MITARBEITER_ID = 91"),
             QString("1"));
    QCOMPARE(FStation->Periode(TUhr::Messung), 5000);
    FStation->Tick(TUhr::Messung);
    QCOMPARE(FStation->Kachelfarbe(1), QColor(255, 0, 0));

    // The period is kept: the next cycle's first line arms 5000 ms, a pass sets 2000.
    TippeKachel(2);
    QVERIFY(!FStation->Zeigt(u"memFehler"_s));
    Sende({"RSL 0.35"});
    QTRY_VERIFY(FStation->Laeuft(TUhr::Messung));
    QCOMPARE(FStation->Periode(TUhr::Messung), 5000);
    Sende({"ERG OK"});
    QTRY_COMPARE(FStation->Periode(TUhr::Messung), 2000);
    QCOMPARE(Zeilen().size(), 2);
    QCOMPARE(Zeilen().last(), QString("ma92|92| 0.35||||J"));
}

void TstMessung::tasteZuFruehLosgelassen()
{
    Starte();
    TippeKachel(1);
    Sende({"RSL 0.35", "RSR 0.40"});
    QTRY_VERIFY(FStation->Zeigt(u"imgSchuh_R_gut"_s));
    Sende(Pruefgeraet::ZuFruehLosgelassen());
    QTRY_VERIFY(Fehlermeldung->isVisible());
    QCOMPARE(Label(Fehlermeldung, "lblText1"), QString("Die Taste wurde zuwenig lange gedrückt!"));
    QCOMPARE(Label(Fehlermeldung, "lblText2"),
             QString("Bitte halten Sie die Taste für mindestens 2 Sekunden gedrückt!"));
    QCOMPARE(Label(Fehlermeldung, "lblErrorcode"), QString());
    QCOMPARE(FStation->Fehlertext(), QString("Bitte länger gedrückt halten!"));
    QVERIFY(FStation->Zeigt(u"memFehler"_s));
    QVERIFY(!FStation->Zeigt(u"imgSchuh_L_Gut"_s));
    QVERIFY(FStation->Zeigt(u"imgSchlecht"_s));
    QCOMPARE(Zeilen(), QStringList{"ma91|91|||| -10|N"});
    QCOMPARE(FStation->Periode(TUhr::Messung), 5000);
}

void TstMessung::gast()
{
    Starte();
    TippeKachel(3);
    QVERIFY(FStation->Zeigt(u"panTastatur"_s));
    QVERIFY(FStation->Namensfeld()->isVisible());
    QVERIFY(!FStation->Zeigt(u"imgSchuh_L_grau"_s));
    QVERIFY(!FStation->Zeigt(u"imgMessgeraet"_s));
    QCOMPARE(FStation->Name(), QString());
    QCOMPARE(FStation->Namensfeld()->placeholderText(), QString("Name oder Kürzel"));
    QCOMPARE(FStation->Namensfeld()->maxLength(), 25);
    // The repaint with an empty name has closed the port: the tester is not heard.
    QTRY_VERIFY(!FStation->PortOffen());
    Sende(Pruefgeraet::Bestanden());
    QTest::qWait(100);
    QVERIFY(Zeilen().isEmpty());

    // Enter on an empty name changes nothing.
    FStation->Namensfeld()->setFocus();
    QTest::keyClick(FStation->Namensfeld(), Qt::Key_Return);
    QVERIFY(FStation->Zeigt(u"panTastatur"_s));
    QVERIFY(!FStation->PortOffen());

    // The name typed on the on-screen keyboard.
    for (const char* taste : {"Umschalt", "M", "U", "S", "T", "E", "R"})
        FStation->TippeTaste(taste);
    QCOMPARE(FStation->Namensfeld()->text(), QString("Muster"));
    FStation->TippeTaste("Enter");
    QVERIFY(!FStation->Zeigt(u"panTastatur"_s));
    QCOMPARE(FStation->Name(), QString("Muster"));
    QVERIFY(FStation->Zeigt(u"imgSchuh_L_grau"_s));
    QVERIFY(FStation->PortOffen());

    Sende(Pruefgeraet::Bestanden());
    QTRY_VERIFY(FStation->Zeigt(u"imgGut"_s));
    QCOMPARE(Zeilen(), QStringList{"Muster|95| 0.35| 0.40| 1.1||J"});
    QCOMPARE(Wert("SELECT DATE(DATUM_ESD_MESSUNG) = CURDATE() FROM MITARBEITER "
                  "WHERE MITARBEITER_ID = 95"),
             QString("1"));
}

void TstMessung::zweiErgebnisseZweiZeilen()
{
    Starte();
    TippeKachel(1);
    Sende({"RSL 0.35", "ERG 8", "ERG OK"});
    QTRY_COMPARE(Zeilen().size(), 2);
    QCOMPARE(Zeilen(), QStringList({"ma91|91| 0.35||| 8|N", "ma91|91| 0.35||| 8|J"}));
    // Lines that are not results are evaluated, not stored.
    Sende({"RSR 0.40", "erg ok", "ERG x"});
    QTRY_VERIFY(FStation->Zeigt(u"imgSchuh_R_gut"_s));
    QTest::qWait(50);
    QCOMPARE(Zeilen().size(), 2);
}

void TstMessung::schliessenBeendetDenZyklus()
{
    Starte();
    // Closed in Ready: the port closes with the screen, a late result is stored for nobody.
    TippeKachel(1);
    QVERIFY(FStation->PortOffen());
    FStation->Schliesse();
    QVERIFY(!FMessung->isVisible());
    QVERIFY(!FStation->PortOffen());
    QVERIFY(FStation->Laeuft(TUhr::Tafel));
    Sende({"RSL 0.35", "ERG OK"});
    QTest::qWait(100);
    QVERIFY(Zeilen().isEmpty());

    // Closed while receiving: the countdown stops as well.
    TippeKachel(2);
    Sende({"RSL 0.35"});
    QTRY_VERIFY(FStation->Laeuft(TUhr::Messung));
    FStation->Schliesse();
    QVERIFY(!FMessung->isVisible());
    QVERIFY(!FStation->PortOffen());
    QVERIFY(!FStation->Laeuft(TUhr::Messung));
    Sende({"ERG OK"});
    QTest::qWait(100);
    QVERIFY(Zeilen().isEmpty());

    // The next cycle hears the tester again, with one evaluation per line.
    TippeKachel(2);
    Sende({"ERG 4"});
    QTRY_COMPARE(Zeilen(), QStringList{"ma92|92|||| 4|N"});
    QCOMPARE(FStation->Fehlertext(), QString("\nSchuh Links: Widerstand zu tief"));
}

void TstMessung::geraetFehlt()
{
    Starte(QStringLiteral("6"), QStringLiteral("/dev/gibt-es-nicht-6"));
    TippeKachel(1);
    QVERIFY(Fehlermeldung->isVisible());
    QCOMPARE(Label(Fehlermeldung, "lblText1"), kVerbindungText1);
    QCOMPARE(Label(Fehlermeldung, "lblText2"),
             QString("Ev. stimmt die COM-Port Einstellung \"COM 6\" in der INI-Datei nicht."));
    QCOMPARE(Label(Fehlermeldung, "lblErrorcode"), QString());
    QCOMPARE(QApplication::topLevelWidgets().count(Fehlermeldung), 1);
    QVERIFY(!FStation->PortOffen());
    // The overlay lets the close picture be used.
    QVERIFY(!Fehlermeldung->mask().contains(Fehlermeldung->mapFromGlobal(
        FStation->InMessung(u"Image4"_s)->mapToGlobal(QPoint(10, 10)))));
}

void TstMessung::comPortKeineZahl()
{
    Starte(QStringLiteral("COM3"));
    TippeKachel(1);
    QVERIFY(Fehlermeldung->isVisible());
    QCOMPARE(Label(Fehlermeldung, "lblText2"),
             QString("Ev. stimmt die COM-Port Einstellung \"COM COM3\" in der INI-Datei nicht."));
    // No line-end registration in this cycle: the tester's lines are not evaluated.
    QCOMPARE(FMessung->Auswertung.CRTrig, quint16(0));
}

void TstMessung::comPortNullFragt()
{
    // Port 0 without a device: the station asks; Cancel is a failed opening.
    Starte(QStringLiteral("0"), QStringLiteral(""));
    bool gefragt = false;
    QTimer::singleShot(0, [&gefragt] {
        auto* frage = qobject_cast<TPortAuswahl*>(QApplication::activeModalWidget());
        gefragt = frage != nullptr;
        if (frage != nullptr)
            frage->reject();
    });
    TippeKachel(1);
    QVERIFY(gefragt);
    QTRY_VERIFY(Fehlermeldung->isVisible());
    QCOMPARE(Label(Fehlermeldung, "lblText1"), kVerbindungText1);
    QVERIFY(!FStation->PortOffen());
}

QTEST_MAIN(TstMessung)
#include "tst_messung.moc"
