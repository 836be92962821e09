// Measurement cycles end to end: a tile tap on the board, the tester's lines through a
// pseudo-terminal, the rows on a private server, the screen's end and the board's reload.
#include "Bedienelemente.h"
#include "Bilder.h"
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "MeldungsProtokoll.h"
#include "PortAuswahl.h"
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#include "Start.h"
#include "Stationsanzeige.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "TouchKeyboard.h"
#include "uFDM.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uKontakt.h"
#include "uMessung.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using Testfirma::Mitarbeiter;

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
    // Taps the employee's tile on the board of department 2.
    void TippeKachel(int index) const;
    void Sende(const QList<QByteArray>& zeilen) const;
    // The stored rows as "NAME|ID|L|R|A|FEHLERCODE|OK", oldest first.
    QStringList Zeilen() const;

    TTestServer FServer;
    std::unique_ptr<TPseudoTerminal> FPty;
    std::unique_ptr<TEinstellungsDatei> FDatei;
    std::unique_ptr<TFensterset> FFenster;
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
    // The countdown's first tick after creation belongs to start-up, not to these cycles.
    FMessung->Timer1.stop();
}

void TstMessung::cleanup()
{
    FFenster.reset();
    FDatei.reset();
    FPty.reset();
}

void TstMessung::Starte(const QString& com, const QString& geraet)
{
    FDatei = ZeigeStation(FServer, kDatenbank, geraet.isNull() ? FPty->Geraet() : geraet, com);
    QTest::mouseClick(FMain->btnAbteilung_B[0], Qt::LeftButton);
}

void TstMessung::TippeKachel(int index) const
{
    QVERIFY(FMain->imgMitarbeiter[size_t(index)]->isVisible());
    QTest::mouseClick(FMain->imgMitarbeiter[size_t(index)], Qt::LeftButton);
    QVERIFY(FMessung->isVisible());
    // Let the screen paint once, as it does on a real display.
    QCoreApplication::processEvents();
}

void TstMessung::Sende(const QList<QByteArray>& zeilen) const
{
    QVERIFY(FPty->Schreiben(Pruefgeraet::Gerahmt(zeilen, Pruefgeraet::TRahmen::CRLF)));
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
    TippeKachel(0);
    QCOMPARE(FMessung->lblName->text(), QString("Messbar Max"));
    QVERIFY(FMessung->imgSchuh_L_grau->isVisible());
    QVERIFY(!FMessung->panTastatur->isVisible());
    QVERIFY(FMessung->ApdComPort1.IsOpen());
    QCOMPARE(FMessung->ApdComPort1.OffenesGeraet(), FPty->Geraet());
    QVERIFY(!FMessung->Timer1.isActive());

    Sende(Pruefgeraet::Bestanden());
    QTRY_VERIFY(FMessung->imgGut->isVisible());
    QVERIFY(FMessung->imgSchuh_L_Gut->isVisible());
    QVERIFY(FMessung->imgSchuh_R_gut->isVisible());
    QVERIFY(FMessung->imgArmband_gut->isVisible());
    QVERIFY(!FMessung->imgSchlecht->isVisible());
    QVERIFY(!FMessung->memFehler->isVisible());
    QCOMPARE(Zeilen(), QStringList{"ma91|91| 0.35| 0.40| 1.1||J"});
    // The date stamp and the row's time stamp are two readings of the same moment.
    QCOMPARE(Wert("SELECT ABS(TIMESTAMPDIFF(SECOND, m.DATUM_ESD_MESSUNG, w.ZEITSTEMPEL)) <= 1 "
                  "AND DATE(w.ZEITSTEMPEL) = CURDATE() FROM MITARBEITER m JOIN "
                  "ESD_MESSWERTE_SCHUHE w USING (MITARBEITER_ID) WHERE MITARBEITER_ID = 91"),
             QString("1"));
    QCOMPARE(Wert("SELECT DATE(DATUM_ESD_MESSUNG) < CURDATE() FROM MITARBEITER "
                  "WHERE MITARBEITER_ID = 92"),
             QString("1"));
    QVERIFY(FMessung->Timer1.isActive());
    QCOMPARE(FMessung->Timer1.interval(), 2000);
    QVERIFY(!FMain->Timer2.isActive());

    FMessung->Timer1Timer();
    QVERIFY(!FMessung->isVisible());
    QVERIFY(!FMessung->ApdComPort1.IsOpen());
    QVERIFY(!FMessung->imgGut->isVisible());
    QVERIFY(FMain->Timer2.isActive());
    QCOMPARE(FMain->panUser[0]->palette().color(QPalette::Window), QColor(0, 128, 0));
    QCOMPARE(FMain->panUser[1]->palette().color(QPalette::Window), QColor(255, 0, 0));
}

void TstMessung::durchgefallenUndNaechsterZyklus()
{
    Starte();
    TippeKachel(0);
    Sende({"RSL 0.35", "RSR OVR", "RHG 1.2", "ERG 32"});
    QTRY_VERIFY(FMessung->imgSchlecht->isVisible());
    QVERIFY(FMessung->imgSchuh_L_Gut->isVisible());
    QVERIFY(FMessung->imgSchuh_R_schlecht->isVisible());
    QVERIFY(!FMessung->imgSchuh_R_gut->isVisible());
    QVERIFY(!FMessung->imgGut->isVisible());
    QVERIFY(FMessung->memFehler->isVisible());
    QCOMPARE(FMessung->memFehler->toPlainText(), QString("\nSchuh Rechts: Widerstand zu hoch"));
    QCOMPARE(Zeilen(), QStringList{"ma91|91| 0.35| OVR| 1.2| 32|N"});
    QCOMPARE(Wert("SELECT DATE(DATUM_ESD_MESSUNG) < CURDATE() FROM MITARBEITER "
                  "WHERE MITARBEITER_ID = 91"),
             QString("1"));
    QCOMPARE(FMessung->Timer1.interval(), 5000);
    FMessung->Timer1Timer();
    QCOMPARE(FMain->panUser[0]->palette().color(QPalette::Window), QColor(255, 0, 0));

    // The period is kept: the next cycle's first line arms 5000 ms, a pass sets 2000.
    TippeKachel(1);
    QVERIFY(!FMessung->memFehler->isVisible());
    Sende({"RSL 0.35"});
    QTRY_VERIFY(FMessung->Timer1.isActive());
    QCOMPARE(FMessung->Timer1.interval(), 5000);
    Sende({"ERG OK"});
    QTRY_COMPARE(FMessung->Timer1.interval(), 2000);
    QCOMPARE(Zeilen().size(), 2);
    QCOMPARE(Zeilen().last(), QString("ma92|92| 0.35||||J"));
}

void TstMessung::tasteZuFruehLosgelassen()
{
    Starte();
    TippeKachel(0);
    Sende({"RSL 0.35", "RSR 0.40"});
    QTRY_VERIFY(FMessung->imgSchuh_R_gut->isVisible());
    Sende(Pruefgeraet::ZuFruehLosgelassen());
    QTRY_VERIFY(Fehlermeldung->isVisible());
    QCOMPARE(Label(Fehlermeldung, "lblText1"), QString("Die Taste wurde zuwenig lange gedrückt!"));
    QCOMPARE(Label(Fehlermeldung, "lblText2"),
             QString("Bitte halten Sie die Taste für mindestens 2 Sekunden gedrückt!"));
    QCOMPARE(Label(Fehlermeldung, "lblErrorcode"), QString());
    QCOMPARE(FMessung->memFehler->toPlainText(), QString("Bitte länger gedrückt halten!"));
    QVERIFY(FMessung->memFehler->isVisible());
    QVERIFY(!FMessung->imgSchuh_L_Gut->isVisible());
    QVERIFY(FMessung->imgSchlecht->isVisible());
    QCOMPARE(Zeilen(), QStringList{"ma91|91|||| -10|N"});
    QCOMPARE(FMessung->Timer1.interval(), 5000);
}

void TstMessung::gast()
{
    Starte();
    TippeKachel(2);
    QVERIFY(FMessung->panTastatur->isVisible());
    QVERIFY(FMessung->edName->isVisible());
    QVERIFY(!FMessung->imgSchuh_L_grau->isVisible());
    QVERIFY(!FMessung->imgMessgeraet->isVisible());
    QCOMPARE(FMessung->lblName->text(), QString());
    QCOMPARE(FMessung->edName->placeholderText(), QString("Name oder Kürzel"));
    QCOMPARE(FMessung->edName->maxLength(), 25);
    // The repaint with an empty name has closed the port: the tester is not heard.
    QTRY_VERIFY(!FMessung->ApdComPort1.IsOpen());
    Sende(Pruefgeraet::Bestanden());
    QTest::qWait(100);
    QVERIFY(Zeilen().isEmpty());

    // Enter on an empty name changes nothing.
    FMessung->edName->setFocus();
    QTest::keyClick(FMessung->edName, Qt::Key_Return);
    QVERIFY(FMessung->panTastatur->isVisible());
    QVERIFY(!FMessung->ApdComPort1.IsOpen());

    // The name typed on the on-screen keyboard.
    const auto taste = [](const char* name) {
        auto* knopf = FMessung->TouchKeyboard1->findChild<QAbstractButton*>(name);
        QVERIFY2(knopf, name);
        QTest::mouseClick(knopf, Qt::LeftButton);
    };
    for (const char* name :
         {"Taste_Umschalt", "Taste_M", "Taste_U", "Taste_S", "Taste_T", "Taste_E", "Taste_R"})
        taste(name);
    QCOMPARE(FMessung->edName->text(), QString("Muster"));
    taste("Taste_Enter");
    QVERIFY(!FMessung->panTastatur->isVisible());
    QCOMPARE(FMessung->lblName->text(), QString("Muster"));
    QVERIFY(FMessung->imgSchuh_L_grau->isVisible());
    QVERIFY(FMessung->ApdComPort1.IsOpen());

    Sende(Pruefgeraet::Bestanden());
    QTRY_VERIFY(FMessung->imgGut->isVisible());
    QCOMPARE(Zeilen(), QStringList{"Muster|95| 0.35| 0.40| 1.1||J"});
    QCOMPARE(Wert("SELECT DATE(DATUM_ESD_MESSUNG) = CURDATE() FROM MITARBEITER "
                  "WHERE MITARBEITER_ID = 95"),
             QString("1"));
}

void TstMessung::zweiErgebnisseZweiZeilen()
{
    Starte();
    TippeKachel(0);
    Sende({"RSL 0.35", "ERG 8", "ERG OK"});
    QTRY_COMPARE(Zeilen().size(), 2);
    QCOMPARE(Zeilen(), QStringList({"ma91|91| 0.35||| 8|N", "ma91|91| 0.35||| 8|J"}));
    // Lines that are not results are evaluated, not stored.
    Sende({"RSR 0.40", "erg ok", "ERG x"});
    QTRY_VERIFY(FMessung->imgSchuh_R_gut->isVisible());
    QTest::qWait(50);
    QCOMPARE(Zeilen().size(), 2);
}

void TstMessung::schliessenBeendetDenZyklus()
{
    Starte();
    // Closed in Ready: the port closes with the screen, a late result is stored for nobody.
    TippeKachel(0);
    QVERIFY(FMessung->ApdComPort1.IsOpen());
    QTest::mouseClick(FMessung->Image4, Qt::LeftButton);
    QVERIFY(!FMessung->isVisible());
    QVERIFY(!FMessung->ApdComPort1.IsOpen());
    QVERIFY(FMain->Timer2.isActive());
    Sende({"RSL 0.35", "ERG OK"});
    QTest::qWait(100);
    QVERIFY(Zeilen().isEmpty());

    // Closed while receiving: the countdown stops as well.
    TippeKachel(1);
    Sende({"RSL 0.35"});
    QTRY_VERIFY(FMessung->Timer1.isActive());
    QTest::mouseClick(FMessung->Image4, Qt::LeftButton);
    QVERIFY(!FMessung->isVisible());
    QVERIFY(!FMessung->ApdComPort1.IsOpen());
    QVERIFY(!FMessung->Timer1.isActive());
    Sende({"ERG OK"});
    QTest::qWait(100);
    QVERIFY(Zeilen().isEmpty());

    // The next cycle hears the tester again, with one evaluation per line.
    TippeKachel(1);
    Sende({"ERG 4"});
    QTRY_COMPARE(Zeilen(), QStringList{"ma92|92|||| 4|N"});
    QCOMPARE(FMessung->memFehler->toPlainText(), QString("\nSchuh Links: Widerstand zu tief"));
}

void TstMessung::geraetFehlt()
{
    Starte(QStringLiteral("6"), QStringLiteral("/dev/gibt-es-nicht-6"));
    TippeKachel(0);
    QVERIFY(Fehlermeldung->isVisible());
    QCOMPARE(Label(Fehlermeldung, "lblText1"), kVerbindungText1);
    QCOMPARE(Label(Fehlermeldung, "lblText2"),
             QString("Ev. stimmt die COM-Port Einstellung \"COM 6\" in der INI-Datei nicht."));
    QCOMPARE(Label(Fehlermeldung, "lblErrorcode"), QString());
    QCOMPARE(QApplication::topLevelWidgets().count(Fehlermeldung), 1);
    QVERIFY(!FMessung->ApdComPort1.IsOpen());
    // The overlay lets the close picture be used.
    QVERIFY(!Fehlermeldung->mask().contains(
        Fehlermeldung->mapFromGlobal(FMessung->Image4->mapToGlobal(QPoint(10, 10)))));
}

void TstMessung::comPortKeineZahl()
{
    Starte(QStringLiteral("COM3"));
    TippeKachel(0);
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
    TippeKachel(0);
    QVERIFY(gefragt);
    QTRY_VERIFY(Fehlermeldung->isVisible());
    QCOMPARE(Label(Fehlermeldung, "lblText1"), kVerbindungText1);
    QVERIFY(!FMessung->ApdComPort1.IsOpen());
}

QTEST_MAIN(TstMessung)
#include "tst_messung.moc"
