// A dropped link is built anew before the next statement; what met the drop fails, once.
#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "Relais.h"
#include "Serverliste.h"
#include "TestServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A loopback port that was free a moment ago and that nobody listens on.
int ToterPort()
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t laenge = sizeof adresse;
    auto* roh = reinterpret_cast<sockaddr*>(&adresse);
    const bool ok = bind(s, roh, laenge) == 0 && getsockname(s, roh, &laenge) == 0;
    close(s);
    return ok ? ntohs(adresse.sin_port) : 0;
}

} // namespace

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
    void hostlisteLesen_data();
    void hostlisteLesen();
    void hostlisteNimmtDenNaechstenKnoten();

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

void TstWiederaufbau::hostlisteLesen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("gelesen"); // "host:port" joined by " | "
    QTest::addColumn<bool>("fehlerhaft");
    QTest::newRow("ein Host wie bisher")
        << u"db.firma.local"_s << u"db.firma.local:3306"_s << false;
    QTest::newRow("leer: der lokale Server") << u""_s << u":3306"_s << false;
    QTest::newRow("IPv6 ohne Port") << u"fd00::2"_s << u"[fd00::2]:3306"_s << false;
    QTest::newRow("Knoten mit und ohne Port")
        << u"db1, db2:3307 ,[fd00::3]:3308"_s << u"db1:3306 | db2:3307 | [fd00::3]:3308"_s << false;
    QTest::newRow("leerer Eintrag") << u"db1,,db2"_s << u"db1:3306 | db2:3306"_s << true;
    QTest::newRow("Port keine Zahl") << u"db1,db2:x"_s << u"db1:3306 | [db2:x]:3306"_s << true;
    QTest::newRow("Port zu groß") << u"db1:65536"_s << u"[db1:65536]:3306"_s << true;
    QTest::newRow("Port ohne Host") << u":3307,db2"_s << u"[:3307]:3306 | db2:3306"_s << true;
    QTest::newRow("Klammer offen") << u"[fd00::2:3307"_s << u"[[fd00::2:3307]:3306"_s << true;
}

void TstWiederaufbau::hostlisteLesen()
{
    QFETCH(QString, text);
    QFETCH(QString, gelesen);
    QFETCH(bool, fehlerhaft);
    QStringList anzeige;
    for (const TServeradresse& adresse : Serverliste::Lesen(text, 3306))
        anzeige << Serverliste::Anzeige(adresse);
    QCOMPARE(anzeige.join(u" | "_s), gelesen);
    QCOMPARE(!Serverliste::Fehler(text).isEmpty(), fehlerhaft);
}

void TstWiederaufbau::hostlisteNimmtDenNaechstenKnoten()
{
    // Three "nodes": a port nobody listens on, a relay to the server, the server itself.
    const int tot = ToterPort();
    QVERIFY(tot != 0);
    TRelais relais(FServer.Port());
    const QString ueberRelais = u"127.0.0.1:%1"_s.arg(relais.Port());
    const QString direkt = u"127.0.0.1:%1"_s.arg(FServer.Port());
    qu.reset();
    FVerbindung = std::make_unique<TDBVerbindung>();
    FServer.Verbinde(*FVerbindung, u"TST_WIEDERAUFBAU"_s);
    FVerbindung->SetConnected(false);
    FVerbindung->SetServer(u"127.0.0.1:%1, %2, %3"_s.arg(tot).arg(ueberRelais, direkt));
    FVerbindung->SetConnected(true);
    qu = std::make_unique<TDBAbfrage>(*FVerbindung, u"quTest"_s);
    QCOMPARE(FVerbindung->AktuellerServer(), ueberRelais);
    QVERIFY(!FVerbindung->Clusterknoten());

    // The link to the second entry breaks: the next statement goes to the third, not back to
    // the first answering one; after the third comes the first (dead) and then the second.
    const QStringList reihenfolge{direkt, ueberRelais};
    for (int i = 0; i < reihenfolge.size(); ++i) {
        FServer.Sql(u"KILL "_s + Wert(u"SELECT CONNECTION_ID()"_s) + u";"_s);
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                try {
                    return Wert(u"SELECT 1"_s) == u"1"_s;
                } catch (const EVerbindungsfehler&) {
                    return false; // the statement that met the break
                }
            }(),
            10000);
        QCOMPARE(FVerbindung->AktuellerServer(), reihenfolge.at(i));
        QCOMPARE(FVerbindung->Knotenwechsel(), i + 1);
    }

    // A single entry keeps its own port over the settings' one.
    FVerbindung->SetConnected(false);
    FVerbindung->SetPort(tot);
    FVerbindung->SetServer(direkt);
    FVerbindung->SetConnected(true);
    QCOMPARE(FVerbindung->AktuellerServer(), direkt);

    // None answers: one error that names every entry.
    FVerbindung->SetConnected(false);
    FVerbindung->SetServer(u"127.0.0.1:%1,127.0.0.1:%1"_s.arg(tot));
    try {
        FVerbindung->SetConnected(true);
        QFAIL("connected to a port nobody listens on");
    } catch (const EVerbindungsfehler& fehler) {
        QCOMPARE(fehler.Meldung().count(u"127.0.0.1:%1: "_s.arg(tot)), 2);
    }
}

QTEST_GUILESS_MAIN(TstWiederaufbau)
#include "tst_wiederaufbau.moc"
