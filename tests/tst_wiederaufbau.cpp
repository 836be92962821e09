// A dropped link is built anew before the next statement; what met the drop fails, once.
#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "TestServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TstWiederaufbau : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void neustartZwischenZweiAnweisungen();
    void gestoppterServer();
    void ruhenderLinkGekappt();
    void abbruchWaehrendDerAnweisung();
    void abbruchInDerTransaktion();
    void schluesselDerAltenSitzung();

private:
    QString Wert(const QString& sql);
    void Einfuegen(int wert);

    TTestServer FServer;
    std::unique_ptr<TDBVerbindung> FVerbindung;
    std::unique_ptr<TDBAbfrage> qu;
};

void TstWiederaufbau::initTestCase()
{
    FServer.NeueDatenbank(u"TST_WIEDERAUFBAU"_s);
    FServer.Sql(u"CREATE TABLE ZAHLEN (WERT INT) ENGINE=InnoDB;"_s, u"TST_WIEDERAUFBAU"_s);
}

void TstWiederaufbau::init()
{
    qu.reset();
    FVerbindung = std::make_unique<TDBVerbindung>();
    FServer.Verbinde(*FVerbindung, u"TST_WIEDERAUFBAU"_s);
    qu = std::make_unique<TDBAbfrage>(*FVerbindung, u"quTest"_s);
}

QString TstWiederaufbau::Wert(const QString& sql)
{
    qu->SQL().SetText(sql);
    qu->Open();
    return qu->Fields(0).AsString();
}

void TstWiederaufbau::Einfuegen(int wert)
{
    qu->SQL().SetText(u"INSERT INTO ZAHLEN SET WERT = :Wert"_s);
    qu->ParamByName(u"WERT"_s).SetAsString(QString::number(wert));
    qu->ExecSQL();
}

void TstWiederaufbau::neustartZwischenZweiAnweisungen()
{
    QCOMPARE(Wert(u"SELECT 1"_s), u"1"_s);
    FServer.Neustarten();
    QCOMPARE(Wert(u"SELECT 2"_s), u"2"_s);
    QCOMPARE(FVerbindung->Wiederaufbauten(), 1);
    QVERIFY(FVerbindung->Connected());
    QCOMPARE(Wert(u"SELECT @@character_set_connection"_s), u"utf8mb4"_s);
}

void TstWiederaufbau::gestoppterServer()
{
    FServer.Stoppen();
    QVERIFY_THROWS_EXCEPTION(EVerbindungsfehler, Wert(u"SELECT 1"_s));
    QVERIFY(!qu->Active());
    FServer.Starten();
    QCOMPARE(Wert(u"SELECT 1"_s), u"1"_s);
    QCOMPARE(FVerbindung->Wiederaufbauten(), 1);
}

void TstWiederaufbau::ruhenderLinkGekappt()
{
    // The server ends an idle link (as after wait_timeout); the next statement notices nothing.
    const QString id = Wert(u"SELECT CONNECTION_ID()"_s);
    FServer.Sql(u"KILL "_s + id + u";"_s);
    // Gone from the server's list means the server has closed its end.
    QTRY_COMPARE(FServer.Sql(u"SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = "_s +
                             id + u";"_s),
                 u"0\n"_s);
    QCOMPARE(Wert(u"SELECT 2"_s), u"2"_s);
    QCOMPARE(FVerbindung->Wiederaufbauten(), 1);
    QVERIFY(Wert(u"SELECT CONNECTION_ID()"_s) != id);
}

void TstWiederaufbau::abbruchWaehrendDerAnweisung()
{
    // The link breaks while the server works on a statement: the statement fails to its
    // caller and is not sent again; the next one runs on a new link.
    const QString id = Wert(u"SELECT CONNECTION_ID()"_s);
    const QString vorher = Wert(u"SELECT COUNT(*) FROM ZAHLEN"_s);
    QProcess nebenher;
    FServer.SqlNebenher(u"DO SLEEP(0.5); KILL "_s + id + u";"_s, nebenher);
    QElapsedTimer uhr;
    uhr.start();
    qu->SQL().SetText(u"INSERT INTO ZAHLEN SELECT 1 FROM DUAL WHERE SLEEP(20) = 0"_s);
    QVERIFY_THROWS_EXCEPTION(EVerbindungsfehler, qu->ExecSQL());
    QVERIFY(uhr.elapsed() < 15000);
    QVERIFY(nebenher.waitForFinished());
    QCOMPARE(nebenher.exitCode(), 0);
    QCOMPARE(Wert(u"SELECT COUNT(*) FROM ZAHLEN"_s), vorher);
    QCOMPARE(FVerbindung->Wiederaufbauten(), 1);
}

void TstWiederaufbau::abbruchInDerTransaktion()
{
    FVerbindung->StartTransaction();
    Einfuegen(41);
    FServer.Neustarten();
    // The transaction is gone with its link; it fails as a whole, also for later statements.
    QVERIFY_THROWS_EXCEPTION(EVerbindungsfehler, Einfuegen(42));
    QVERIFY_THROWS_EXCEPTION(EVerbindungsfehler, Einfuegen(43));
    QVERIFY(FVerbindung->InTransaction());
    FVerbindung->Rollback();
    QVERIFY(!FVerbindung->InTransaction());
    QCOMPARE(Wert(u"SELECT COUNT(*) FROM ZAHLEN WHERE WERT BETWEEN 41 AND 43"_s), u"0"_s);

    // A commit that meets the drop fails too and ends the transaction.
    FVerbindung->StartTransaction();
    Einfuegen(44);
    FServer.Neustarten();
    QVERIFY_THROWS_EXCEPTION(EVerbindungsfehler, FVerbindung->Commit());
    QVERIFY(!FVerbindung->InTransaction());
    QCOMPARE(Wert(u"SELECT COUNT(*) FROM ZAHLEN WHERE WERT = 44"_s), u"0"_s);
    Einfuegen(45);
    QCOMPARE(Wert(u"SELECT COUNT(*) FROM ZAHLEN WHERE WERT = 45"_s), u"1"_s);
}

void TstWiederaufbau::schluesselDerAltenSitzung()
{
    Einfuegen(50);
    FServer.Neustarten();
    // The key of that insert belongs to the lost session; a silent 0 would be wrong.
    QVERIFY_THROWS_EXCEPTION(EVerbindungsfehler, Wert(u"Select LAST_INSERT_ID()"_s));
    QCOMPARE(Wert(u"Select 3"_s), u"3"_s);
}

QTEST_GUILESS_MAIN(TstWiederaufbau)
#include "tst_wiederaufbau.moc"
