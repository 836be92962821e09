// Statement texts, parameter places and value forms of the database layer, without a server.
#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "DBWerte.h"
#include "SqlVorlage.h"

#include <QTest>

class TestSqlText : public QObject
{
    Q_OBJECT

private slots:
    void parameterStellen_data();
    void parameterStellen();
    void zeilen_data();
    void zeilen();
    void neuerTextErsetztParameter();
    void datumsformen_data();
    void datumsformen();
    void literale();
    void ohneVerbindungKeinZugriff();
};

// The statement with every parameter place written as <number>.
static QString Gestalt(const TSqlVorlage& vorlage)
{
    QString text;
    for (const auto& teil : vorlage.Teile())
        text += teil.Parameter < 0 ? teil.Text : QStringLiteral("<%1>").arg(teil.Parameter);
    return text;
}

void TestSqlText::parameterStellen_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("namen");
    QTest::addColumn<QString>("gestalt");

    QTest::newRow("einer") << "SELECT * FROM T WHERE A = :Abteilung"
                           << "Abteilung"
                           << "SELECT * FROM T WHERE A = <0>";
    QTest::newRow("gleicher Name in anderer Schreibung") << "SET A = :Modul, B = :MODUL, C = :Key1"
                                                         << "Modul,Key1"
                                                         << "SET A = <0>, B = <0>, C = <1>";
    QTest::newRow("Namen mit Ziffern und Unterstrich bis zum Komma")
        << "SET X=:Messwert1,Y=:Mitarbeiter_ID "
        << "Messwert1,Mitarbeiter_ID"
        << "SET X=<0>,Y=<1> ";
    QTest::newRow("Doppelpunkte in Literalen sind Text")
        << "WHERE T = '12:30' AND U = \"a:b\" AND `c:d` = :Echt"
        << "Echt"
        << "WHERE T = '12:30' AND U = \"a:b\" AND `c:d` = <0>";
    QTest::newRow("maskierte Quotes beenden das Literal nicht")
        << "WHERE A = 'x\\':y' AND B = 'p'':q' AND C = :C"
        << "C"
        << "WHERE A = 'x\\':y' AND B = 'p'':q' AND C = <0>";
    QTest::newRow("Kommentare") << "SELECT 1 -- :a\nFROM T /* :b */ WHERE X = :c # :d"
                                << "c"
                                << "SELECT 1 -- :a\nFROM T /* :b */ WHERE X = <0> # :d";
    QTest::newRow("Zuweisung und einzelner Doppelpunkt") << "SET @a := 1, b = ': '"
                                                         << ""
                                                         << "SET @a := 1, b = ': '";
    QTest::newRow("Parameter am Anfang und Ende") << ":A:B"
                                                  << "A,B"
                                                  << "<0><1>";
    QTest::newRow("offenes Literal am Ende") << "WHERE A = :A AND B = 'abc :B"
                                             << "A"
                                             << "WHERE A = <0> AND B = 'abc :B";
}

void TestSqlText::parameterStellen()
{
    QFETCH(QString, sql);
    QFETCH(QString, namen);
    QFETCH(QString, gestalt);

    const TSqlVorlage vorlage(sql);
    QCOMPARE(vorlage.Namen().join(u','), namen);
    QCOMPARE(Gestalt(vorlage), gestalt);
}

void TestSqlText::zeilen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("zeilen");

    QTest::newRow("leer") << "" << QStringList{};
    QTest::newRow("CR LF") << "A\r\nB\r\n" << QStringList{"A", "B"};
    QTest::newRow("LF und CR") << "A\nB\rC" << QStringList{"A", "B", "C"};
    QTest::newRow("Leerzeile bleibt") << "A\r\n\r\nB" << QStringList{"A", "", "B"};
    QTest::newRow("Leerzeichen bleiben") << "  A  \r\n " << QStringList{"  A  ", " "};
}

void TestSqlText::zeilen()
{
    QFETCH(QString, text);
    QFETCH(QStringList, zeilen);

    TDBVerbindung verbindung;
    TDBAbfrage abfrage(verbindung, QStringLiteral("quTest"));
    abfrage.SQL().SetText(text);
    QCOMPARE(abfrage.SQL().Zeilen(), zeilen);
    QString erwartet;
    for (const QString& zeile : zeilen)
        erwartet += zeile + QStringLiteral("\r\n");
    QCOMPARE(abfrage.SQL().Text(), erwartet);

    // The search grows its statement by reading the text and writing it back extended.
    abfrage.SQL().SetText(abfrage.SQL().Text() + QStringLiteral("X = 1"));
    QCOMPARE(abfrage.SQL().Count(), zeilen.size() + 1);
    QCOMPARE(abfrage.SQL().Zeilen().last(), QStringLiteral("X = 1"));
}

void TestSqlText::neuerTextErsetztParameter()
{
    TDBVerbindung verbindung;
    TDBAbfrage abfrage(verbindung, QStringLiteral("quTest"));
    abfrage.SQL().SetText(QStringLiteral("SELECT :Alt"));
    abfrage.ParamByName(QStringLiteral("ALT")).SetAsString(QStringLiteral("x"));
    QVERIFY(!abfrage.ParamByName(QStringLiteral("alt")).IsNull());

    abfrage.SQL().SetText(QStringLiteral("SELECT :Neu"));
    QCOMPARE(abfrage.ParamCount(), 1);
    QVERIFY(abfrage.ParamByName(QStringLiteral("NEU")).IsNull());
    try {
        abfrage.ParamByName(QStringLiteral("Alt"));
        QFAIL("unknown parameter accepted");
    } catch (const EAbfragefehler& fehler) {
        QCOMPARE(fehler.Anzeige(), QStringLiteral("EAbfragefehler:quTest: Parameter 'Alt' "
                                                  "nicht gefunden"));
    }
    abfrage.SQL().Clear();
    QCOMPARE(abfrage.ParamCount(), 0);
}

void TestSqlText::datumsformen_data()
{
    QTest::addColumn<QByteArray>("wert");
    QTest::addColumn<bool>("mitZeit");
    QTest::addColumn<QString>("text");

    QTest::newRow("Datum") << QByteArray("2024-03-05") << false << "05.03.2024";
    QTest::newRow("Jahr 1000") << QByteArray("1000-01-01") << false << "01.01.1000";
    QTest::newRow("Zeitpunkt") << QByteArray("2024-03-05 07:41:09") << true
                               << "05.03.2024 07:41:09";
    QTest::newRow("Mitternacht") << QByteArray("2024-03-05 00:00:00") << true << "05.03.2024";
    QTest::newRow("Mitternacht mit Bruchteil 0")
        << QByteArray("2024-03-05 00:00:00.000000") << true << "05.03.2024";
    QTest::newRow("kurz nach Mitternacht")
        << QByteArray("2024-03-05 00:00:00.250000") << true << "05.03.2024 00:00:00";
    QTest::newRow("eine Sekunde nach Mitternacht")
        << QByteArray("2024-03-05 00:00:01") << true << "05.03.2024 00:00:01";
    QTest::newRow("fremde Form bleibt") << QByteArray("2024-3-5") << false << "2024-3-5";
}

void TestSqlText::datumsformen()
{
    QFETCH(QByteArray, wert);
    QFETCH(bool, mitZeit);
    QFETCH(QString, text);

    QCOMPARE(mitZeit ? DBWerte::DatumZeitText(wert) : DBWerte::DatumText(wert), text);
}

void TestSqlText::literale()
{
    QCOMPARE(DBWerte::DatumLiteral(QDate(1000, 1, 1)), QByteArray("'1000-01-01'"));
    QCOMPARE(DBWerte::DatumZeitLiteral(QDateTime(QDate(2024, 3, 5), QTime(7, 41, 9, 999))),
             QByteArray("'2024-03-05 07:41:09'"));
    QVERIFY_THROWS_EXCEPTION(EAbfragefehler, DBWerte::DatumLiteral(QDate()));
    QVERIFY_THROWS_EXCEPTION(EAbfragefehler, DBWerte::DatumLiteral(QDate(10000, 1, 1)));
    QVERIFY(DBWerte::IstNullDatum("0000-00-00 00:00:00"));
    QVERIFY(!DBWerte::IstNullDatum("2024-00-00"));
}

void TestSqlText::ohneVerbindungKeinZugriff()
{
    TDBVerbindung verbindung;
    QCOMPARE(verbindung.Username(), QStringLiteral("root"));
    QVERIFY(!verbindung.Connected());
    TDBAbfrage abfrage(verbindung, QStringLiteral("quTest"));
    abfrage.SQL().SetText(QStringLiteral("SELECT 1"));
    try {
        abfrage.Open();
        QFAIL("a statement ran without a connection");
    } catch (const EVerbindungsfehler& fehler) {
        QCOMPARE(fehler.Anzeige(),
                 QStringLiteral("EVerbindungsfehler:Keine Verbindung zur Datenbank."));
    }
    QVERIFY(!abfrage.Active());
    QCOMPARE(abfrage.RecordCount(), 0);
    QVERIFY(abfrage.Eof());
    QVERIFY_THROWS_EXCEPTION(EAbfragefehler, abfrage.FieldByName(QStringLiteral("1")));
}

QTEST_GUILESS_MAIN(TestSqlText)
#include "tst_sqltext.moc"
