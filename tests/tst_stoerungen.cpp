// Faults during measurement cycles, end to end on a server of the test's own: the server stopped
// at each point of a cycle or restarted while the station idles, the tester's line gone mid-cycle,
// damaged and empty employee records. The station must report each, never store a pass without
// its date stamp, and work again once the fault is gone, without a restart.
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "Journal.h"
#include "MeldungsProtokoll.h"
#include "Meldungstexte.h"
#include "Messzyklus.h"
#include "Pruefgeraet.h"
#include "PseudoTerminal.h"
#include "Start.h"
#include "Stationsanzeige.h"
#include "Stationstreiber.h"
#include "Tafel.h"
#include "Tafelkopie.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "uFDM.h"
#include "uFMain.h"
#include "uFehlermeldung.h"
#include "uMessung.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <csignal>
#include <memory>
#include <thread>

using Testfirma::Mitarbeiter;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDatenbank = QStringLiteral("TST_STOERUNGEN");
// The forwarder's longest pause after the server is back, with room for a slow machine.
constexpr int kRueckkehrMs = 20000;

} // namespace

class TstStoerungen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void serverBeimStartGestoppt();
    void serverVorDerErgebniszeileGestoppt();
    void serverZwischenDenAnweisungenAbgestuerzt();
    void serverBeimNeuladenDerTafelGestoppt();
    void serverNeugestartetUndVerbindungAbgelaufen();
    void leitungWaehrendDerMessungWeg();
    void kaputtesFoto();
    void mitarbeiterNurMitNull();

private:
    void Starte();
    void Sql(const QString& sql) const { FServer.Sql(sql, kDatenbank); }
    QString Wert(const QString& sql) const { return FServer.Sql(sql, kDatenbank).trimmed(); }
    // Taps the tile of this employee on the shown board.
    void TippeKachel(int id) const;
    void Sende(const QList<QByteArray>& zeilen) const;
    // "NAME|ID|FEHLERCODE|OK" per stored row, oldest first.
    QStringList Zeilen() const;
    // Ends the cycle as the countdown would and takes the overlay away.
    void ZyklusBeenden() const;
    // A pass of employee 91 stored and stamped: the station works normally.
    void BestandenGespeichert();
    // Points the tester's device link at a new pseudo-terminal, as a replugged USB adapter.
    void NeueLeitung();

    TTestServer FServer;
    QTemporaryDir FVerzeichnis;
    QString FGeraet; // link to the current pseudo-terminal
    std::unique_ptr<TPseudoTerminal> FPty;
    std::unique_ptr<TEinstellungsDatei> FDatei;
    std::unique_ptr<TFensterset> FFenster;
    std::unique_ptr<TStationstreiber> FStation;
    std::unique_ptr<TMeldungsProtokoll> FProtokoll;
};

void TstStoerungen::initTestCase()
{
    BereiteAnwendungVor();
    FGeraet = FVerzeichnis.filePath(QStringLiteral("pruefgeraet"));
}

void TstStoerungen::init()
{
    FServer.Starten();
    FServer.NeueDatenbank(kDatenbank);
    Sql(Testfirma::kGrunddaten +
        "INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Montage');" +
        Mitarbeiter(91, "Messbar", "Max", "CURDATE() - INTERVAL 2 DAY") +
        Mitarbeiter(92, "Nachbar", "Nina", "CURDATE() - INTERVAL 2 DAY"));
    NeueLeitung();
    FProtokoll = std::make_unique<TMeldungsProtokoll>();
    FFenster = std::make_unique<TFensterset>();
    FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung, FPty.get());
    FStation->Anhalten(TUhr::Messung);
}

void TstStoerungen::cleanup()
{
    // The reliability report lists every fault tried and whether the station came through.
    if (const QString verzeichnis = qEnvironmentVariable("TS_ZUVERLAESSIGKEIT");
        !verzeichnis.isEmpty()) {
        QFile bericht(verzeichnis + "/stoerungen.txt");
        if (bericht.open(QIODevice::Append | QIODevice::Text))
            bericht.write(QByteArray("STOERUNG ") + QTest::currentTestFunction() +
                          (QTest::currentTestFailed() ? " fehlgeschlagen\n" : " ueberstanden\n"));
    }
    FStation.reset();
    FFenster.reset();
    FProtokoll.reset();
    FDatei.reset();
    FPty.reset();
    // A failed case may leave its server stopped; the next one needs it.
    FServer.Starten();
}

void TstStoerungen::NeueLeitung()
{
    FPty = std::make_unique<TPseudoTerminal>();
    QFile::remove(FGeraet);
    QVERIFY(QFile::link(FPty->Geraet(), FGeraet));
    if (FStation)
        FStation->SetzeLeitung(FPty.get());
}

void TstStoerungen::Starte()
{
    FDatei = ZeigeStation(FServer, kDatenbank, FGeraet);
    FStation->TippeAbteilung(1);
    QVERIFY(FStation->AufTafel(u"cardMitarbeiter"_s)->isVisible());
}

void TstStoerungen::TippeKachel(int id) const
{
    const int nr = FStation->KachelMit(id);
    if (nr == 0)
        QFAIL(qPrintable(QStringLiteral("no tile for employee %1").arg(id)));
    FStation->TippeKachel(nr);
    QVERIFY(FMessung->isVisible());
    QCoreApplication::processEvents();
}

void TstStoerungen::Sende(const QList<QByteArray>& zeilen) const
{
    QVERIFY(FStation->Sende(zeilen, Pruefgeraet::TRahmen::CR));
}

QStringList TstStoerungen::Zeilen() const
{
    return Testfirma::Zeilen(FServer.Sql("SELECT NAME, MITARBEITER_ID, FEHLERCODE, MESSWERTE_OK "
                                         "FROM ESD_MESSWERTE_SCHUHE ORDER BY MESSUNG_ID",
                                         kDatenbank));
}

void TstStoerungen::ZyklusBeenden() const
{
    FStation->Tick(TUhr::Messung);
    Fehlermeldung->hide();
}

void TstStoerungen::BestandenGespeichert()
{
    const qsizetype vorher = Zeilen().size();
    TippeKachel(91);
    QVERIFY(FStation->PortOffen());
    Sende(Pruefgeraet::Bestanden());
    QTRY_COMPARE(Zeilen().size(), vorher + 1);
    QCOMPARE(Zeilen().last(), QString("ma91|91||J"));
    QVERIFY(!Fehlermeldung->isVisible());
    QCOMPARE(Wert("SELECT DATUM_ESD_MESSUNG = (SELECT MAX(ZEITSTEMPEL) FROM "
                  "ESD_MESSWERTE_SCHUHE WHERE MITARBEITER_ID = 91 AND MESSWERTE_OK = 'J') "
                  "FROM MITARBEITER WHERE MITARBEITER_ID = 91"),
             QString("1"));
    ZyklusBeenden();
}

void TstStoerungen::serverBeimStartGestoppt()
{
    // After a power cut the kiosk starts before its server.
    FServer.Stoppen();
    FDatei = ZeigeStation(FServer, kDatenbank, FGeraet);
    QCOMPARE(FProtokoll->Texte().size(), 1);
    QVERIFY2(FProtokoll->Texte()[0].startsWith(kVerbindungsfehler +
                                               "Der Datenbankserver ist nicht erreichbar."),
             qPrintable(FProtokoll->Texte()[0]));
    QVERIFY(FStation->Abteilungsknopf(1)->isHidden());
    QVERIFY(FStation->AufTafel(u"lblVerbindung"_s)->isVisible());
    QVERIFY(
        FStation->AufTafel<QLabel>(u"lblVerbindung"_s)
            ->text()
            .startsWith("Keine Verbindung zur Datenbank – neuer Versuch in 10 s\nFehler 2002: "));

    // Ten seconds later it asks again in vain, then waits longer.
    for (int sekunde = 1; sekunde <= 10; ++sekunde)
        FStation->Tick(TUhr::Verbindung);
    QVERIFY(FStation->Abteilungsknopf(1)->isHidden());
    QVERIFY(FStation->AufTafel<QLabel>(u"lblVerbindung"_s)
                ->text()
                .startsWith("Keine Verbindung zur Datenbank – neuer Versuch in 20 s"));
    FStation->Tick(TUhr::Verbindung);
    QVERIFY(FStation->AufTafel<QLabel>(u"lblVerbindung"_s)
                ->text()
                .startsWith("Keine Verbindung zur Datenbank – neuer Versuch in 19 s"));

    // The server comes up: at the next try the menu appears and the note goes, by itself.
    FServer.Starten();
    for (int sekunde = 2; sekunde <= 20; ++sekunde)
        FStation->Tick(TUhr::Verbindung);
    QVERIFY(!FStation->Abteilungsknopf(1)->isHidden());
    QCOMPARE(FStation->Abteilungsknopf(1)->text(), QString("Montage"));
    QVERIFY(!FStation->AufTafel(u"lblVerbindung"_s)->isVisible());
    QVERIFY(!FStation->Laeuft(TUhr::Verbindung));
    QCOMPARE(FProtokoll->Texte().size(), 1);

    FStation->TippeAbteilung(1);
    BestandenGespeichert();
}

void TstStoerungen::serverVorDerErgebniszeileGestoppt()
{
    Starte();
    TippeKachel(91);
    Sende({"RSL 0.35"});
    QTRY_VERIFY(FStation->Zeigt(u"imgSchuh_L_Gut"_s));
    FServer.Stoppen();
    Sende({"ERG OK"});
    // Kept in the station's journal: shown as measured, with the note that it waits.
    QTRY_VERIFY(FStation->Zeigt(u"lblUebertragung"_s));
    QVERIFY(FStation->Zeigt(u"imgGut"_s));
    QVERIFY(!Fehlermeldung->isVisible());
    // The line is finished all the same and the screen closes as after any result.
    QCOMPARE(FMessung->Auswertung.Zeile, QString());
    QVERIFY(FStation->Laeuft(TUhr::Messung));

    FServer.Starten();
    QTRY_COMPARE_WITH_TIMEOUT(Zeilen(), QStringList{"ma91|91||J"}, kRueckkehrMs);
    ZyklusBeenden();
    BestandenGespeichert();
}

void TstStoerungen::serverZwischenDenAnweisungenAbgestuerzt()
{
    // The row waits in the server long enough to kill it before the date stamp is set; once
    // only, as the flag's table keeps no transactions and the recovery does not bring it back.
    Sql("CREATE TABLE EINMAL (X INT) ENGINE = MyISAM; INSERT INTO EINMAL VALUES (1);\n"
        "DELIMITER //\nCREATE TRIGGER ZEILE_WARTET AFTER INSERT ON ESD_MESSWERTE_SCHUHE FOR EACH "
        "ROW IF (SELECT COUNT(*) FROM EINMAL) > 0 THEN DELETE FROM EINMAL; "
        "SET @gewartet = SLEEP(20); END IF//\nDELIMITER ;\n");
    Starte();
    TippeKachel(91);
    std::atomic<bool> gestoppt{false};
    std::thread stopper([this, &gestoppt] {
        // As soon as the row is inserted and sleeps in the trigger, the server dies
        // as on a power cut; its recovery rolls back what was not committed.
        const QDeadlineTimer frist(15000);
        while (!frist.hasExpired() &&
               FServer.Sql("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE "
                           "INFO LIKE 'INSERT INTO ESD_MESSWERTE_SCHUHE%'")
                       .trimmed() == "0")
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        QFile pid(FServer.Verzeichnis() + "/mariadbd.pid");
        if (pid.open(QIODevice::ReadOnly))
            ::kill(pid.readAll().trimmed().toInt(), SIGKILL);
        gestoppt = true;
    });
    Sende(Pruefgeraet::Bestanden());
    QTRY_VERIFY_WITH_TIMEOUT(gestoppt.load(), 20000);
    stopper.join();
    // The screen did not wait for the server: the result waits in the journal, and the screen
    // said so (its countdown may have closed it since).
    QCOMPARE(FFenster->Journal()->AnzahlWartend(), 1);
    QCOMPARE(FStation->InMessung<QLabel>(u"lblUebertragung"_s)->text(),
             TMesszyklus::kWirdUebertragen);
    QVERIFY(!Fehlermeldung->isVisible());

    // The recovery rolled back the half-done transaction; the forwarder sends the result again,
    // and it is stored once, row and stamp together.
    FServer.Starten();
    QTRY_COMPARE_WITH_TIMEOUT(Zeilen(), QStringList{"ma91|91||J"}, kRueckkehrMs);
    QCOMPARE(Wert("SELECT COUNT(*) FROM ESD_MESSUNG_QUITTUNG"), QString("1"));
    QCOMPARE(Wert("SELECT DATE(DATUM_ESD_MESSUNG) = CURDATE() FROM MITARBEITER WHERE "
                  "MITARBEITER_ID = 91"),
             QString("1"));
    Sql("DROP TRIGGER ZEILE_WARTET");
    ZyklusBeenden();
    // The wait for the server may have outlasted the board's inactivity countdown.
    FStation->TippeAbteilung(1);
    BestandenGespeichert();
}

void TstStoerungen::serverBeimNeuladenDerTafelGestoppt()
{
    Starte();
    TippeKachel(91);
    Sende(Pruefgeraet::Bestanden());
    QTRY_VERIFY(FStation->Zeigt(u"imgGut"_s));
    QCOMPARE(Zeilen(), QStringList{"ma91|91||J"});
    QTRY_VERIFY(!FFenster->Kopie()->Abteilung(FMain->Mandant(), u"Montage"_s).isEmpty());
    FServer.Stoppen();
    FProtokoll->Leeren();
    // The countdown's end reloads the board from the stopped server: the station's copy
    // serves it, without a message.
    FStation->Tick(TUhr::Messung);
    QVERIFY(!FMessung->isVisible());
    QCOMPARE(FProtokoll->Texte(), QStringList());
    QCOMPARE(FStation->Foto(1)->Tag, 91);
    QVERIFY(FStation->AufTafel(u"lblOffline"_s)->isVisible());

    FServer.Starten();
    // The next tap on the department loads the board again; the stored pass shows green.
    FStation->TippeAbteilung(1);
    QCOMPARE(FStation->Foto(1)->Tag, 91);
    QCOMPARE(FStation->Kachelfarbe(1), Tafel::kGruen);
    BestandenGespeichert();
}

void TstStoerungen::serverNeugestartetUndVerbindungAbgelaufen()
{
    // The server drops a link idle for more than a second; the station's link is idle longer.
    FServer.Sql("SET GLOBAL wait_timeout = 1");
    Starte();
    FServer.Neustarten();
    FServer.Sql("SET GLOBAL wait_timeout = 1");
    QTest::qWait(2500);
    FProtokoll->Leeren();
    FStation->TippeAbteilung(1);
    QCOMPARE(FStation->Foto(1)->Tag, 91);
    BestandenGespeichert();
    QTest::qWait(2500);
    BestandenGespeichert();
    QCOMPARE(FProtokoll->Texte(), QStringList());
}

void TstStoerungen::leitungWaehrendDerMessungWeg()
{
    Starte();
    TippeKachel(91);
    Sende({"RSL 0.35"});
    QTRY_VERIFY(FStation->Zeigt(u"imgSchuh_L_Gut"_s));
    // The tester's adapter is pulled: the other side of the line is gone.
    FPty->Schliessen();
    QTRY_VERIFY(Fehlermeldung->isVisible());
    QCOMPARE(Label(Fehlermeldung, "lblText1"), kVerbindungText1);
    QVERIFY(!FStation->PortOffen());
    QCOMPARE(Zeilen(), QStringList());
    ZyklusBeenden();

    // Plugged in again: the next cycle opens the port anew.
    NeueLeitung();
    BestandenGespeichert();
}

void TstStoerungen::kaputtesFoto()
{
    // The first bytes of a JPEG, as an upload broken off early leaves it.
    const QByteArray jpeg = Testfirma::Jpeg({120, 150}, Qt::darkCyan);
    Sql("UPDATE MITARBEITER SET FOTO = X'" + jpeg.left(100).toHex() +
        "' WHERE MITARBEITER_ID = 91");
    Starte();
    QCOMPARE(FProtokoll->Texte().size(), 1);
    QVERIFY(FProtokoll->Texte().first().startsWith(kFotoFehler));
    FProtokoll->Leeren();
    // The measurement screen shows the placeholder and measures as usual; only the board's
    // reload after the cycle warns again.
    BestandenGespeichert();
    QCOMPARE(FProtokoll->Texte().size(), 1);
    QVERIFY(FProtokoll->Texte().first().startsWith(kFotoFehler));
}

void TstStoerungen::mitarbeiterNurMitNull()
{
    // Every nullable column NULL except the keys the joins need.
    Sql("INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, ANREDE_ID, TITEL_ID, PLZ_ID, MITARBEITER) "
        "VALUES (93, 2, 1, 1, 'J');"
        "INSERT INTO MITARBEITER (MITARBEITER_ID, KONTAKTDATEN_ID, ABTEILUNG_ID, "
        "MA_ANG_STATUS_ID, ESD_MESSUNG) VALUES (93, 93, 2, 1, 'J');"
        // And one whose lookup keys are NULL too: the board lists it, the contact lookup
        // does not find it, which the board reports and skips.
        "INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, MITARBEITER) VALUES (94, 'J');"
        "INSERT INTO MITARBEITER (MITARBEITER_ID, KONTAKTDATEN_ID, ABTEILUNG_ID, ESD_MESSUNG) "
        "VALUES (94, 94, 2, 'J');");
    QCOMPARE(Wert("SELECT COUNT(*) FROM MITARBEITER WHERE MITARBEITER_ID = 93 AND "
                  "PERSONALNUMMER IS NULL AND LOGINNAME IS NULL AND FOTO IS NULL AND "
                  "DATUM_ESD_MESSUNG IS NULL AND ANMERKUNGEN IS NULL"),
             QString("1"));
    Starte();
    QCOMPARE(FProtokoll->Texte(), QStringList{kNichtEindeutig});
    // Sorted by last name, the nameless one first; red, never measured.
    QCOMPARE(FStation->Foto(1)->Tag, 93);
    QCOMPARE(FStation->Kachelname(1)->text().trimmed(), QString());
    QCOMPARE(FStation->Kachelfarbe(1), Tafel::kRot);
    QCOMPARE(FStation->KachelMit(94), 0);

    // The screen opens without trouble, but the name field holds the login name and an empty
    // one keeps the line closed: nothing is measured for a person without a login name.
    TippeKachel(93);
    QCOMPARE(FStation->Name().trimmed(), QString());
    QTRY_VERIFY(!FStation->PortOffen());
    Sende(Pruefgeraet::Bestanden());
    QTest::qWait(300);
    QCOMPARE(Zeilen(), QStringList());
    QCOMPARE(FProtokoll->Texte(), QStringList{kNichtEindeutig});
    ZyklusBeenden();
    // The others on the board are measured as usual.
    BestandenGespeichert();
}

QTEST_MAIN(TstStoerungen)
#include "tst_stoerungen.moc"
