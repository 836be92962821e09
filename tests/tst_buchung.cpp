// Recording a measurement against a private server: the row, its receipt and the date stamp,
// all or nothing, and a result stored exactly once whatever the link does.
#include "Buchung.h"
#include "DBAbfrage.h"
#include "DBVerbindung.h"
#include "Relais.h"
#include "TestServer.h"
#include "Testfirma.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

const QString kDatenbank = QStringLiteral("TST_BUCHUNG");

TBuchungswerte Werte(bool ok, const QString& fehlercode = QString())
{
    TBuchungswerte werte = Buchung::NeuesErgebnis();
    werte.Mitarbeiter_ID = "91";
    werte.Name = "ma91";
    werte.Messwert1 = " 0.35";
    werte.Messwert2 = " 0.40";
    werte.Messwert3 = " 1.1";
    werte.Fehlercode = fehlercode;
    werte.Messwerte_OK = ok;
    return werte;
}

} // namespace

class TstBuchung : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void anweisungen();
    void bestandenStempeltDasDatum();
    void durchgefallenLaesstDasDatum();
    void feindlicheWerteBleibenWerte();
    void zweiteAnweisungScheitertNimmtAllesZurueck();
    void stempelGehtNieZurueck();
    void abgerissenerLinkWirdNeuVersucht();
    void schonGespeichertWirdNichtVerdoppelt();
    void ohneQuittungstabelle();
    void messtabelleOhneEigenenSchluessel();
    void ohneQuittungNachUnklaremCommitKeinZweiterVersuch();

private:
    QString Wert(const QString& sql) const { return FServer.Sql(sql, kDatenbank).trimmed(); }
    QStringList Zeilen() const;
    // "KENNUNG|MITARBEITER_ID|ZEITSTEMPEL|MESSUNG_ID" per receipt.
    QStringList Quittungen() const;

    TTestServer FServer;
    std::unique_ptr<TDBVerbindung> FVerbindung;
    std::unique_ptr<TDBAbfrage> quBuchen;
    std::unique_ptr<TBuchung> FBuchung;
};

void TstBuchung::init()
{
    FServer.NeueDatenbank(kDatenbank);
    FServer.Sql(Testfirma::kGrunddaten +
                    Testfirma::Mitarbeiter(91, "Messbar", "Max", "'2026-01-02 03:04:05'"),
                kDatenbank);
    FVerbindung = std::make_unique<TDBVerbindung>();
    FServer.Verbinde(*FVerbindung, kDatenbank);
    quBuchen = std::make_unique<TDBAbfrage>(*FVerbindung, "quBuchen");
    FBuchung = std::make_unique<TBuchung>(*quBuchen);
}

void TstBuchung::cleanup()
{
    FBuchung.reset();
    quBuchen.reset();
    FVerbindung.reset();
}

QStringList TstBuchung::Zeilen() const
{
    const QString text = FServer.Sql(
        "SELECT NAME, MITARBEITER_ID, CONCAT('[', MESSWERT_SCHUH_L, ']'), "
        "CONCAT('[', MESSWERT_SCHUH_R, ']'), CONCAT('[', MESSWERT_ARMBAND, ']'), "
        "CONCAT('[', FEHLERCODE, ']'), MESSWERTE_OK FROM ESD_MESSWERTE_SCHUHE ORDER BY MESSUNG_ID",
        kDatenbank);
    return Testfirma::Zeilen(text);
}

QStringList TstBuchung::Quittungen() const
{
    return Testfirma::Zeilen(FServer.Sql("SELECT KENNUNG, MITARBEITER_ID, ZEITSTEMPEL, "
                                         "IFNULL(MESSUNG_ID, 'NULL') FROM ESD_MESSUNG_QUITTUNG "
                                         "ORDER BY EMPFANGEN",
                                         kDatenbank));
}

void TstBuchung::anweisungen()
{
    // The shared database's contract, letter for letter, runs of blanks included.
    QCOMPARE(Buchung::kMesswertEinfuegen,
             QString("INSERT INTO ESD_MESSWERTE_SCHUHE SET ZEITSTEMPEL      = :Zeitstempel,     "
                     "MITARBEITER_ID   = :Mitarbeiter_ID,  NAME             = :Name,            "
                     "MESSWERT_SCHUH_L = :Messwert1,       MESSWERT_SCHUH_R = :Messwert2,       "
                     "MESSWERT_ARMBAND = :Messwert3,       FEHLERCODE       = :Fehlercode,      "
                     "MESSWERTE_OK     = :Messwerte_OK     "));
    QCOMPARE(Buchung::kMessdatumSetzen,
             QString("UPDATE MITARBEITER SET                  DATUM_ESD_MESSUNG     = "
                     ":Zeitstempel    WHERE MITARBEITER_ID  = :Mitarbeiter_ID "));
}

void TstBuchung::bestandenStempeltDasDatum()
{
    const TBuchungswerte werte = Werte(true);
    const Buchung::TErgebnis ergebnis = FBuchung->Speichern(werte);
    QVERIFY(ergebnis.Gespeichert);
    QCOMPARE(Zeilen(), QStringList{"ma91|91|[ 0.35]|[ 0.40]|[ 1.1]|[]|J"});
    // One moment for the row, its receipt and the stamp: the one fixed at evaluation.
    const QString zeit = werte.Zeitstempel.toString("yyyy-MM-dd hh:mm:ss");
    QCOMPARE(Wert("SELECT CONCAT(w.ZEITSTEMPEL, '|', m.DATUM_ESD_MESSUNG, '|', w.MESSUNG_ID) "
                  "FROM MITARBEITER m JOIN ESD_MESSWERTE_SCHUHE w USING (MITARBEITER_ID)"),
             zeit + "|" + zeit + "|" + QString::number(ergebnis.Messung_ID));
    QCOMPARE(Quittungen(), QStringList{werte.Kennung + "|91|" + zeit + "|" +
                                       QString::number(ergebnis.Messung_ID)});
    QCOMPARE(Wert("SELECT STATION FROM ESD_MESSUNG_QUITTUNG"), werte.Station);
    QVERIFY(!FVerbindung->InTransaction());
}

void TstBuchung::durchgefallenLaesstDasDatum()
{
    const Buchung::TErgebnis ergebnis = FBuchung->Speichern(Werte(false, " 40"));
    QVERIFY(ergebnis.Gespeichert);
    QCOMPARE(Zeilen(), QStringList{"ma91|91|[ 0.35]|[ 0.40]|[ 1.1]|[ 40]|N"});
    QCOMPARE(Wert("SELECT DATUM_ESD_MESSUNG FROM MITARBEITER"), QString("2026-01-02 03:04:05"));
}

void TstBuchung::feindlicheWerteBleibenWerte()
{
    TBuchungswerte werte = Werte(false, " -10");
    werte.Name = QString(25, QChar(0xDC)); // 25 × Ü
    werte.Messwert1 = "'; DROP TABLE MITARBEITER; --";
    werte.Messwert2 = "\\' OR 1=1 #";
    werte.Messwert3 = "%_\"";
    FBuchung->Buchen(werte);
    QCOMPARE(Zeilen(), QStringList{QString(25, QChar(0xDC)) +
                                   "|91|['; DROP TABLE MITARBEITER; --]|[\\\\' OR 1=1 #]|[%_\"]|"
                                   "[ -10]|N"});
    QCOMPARE(Wert("SELECT COUNT(*) FROM MITARBEITER"), QString("1"));
}

void TstBuchung::stempelGehtNieZurueck()
{
    // Another station measures the same person and holds the row while it works; it stamps a
    // time later than this station's result. This station's older result must not replace it.
    FServer.Sql("CREATE TABLE ANDERE_STATION (ZEIT DATETIME)", kDatenbank);
    QProcess andere;
    FServer.SqlNebenher(
        "USE " + kDatenbank +
            "; START TRANSACTION; UPDATE MITARBEITER SET DATUM_ESD_MESSUNG = NOW() WHERE "
            "MITARBEITER_ID = 91; DO SLEEP(2); SET @t = NOW(); UPDATE MITARBEITER SET "
            "DATUM_ESD_MESSUNG = @t WHERE MITARBEITER_ID = 91; INSERT INTO ANDERE_STATION "
            "VALUES (@t); COMMIT;",
        andere);
    QTRY_COMPARE(Wert("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE INFO LIKE "
                      "'DO SLEEP%'"),
                 QString("1"));
    FBuchung->Buchen(Werte(true));
    QVERIFY(andere.waitForFinished(10000));
    QCOMPARE(Wert("SELECT m.DATUM_ESD_MESSUNG >= a.ZEIT FROM MITARBEITER m, ANDERE_STATION a"),
             QString("1"));
}

void TstBuchung::zweiteAnweisungScheitertNimmtAllesZurueck()
{
    // Refuses the stamp once the row is in: the pass's final statement fails.
    FServer.Sql("DELIMITER //\nCREATE TRIGGER KEIN_STEMPEL BEFORE UPDATE ON MITARBEITER FOR EACH "
                "ROW IF EXISTS (SELECT 1 FROM ESD_MESSWERTE_SCHUHE WHERE MITARBEITER_ID = "
                "NEW.MITARBEITER_ID) THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'gesperrt'; "
                "END IF//\nDELIMITER ;\n",
                kDatenbank);
    QVERIFY_THROWS_EXCEPTION(std::exception, FBuchung->Buchen(Werte(true)));
    QVERIFY(Zeilen().isEmpty());
    QVERIFY(!FVerbindung->InTransaction());

    // Tried twice, reported with the server's number; never a row without its date stamp, nor
    // a receipt without its row.
    const Buchung::TErgebnis ergebnis = FBuchung->Speichern(Werte(true));
    QVERIFY(!ergebnis.Gespeichert);
    QCOMPARE(ergebnis.Fehlernummer, QString("1644"));
    QVERIFY(Zeilen().isEmpty());
    QVERIFY(Quittungen().isEmpty());

    // A failed result needs no date stamp and is stored.
    QVERIFY(FBuchung->Speichern(Werte(false, " 8")).Gespeichert);
    QCOMPARE(Zeilen().size(), 1);
}

void TstBuchung::abgerissenerLinkWirdNeuVersucht()
{
    // The server ends the station's session (idle timeout, restart): the first attempt meets
    // the dead link, the retry runs on a new one.
    FServer.Sql("KILL " + QString::number(FVerbindung->ServerThreadId()));
    const Buchung::TErgebnis ergebnis = FBuchung->Speichern(Werte(true));
    QVERIFY2(ergebnis.Gespeichert, qPrintable(ergebnis.Meldung));
    QCOMPARE(Zeilen(), QStringList{"ma91|91|[ 0.35]|[ 0.40]|[ 1.1]|[]|J"});
    QCOMPARE(Wert("SELECT DATE(DATUM_ESD_MESSUNG) = CURDATE() FROM MITARBEITER"), QString("1"));
}

void TstBuchung::schonGespeichertWirdNichtVerdoppelt()
{
    // The same result once more, as after an attempt whose answer was lost: the receipt's key
    // refuses it, and that means stored.
    const TBuchungswerte werte = Werte(true);
    const Buchung::TErgebnis erstes = FBuchung->Speichern(werte);
    const Buchung::TErgebnis zweites = FBuchung->Speichern(werte);
    QVERIFY(erstes.Gespeichert && zweites.Gespeichert);
    QCOMPARE(zweites.Messung_ID, erstes.Messung_ID);
    QCOMPARE(Zeilen().size(), 1);
    QCOMPARE(Quittungen().size(), 1);
    QCOMPARE(FBuchung->Nachschlagen(werte.Kennung), std::optional<quint64>(erstes.Messung_ID));
    QCOMPARE(FBuchung->Nachschlagen(Werte(true).Kennung), std::optional<quint64>());
}

void TstBuchung::ohneQuittungstabelle()
{
    // A site that has not run the upgrade: the station records as before, asked or not.
    const QString neuAngelegt = FServer.Sql("SHOW CREATE TABLE ESD_MESSUNG_QUITTUNG", kDatenbank);
    FServer.Sql("DROP TABLE ESD_MESSUNG_QUITTUNG", kDatenbank);
    QVERIFY(FBuchung->Speichern(Werte(true)).Gespeichert);
    QVERIFY(!FBuchung->MitQuittungen());
    QVERIFY(FBuchung->Speichern(Werte(false, " 8")).Gespeichert);
    QCOMPARE(Zeilen().size(), 2);
    QCOMPARE(Wert("SELECT DATE(DATUM_ESD_MESSUNG) = CURDATE() FROM MITARBEITER"), QString("1"));

    TBuchung gefragt(*quBuchen);
    QVERIFY(!gefragt.QuittungenPruefen());
    QVERIFY(gefragt.Speichern(Werte(false, " 4")).Gespeichert);
    QCOMPARE(Zeilen().size(), 3);

    // The upgrade adds the table again, as often as it runs.
    QFile upgrade(QStringLiteral(UPGRADE));
    QVERIFY(upgrade.open(QIODevice::ReadOnly));
    // Under a user of this test's own: other tests set the station user's password.
    const QString text = QString::fromUtf8(upgrade.readAll())
                             .replace("'teststation'@'%'", "'tst_buchung'@'localhost'");
    FServer.Sql("CREATE USER IF NOT EXISTS 'tst_buchung'@'localhost'");
    FServer.Sql(text + text, kDatenbank);
    QVERIFY(TBuchung(*quBuchen).QuittungenPruefen());
    // The same table as a new database gets.
    QCOMPARE(FServer.Sql("SHOW CREATE TABLE ESD_MESSUNG_QUITTUNG", kDatenbank), neuAngelegt);
}

void TstBuchung::messtabelleOhneEigenenSchluessel()
{
    // An existing site's measurement table has only the columns the station writes: no key of
    // the row, and never a stale one from an earlier insert.
    FServer.Sql("DROP TABLE ESD_MESSWERTE_SCHUHE; CREATE TABLE ESD_MESSWERTE_SCHUHE (ZEITSTEMPEL "
                "DATETIME, MITARBEITER_ID INT, NAME VARCHAR(100), MESSWERT_SCHUH_L VARCHAR(50), "
                "MESSWERT_SCHUH_R VARCHAR(50), MESSWERT_ARMBAND VARCHAR(50), FEHLERCODE "
                "VARCHAR(50), MESSWERTE_OK CHAR(1))",
                kDatenbank);
    FServer.Sql("CREATE TABLE ANDERE (ID INT AUTO_INCREMENT PRIMARY KEY)", kDatenbank);
    TDBAbfrage andere(*FVerbindung, "quAndere");
    andere.SQL().Add("INSERT INTO ANDERE () VALUES ()");
    andere.ExecSQL();
    QCOMPARE(andere.InsertId(), quint64(1));

    const Buchung::TErgebnis ergebnis = FBuchung->Speichern(Werte(true));
    QVERIFY(ergebnis.Gespeichert);
    QCOMPARE(ergebnis.Messung_ID, quint64(0));
    QCOMPARE(Wert("SELECT COUNT(*), COUNT(MESSUNG_ID) FROM ESD_MESSUNG_QUITTUNG"), QString("1\t0"));
}

void TstBuchung::ohneQuittungNachUnklaremCommitKeinZweiterVersuch()
{
    // Without receipts nothing can tell whether a COMMIT whose answer was lost arrived: the
    // station reports the failure rather than risk a second row.
    FServer.Sql("DROP TABLE ESD_MESSUNG_QUITTUNG", kDatenbank);
    TRelais relais(FServer.Port());
    TDBVerbindung verbindung;
    verbindung.SetServer("127.0.0.1");
    verbindung.SetPort(relais.Port());
    verbindung.SetUsername(TTestServer::kBenutzer);
    verbindung.SetPassword(TTestServer::kPasswort);
    verbindung.SetDatabase(kDatenbank);
    verbindung.SetConnected(true);
    TDBAbfrage abfrage(verbindung, "quBuchen");
    TBuchung buchung(abfrage);
    QVERIFY(!buchung.QuittungenPruefen());

    relais.Schneiden(TRelais::TSchnitt::NachCommit);
    const Buchung::TErgebnis ergebnis = buchung.Speichern(Werte(true));
    QCOMPARE(relais.Schnitte(), 1);
    QVERIFY(!ergebnis.Gespeichert);
    QCOMPARE(ergebnis.Fehlernummer, QString("2013"));
    QCOMPARE(Zeilen().size(), 1);

    // Cut before the COMMIT: the server rolled back, but without a receipt the station cannot
    // know that either, so it stores nothing a second time there too.
    relais.Schneiden(TRelais::TSchnitt::VorCommit);
    QVERIFY(!buchung.Speichern(Werte(true)).Gespeichert);
    QCOMPARE(Zeilen().size(), 1);
}

QTEST_GUILESS_MAIN(TstBuchung)
#include "tst_buchung.moc"
