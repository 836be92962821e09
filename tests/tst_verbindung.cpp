// The station's connection from its settings file to the private test server.
#include "EinstellungsDatei.h"
#include "MeldungsProtokoll.h"
#include "Meldungstexte.h"
#include "TestServer.h"
#include "uFDM.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(TKlarEinstellungen)

class TstVerbindung : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void kleingeschriebeneDatenbankWirdGrossGeoeffnet();
    void fehlschlaegeMitUrsache_data();
    void fehlschlaegeMitUrsache();
    void wiederholterAufrufVerbindetSpaeter();
    void spaetereAnweisungVerbindetNach();

private:
    // Writes the settings, lets the data module connect and returns its result.
    bool Verbinde(const TKlarEinstellungen& werte);

    TTestServer FServer;
    TEinstellungsDatei FDatei;
    // The flag the window set would hand the data module.
    bool FEinstellungenOK = false;
    std::unique_ptr<TFDM> FFdm;
    TMeldungsProtokoll FProtokoll;
};

void TstVerbindung::initTestCase()
{
    FServer.NeueDatenbank(u"TST_VERBINDUNG"_s);
}

void TstVerbindung::init()
{
    FEinstellungenOK = false;
    FProtokoll.Leeren();
    FFdm = std::make_unique<TFDM>(FEinstellungenOK);
    FFdm->SetzeEinstellungsVerzeichnis(FDatei.Verzeichnis());
}

bool TstVerbindung::Verbinde(const TKlarEinstellungen& werte)
{
    FDatei.Schreibe(werte);
    return FFdm->MitDB_Verbinden();
}

void TstVerbindung::kleingeschriebeneDatenbankWirdGrossGeoeffnet()
{
    QVERIFY(Verbinde(FServer.StationsWerte(u"tst_verbindung"_s)));
    QCOMPARE(FProtokoll.Texte(), QStringList());
    QVERIFY(FFdm->MyCon.Connected());
    QCOMPARE(FFdm->MyCon.Database(), u"TST_VERBINDUNG"_s);
    QCOMPARE(FFdm->MyCon.Username(), QString::fromLatin1(TTestServer::kBenutzer));
    QCOMPARE(FFdm->MyCon.Server(), u"127.0.0.1"_s);
    QCOMPARE(FFdm->MyCon.Port(), FServer.Port());

    FFdm->quSuchen.SQL().SetText(u"SELECT DATABASE() AS DB, @@character_set_connection AS ZS"_s);
    FFdm->quSuchen.Open();
    QCOMPARE(FFdm->quSuchen.FieldByName(u"DB"_s).AsString(), u"TST_VERBINDUNG"_s);
    QCOMPARE(FFdm->quSuchen.FieldByName(u"ZS"_s).AsString(), u"utf8mb4"_s);
}

void TstVerbindung::fehlschlaegeMitUrsache_data()
{
    QTest::addColumn<TKlarEinstellungen>("werte");
    QTest::addColumn<QString>("meldungsAnfang");

    TKlarEinstellungen werte = FServer.StationsWerte(u"TST_VERBINDUNG"_s);
    werte.Passwort = u"falsch"_s;
    QTest::newRow("falsches Passwort")
        << werte
        << kVerbindungsfehler + u"Der Datenbankserver lehnt Benutzername oder Passwort ab.\r\n"
                                u"Fehler 1045: Access denied for user 'pruefer'@"
                                u"'127.0.0.1' (using password: YES)"_s;

    werte = FServer.StationsWerte(u"TST_VERBINDUNG"_s);
    werte.Port = 1;
    QTest::newRow("niemand am Port")
        << werte
        << kVerbindungsfehler + u"Der Datenbankserver ist nicht erreichbar.\r\n"
                                u"Fehler 2002: Can't connect to server on '127.0.0.1'"_s;

    werte = FServer.StationsWerte(u"gibt_es_nicht"_s);
    QTest::newRow("fehlende Datenbank")
        << werte
        << kVerbindungsfehler + u"Die Datenbank gibt es auf dem Server nicht.\r\n"
                                u"Fehler 1049: Unknown database 'GIBT_ES_NICHT'"_s;
}

void TstVerbindung::fehlschlaegeMitUrsache()
{
    QFETCH(TKlarEinstellungen, werte);
    QFETCH(QString, meldungsAnfang);

    QVERIFY(!Verbinde(werte));
    QCOMPARE(FProtokoll.Texte().size(), 1);
    QVERIFY2(FProtokoll.Texte()[0].startsWith(meldungsAnfang), qPrintable(FProtokoll.Texte()[0]));
    QCOMPARE(FProtokoll.Eintraege()[0].art, Meldung::Art::Hinweis);
    QVERIFY(!FFdm->MyCon.Connected());
    // The settings were fine; only the connection failed.
    QVERIFY(FEinstellungenOK);
}

void TstVerbindung::wiederholterAufrufVerbindetSpaeter()
{
    FServer.Sql(u"DROP DATABASE IF EXISTS TST_SPAETER;"_s);
    QVERIFY(!Verbinde(FServer.StationsWerte(u"tst_spaeter"_s)));
    FServer.Sql(u"CREATE DATABASE TST_SPAETER;"_s);
    FProtokoll.Leeren();
    // A further call does not read the file again but retries the connection.
    FDatei.Schreibe("kaputt");
    QVERIFY(FFdm->MitDB_Verbinden());
    QCOMPARE(FProtokoll.Texte(), QStringList());
    QVERIFY(FFdm->MyCon.Connected());
}

void TstVerbindung::spaetereAnweisungVerbindetNach()
{
    // The server was not ready at start: the first statement afterwards connects.
    FServer.Sql(u"DROP DATABASE IF EXISTS TST_NACHHER;"_s);
    QVERIFY(!Verbinde(FServer.StationsWerte(u"tst_nachher"_s)));
    FServer.Sql(u"CREATE DATABASE TST_NACHHER;"_s);
    FFdm->quSuchen.SQL().SetText(u"SELECT DATABASE()"_s);
    FFdm->quSuchen.Open();
    QCOMPARE(FFdm->quSuchen.Fields(0).AsString(), u"TST_NACHHER"_s);
    QVERIFY(FFdm->MyCon.Connected());
    QCOMPARE(FProtokoll.Texte().size(), 1);
}

QTEST_GUILESS_MAIN(TstVerbindung)
#include "tst_verbindung.moc"
