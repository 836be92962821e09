// Recording a measurement against a private server: the row, the date stamp, both or neither,
// and the one retry.
#include "Buchung.h"
#include "DBAbfrage.h"
#include "DBVerbindung.h"
#include "TestServer.h"
#include "Testfirma.h"

#include <QProcess>
#include <QTest>

namespace {

const QString kDatenbank = QStringLiteral("TST_BUCHUNG");

TBuchungswerte Werte(bool ok, const QString& fehlercode = QString())
{
    TBuchungswerte werte;
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

private:
    QString Wert(const QString& sql) const { return FServer.Sql(sql, kDatenbank).trimmed(); }
    QStringList Zeilen() const;

    TTestServer FServer;
    std::unique_ptr<TDBVerbindung> FVerbindung;
    std::unique_ptr<TDBAbfrage> quBuchen;
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
}

void TstBuchung::cleanup()
{
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
    Buchung::Buchen(*quBuchen, Werte(true));
    QCOMPARE(Zeilen(), QStringList{"ma91|91|[ 0.35]|[ 0.40]|[ 1.1]|[]|J"});
    // Two readings of the clock, moments apart, both of today.
    QCOMPARE(Wert("SELECT ABS(TIMESTAMPDIFF(SECOND, m.DATUM_ESD_MESSUNG, w.ZEITSTEMPEL)) <= 1 "
                  "AND DATE(w.ZEITSTEMPEL) = CURDATE() FROM MITARBEITER m JOIN "
                  "ESD_MESSWERTE_SCHUHE w USING (MITARBEITER_ID)"),
             QString("1"));
    QVERIFY(!FVerbindung->InTransaction());
}

void TstBuchung::durchgefallenLaesstDasDatum()
{
    const Buchung::TErgebnis ergebnis = Buchung::Speichern(*quBuchen, Werte(false, " 40"));
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
    Buchung::Buchen(*quBuchen, werte);
    QCOMPARE(Zeilen(), QStringList{QString(25, QChar(0xDC)) +
                                   "|91|['; DROP TABLE MITARBEITER; --]|[\\\\' OR 1=1 #]|[%_\"]|"
                                   "[ -10]|N"});
    QCOMPARE(Wert("SELECT COUNT(*) FROM MITARBEITER"), QString("1"));
}

void TstBuchung::stempelGehtNieZurueck()
{
    // Another station measures the same person and holds the row while it works; it stamps a
    // time later than the moment this station starts. This station's stamp must not be older.
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
    Buchung::Buchen(*quBuchen, Werte(true));
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
    QVERIFY_THROWS_EXCEPTION(std::exception, Buchung::Buchen(*quBuchen, Werte(true)));
    QVERIFY(Zeilen().isEmpty());
    QVERIFY(!FVerbindung->InTransaction());

    // Tried twice, reported with the server's number; never a row without its date stamp.
    const Buchung::TErgebnis ergebnis = Buchung::Speichern(*quBuchen, Werte(true));
    QVERIFY(!ergebnis.Gespeichert);
    QCOMPARE(ergebnis.Fehlernummer, QString("1644"));
    QVERIFY(Zeilen().isEmpty());

    // A failed result needs no date stamp and is stored.
    QVERIFY(Buchung::Speichern(*quBuchen, Werte(false, " 8")).Gespeichert);
    QCOMPARE(Zeilen().size(), 1);
}

void TstBuchung::abgerissenerLinkWirdNeuVersucht()
{
    // The server ends the station's session (idle timeout, restart): the first attempt meets
    // the dead link, the retry runs on a new one.
    FServer.Sql("KILL " + QString::number(FVerbindung->ServerThreadId()));
    const Buchung::TErgebnis ergebnis = Buchung::Speichern(*quBuchen, Werte(true));
    QVERIFY2(ergebnis.Gespeichert, qPrintable(ergebnis.Meldung));
    QCOMPARE(Zeilen(), QStringList{"ma91|91|[ 0.35]|[ 0.40]|[ 1.1]|[]|J"});
    QCOMPARE(Wert("SELECT DATE(DATUM_ESD_MESSUNG) = CURDATE() FROM MITARBEITER"), QString("1"));
}

QTEST_GUILESS_MAIN(TstBuchung)
#include "tst_buchung.moc"
