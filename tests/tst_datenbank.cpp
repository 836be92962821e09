// The database layer against a real private server: queries, values, transactions, rights.
#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "DBWerte.h"
#include "TestServer.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDatenbank = u"TST_DATENBANK"_s;

// The station's own statements, as its least-privilege user runs them.
const QString kAbteilungsliste =
    u"SELECT * FROM VORGABEN_ABTEILUNG WHERE INAKTIV = \"N\" AND ABTEILUNG_ID > 1"_s;
const QString kTafel =
    u"SELECT * FROM MITARBEITER INNER JOIN (KONTAKTDATEN, VORGABEN_ABTEILUNG) ON             "
    u"       MITARBEITER.KONTAKTDATEN_ID = KONTAKTDATEN.KONTAKTDATEN_ID AND "
    u"MITARBEITER.ABTEILUNG_ID    = VORGABEN_ABTEILUNG.ABTEILUNG_ID AND MITARBEITER.INAKTIV    "
    u"     = \"N\"        AND MITARBEITER.ESD_MESSUNG     = \"J\"        AND "
    u"VORGABEN_ABTEILUNG.ABTEILUNG      = :Abteilung AND MITARBEITER_ID > \"1\"              "
    u"   ORDER BY NACHNAME"_s;
const QString kSuche =
    u"Select * From MITARBEITER INNER JOIN (KONTAKTDATEN, PLZ, LAENDER, VORGABEN_ANREDE, "
    u"VORGABEN_TITEL, VORGABEN_ABTEILUNG,VORGABEN_MA_ANG_STATUS) ON MITARBEITER.KONTAKTDATEN_ID "
    u"= KONTAKTDATEN.KONTAKTDATEN_ID AND \r\nMITARBEITER.MITARBEITER_ID Like \"%1\" AND \r\n"
    u"KONTAKTDATEN.PLZ_ID = PLZ.PLZ_ID AND KONTAKTDATEN.ANREDE_ID = VORGABEN_ANREDE.ANREDE_ID "
    u"AND KONTAKTDATEN.TITEL_ID = VORGABEN_TITEL.TITEL_ID AND MITARBEITER.ABTEILUNG_ID = "
    u"VORGABEN_ABTEILUNG.ABTEILUNG_ID AND MITARBEITER.MA_ANG_STATUS_ID = "
    u"VORGABEN_MA_ANG_STATUS.MA_ANG_STATUS_ID AND KONTAKTDATEN.MITARBEITER = \"J\" AND "
    u"MITARBEITER.GELOESCHT <> \"J\"   AND PLZ.LAENDER_ID = LAENDER.LAND_ID   ORDER by \r\n"
    u"MITARBEITER_ID DESC, KONTAKTDATEN.NACHNAME DESC, KONTAKTDATEN.VORNAME DESC"_s;
const QString kMessung =
    u"INSERT INTO ESD_MESSWERTE_SCHUHE SET ZEITSTEMPEL      = :Zeitstempel,     MITARBEITER_ID "
    u"  = :Mitarbeiter_ID,  NAME             = :Name,            MESSWERT_SCHUH_L = :Messwert1, "
    u"      MESSWERT_SCHUH_R = :Messwert2,       MESSWERT_ARMBAND = :Messwert3,       FEHLERCODE"
    u"       = :Fehlercode,      MESSWERTE_OK     = :Messwerte_OK     "_s;
const QString kDatumStempel =
    u"UPDATE MITARBEITER SET                  DATUM_ESD_MESSUNG     = :Zeitstempel    WHERE "
    u"MITARBEITER_ID  = :Mitarbeiter_ID "_s;

QByteArray Jpeg()
{
    QImage bild(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < bild.height(); ++y) {
        for (int x = 0; x < bild.width(); ++x)
            bild.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) % 256));
    }
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "JPG");
    return daten;
}

} // namespace

class TestDatenbank : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void neuerTextLaeuftStattDesAlten();
    void namenOhneGrossKlein();
    void recordCountVorDemErstenBesuch();
    void nullUndLeer();
    void datumUndZeit();
    void wahrheitswerte();
    void blobRundreise();
    void ergebnisUeberlebtDieVerbindung();
    void gleichnamigeSpalten();
    void transaktion();
    void werteAendernKeineAnweisung_data();
    void werteAendernKeineAnweisung();
    void maskierteTexteBleibenWoertlich_data();
    void maskierteTexteBleibenWoertlich();
    void fremderSqlModusGiltNichtFuerDieStation();
    void mindestrechteDerStation();

private:
    void Ausfuehren(const QString& sql);
    QString Wert(const QString& sql);
    void Messung(const QString& mitarbeiter, const QDateTime& zeitpunkt);

    TTestServer FServer;
    QString FModus; // the server's default sql_mode
    TDBVerbindung FVerbindung;
    TDBAbfrage qu{FVerbindung, u"quTest"_s};
};

void TestDatenbank::initTestCase()
{
    FServer.NeueDatenbank(kDatenbank);
    FServer.Verbinde(FVerbindung, kDatenbank);
    QVERIFY(FVerbindung.Connected());
    FModus = Wert(u"SELECT @@SESSION.sql_mode"_s);
}

void TestDatenbank::cleanup()
{
    TDBAbfrage modus(FVerbindung, u"quModus"_s);
    modus.SQL().SetText(u"SET SESSION sql_mode = :Modus"_s);
    modus.ParamByName(u"Modus"_s).SetAsString(FModus);
    modus.ExecSQL();
}

void TestDatenbank::Ausfuehren(const QString& sql)
{
    qu.SQL().SetText(sql);
    qu.ExecSQL();
}

QString TestDatenbank::Wert(const QString& sql)
{
    qu.SQL().SetText(sql);
    qu.Open();
    return qu.Fields(0).AsString();
}

void TestDatenbank::Messung(const QString& mitarbeiter, const QDateTime& zeitpunkt)
{
    qu.SQL().SetText(kMessung);
    qu.ParamByName(u"ZEITSTEMPEL"_s).SetAsDateTime(zeitpunkt);
    qu.ParamByName(u"MITARBEITER_ID"_s).SetAsString(mitarbeiter);
    qu.ParamByName(u"NAME"_s).SetAsString(u"Test"_s);
    qu.ParamByName(u"MESSWERT1"_s).SetAsString(u" 40"_s);
    qu.ParamByName(u"MESSWERT2"_s).SetAsString(u" OVR"_s);
    qu.ParamByName(u"MESSWERT3"_s).SetAsString(QString());
    qu.ParamByName(u"FEHLERCODE"_s).SetAsString(u" 2"_s);
    qu.ParamByName(u"MESSWERTE_OK"_s).SetAsString(u"N"_s);
    qu.Execute();
}

void TestDatenbank::neuerTextLaeuftStattDesAlten()
{
    qu.SQL().SetText(u"SELECT 1 AS ALT"_s);
    qu.Open();
    const TDBFeld alt = qu.FieldByName(u"alt"_s);
    QCOMPARE(alt.AsString(), u"1"_s);

    // Assigned while open: closes the old result; the next Open runs the new text.
    qu.SQL().SetText(u"SELECT 2 AS NEU"_s);
    QVERIFY(!qu.Active());
    QVERIFY_THROWS_EXCEPTION(EAbfragefehler, alt.AsString());
    qu.Open();
    QCOMPARE(qu.FieldByName(u"NEU"_s).AsInteger(), 2);
    QVERIFY_THROWS_EXCEPTION(EAbfragefehler, qu.FieldByName(u"ALT"_s));

    qu.Close();
    QVERIFY_THROWS_EXCEPTION(EAbfragefehler, qu.FieldByName(u"NEU"_s));
    QCOMPARE(qu.RecordCount(), 0);
}

void TestDatenbank::namenOhneGrossKlein()
{
    qu.SQL().SetText(u"Insert Into EINSTELLUNGEN_MASTER Set MODUL = :Modul, KEY1 = :Key1, "
                     u"WERT = :Wert, BESCHREIBUNG = :Beschreibung, KLONEN = :Klonen"_s);
    qu.ParamByName(u"MODUL"_s).SetAsString(u"DEBITOR"_s);
    qu.ParamByName(u"KEY1"_s).SetAsString(u"STARTNUMMER"_s);
    qu.ParamByName(u"wert"_s).SetAsString(u"10000"_s);
    qu.ParamByName(u"Beschreibung"_s).SetAsString(u"Erste Kundennummer"_s);
    qu.ParamByName(u"KLONEN"_s).SetAsString(u"Nein"_s);
    qu.ExecSQL();
    QCOMPARE(qu.RowsAffected(), 1u);
    QVERIFY(!qu.Active());

    qu.SQL().SetText(u"Select * from EINSTELLUNGEN_MASTER where MODUL = \"DEBITOR\" and "
                     u"KEY1  = \"STARTNUMMER\""_s);
    qu.Open();
    QCOMPARE(qu.RecordCount(), 1);
    QCOMPARE(qu.FieldByName(u"Wert"_s).AsString(), u"10000"_s);
    QCOMPARE(qu.FieldByName(u"WERT"_s).AsInteger(), 10000);
    QCOMPARE(qu.FieldByName(u"wert"_s).FieldName(), u"WERT"_s);
    try {
        qu.FieldByName(u"Werte"_s);
        QFAIL("unknown column accepted");
    } catch (const EAbfragefehler& fehler) {
        QCOMPARE(fehler.Anzeige(), u"EAbfragefehler:quTest: Feld 'Werte' nicht gefunden"_s);
    }
}

void TestDatenbank::recordCountVorDemErstenBesuch()
{
    const QDateTime beginn(QDate(2024, 3, 5), QTime(7, 0));
    for (int i = 0; i < 30; ++i)
        Messung(u"3030"_s, beginn.addSecs(i * 61));

    qu.SQL().SetText(u"SELECT * FROM ESD_MESSWERTE_SCHUHE WHERE MITARBEITER_ID = :Id "
                     u"ORDER BY ZEITSTEMPEL"_s);
    qu.ParamByName(u"ID"_s).SetAsString(u"3030"_s);
    qu.Open();
    QCOMPARE(qu.RecordCount(), 30);
    QVERIFY(!qu.Eof());

    int zeilen = 0;
    for (; !qu.Eof(); qu.Next()) {
        QCOMPARE(qu.FieldByName(u"ZEITSTEMPEL"_s).AsString(),
                 beginn.addSecs(zeilen * 61).toString(u"dd.MM.yyyy HH:mm:ss"_s));
        ++zeilen;
    }
    QCOMPARE(zeilen, 30);
    // Past the end the last row stays current.
    QCOMPARE(qu.FieldByName(u"ZEITSTEMPEL"_s).AsString(), u"05.03.2024 07:29:29"_s);
    qu.First();
    QVERIFY(!qu.Eof());
    QCOMPARE(qu.FieldByName(u"ZEITSTEMPEL"_s).AsString(), u"05.03.2024 07:00:00"_s);
    QCOMPARE(qu.FieldByName(u"MESSWERT_SCHUH_R"_s).AsString(), u" OVR"_s);
    QCOMPARE(qu.FieldByName(u"MESSWERT_ARMBAND"_s).AsString(), QString());
    QVERIFY(!qu.FieldByName(u"MESSWERT_ARMBAND"_s).IsNull());
}

void TestDatenbank::nullUndLeer()
{
    qu.SQL().SetText(u"SELECT NULL AS N, :Leer AS L, :Leer IS NULL AS LEER_NULL, "
                     u":Unbelegt IS NULL AS UNBELEGT_NULL"_s);
    qu.ParamByName(u"LEER"_s).SetAsString(QString());
    qu.Open();
    const TDBFeld n = qu.FieldByName(u"N"_s);
    QVERIFY(n.IsNull());
    QCOMPARE(n.AsString(), QString());
    QCOMPARE(n.AsInteger(), 0);
    QVERIFY(!n.AsVariant().isValid());
    QVERIFY(!qu.FieldByName(u"L"_s).IsNull());
    QCOMPARE(qu.FieldByName(u"LEER_NULL"_s).AsString(), u"0"_s);
    QCOMPARE(qu.FieldByName(u"UNBELEGT_NULL"_s).AsString(), u"1"_s);

    qu.SQL().SetText(u"SELECT * FROM VORGABEN_ABTEILUNG WHERE ABTEILUNG_ID < 0"_s);
    qu.Open();
    QVERIFY(qu.Active());
    QVERIFY(qu.Eof());
    QCOMPARE(qu.RecordCount(), 0);
    const TDBFeld abteilung = qu.FieldByName(u"ABTEILUNG"_s);
    QCOMPARE(abteilung.AsString(), QString());
    QVERIFY(abteilung.IsNull());
    QVERIFY(!abteilung.AsBoolean());
    qu.Next();
    QVERIFY(qu.Eof());

    QVERIFY_THROWS_EXCEPTION(EAbfragefehler, Wert(u"DO 1"_s));
}

void TestDatenbank::datumUndZeit()
{
    qu.SQL().SetText(u"SELECT DATE'2024-03-05' AS D, TIMESTAMP'2024-03-05 07:41:09' AS DT, "
                     u"TIMESTAMP'2024-03-05 00:00:00' AS MITTERNACHT, "
                     u"CAST('0000-00-00' AS DATE) AS NULLDATUM, 12345678901 AS GROSS, "
                     u"-7 AS NEGATIV, 2.50 AS DEZIMAL"_s);
    qu.Open();
    QCOMPARE(qu.FieldByName(u"D"_s).AsString(), u"05.03.2024"_s);
    QCOMPARE(qu.FieldByName(u"D"_s).AsVariant(), QVariant(QDate(2024, 3, 5)));
    QCOMPARE(qu.FieldByName(u"DT"_s).AsString(), u"05.03.2024 07:41:09"_s);
    QCOMPARE(qu.FieldByName(u"MITTERNACHT"_s).AsString(), u"05.03.2024"_s);
    QVERIFY(qu.FieldByName(u"NULLDATUM"_s).IsNull());
    QCOMPARE(qu.FieldByName(u"NULLDATUM"_s).AsString(), QString());
    QCOMPARE(qu.FieldByName(u"GROSS"_s).AsString(), u"12345678901"_s);
    QVERIFY_THROWS_EXCEPTION(EUmwandlungsfehler, qu.FieldByName(u"GROSS"_s).AsInteger());
    QCOMPARE(qu.FieldByName(u"NEGATIV"_s).AsInteger(), -7);
    QCOMPARE(qu.FieldByName(u"DEZIMAL"_s).AsString(), u"2.50"_s);

    // Bound dates reach date and date-time columns and read back in the station's form.
    Ausfuehren(u"Insert Into KONTAKTDATEN Set GELOESCHT   = \"N\" "_s);
    const QString kontakt = Wert(u"Select LAST_INSERT_ID()"_s);
    qu.SQL().SetText(u"Update KONTAKTDATEN Set GEBURTSTAG = :Geburtstag WHERE KONTAKTDATEN_ID "
                     u"= \""_s +
                     kontakt + u"\""_s);
    qu.ParamByName(u"GEBURTSTAG"_s).SetAsDate(QDate(1000, 1, 1));
    qu.ExecSQL();
    Ausfuehren(u"Insert Into MITARBEITER Set KONTAKTDATEN_ID = "_s + kontakt);
    const QString mitarbeiter = Wert(u"Select LAST_INSERT_ID()"_s);
    qu.SQL().SetText(kDatumStempel);
    qu.ParamByName(u"ZEITSTEMPEL"_s).SetAsDateTime(QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    qu.ParamByName(u"MITARBEITER_ID"_s).SetAsString(mitarbeiter);
    qu.Execute();
    QCOMPARE(qu.RowsAffected(), 1u);

    qu.SQL().SetText(u"Select * From MITARBEITER INNER JOIN KONTAKTDATEN ON "
                     u"MITARBEITER.KONTAKTDATEN_ID = KONTAKTDATEN.KONTAKTDATEN_ID WHERE "
                     u"MITARBEITER_ID = :Id"_s);
    qu.ParamByName(u"Id"_s).SetAsString(mitarbeiter);
    qu.Open();
    QCOMPARE(qu.FieldByName(u"GEBURTSTAG"_s).AsString(), u"01.01.1000"_s);
    QCOMPARE(qu.FieldByName(u"DATUM_ESD_MESSUNG"_s).AsString(), u"05.03.2024"_s);
    QCOMPARE(qu.FieldByName(u"DATUM_ESD_MESSUNG"_s).AsVariant(),
             QVariant(QDateTime(QDate(2024, 3, 5), QTime(0, 0))));
}

void TestDatenbank::wahrheitswerte()
{
    qu.SQL().SetText(u"SELECT 'T' AS A, 'true' AS B, 'Yes' AS C, 'y' AS D, 'J' AS E, 'N' AS F, "
                     u"'' AS G, 1 AS H, ' T' AS I"_s);
    qu.Open();
    QString gelesen;
    for (int i = 0; i < qu.FieldCount(); ++i)
        gelesen += qu.Fields(i).AsBoolean() ? u'1' : u'0';
    QCOMPARE(gelesen, u"111100000"_s);
}

void TestDatenbank::blobRundreise()
{
    QByteArray alleBytes;
    for (int i = 0; i < 256; ++i)
        alleBytes.append(static_cast<char>(i));
    for (const QByteArray& bytes : {Jpeg(), alleBytes, QByteArray()}) {
        qu.SQL().SetText(u"Insert Into MITARBEITER Set LOGINNAME = \"foto\", FOTO = :Foto, "
                         u"ANMERKUNGEN = :Anmerkungen"_s);
        qu.ParamByName(u"FOTO"_s).SetAsBlob(bytes);
        qu.ParamByName(u"ANMERKUNGEN"_s).SetAsMemo(u"Zeile 1\r\nZeile 2"_s);
        qu.ExecSQL();
        qu.SQL().SetText(u"Select FOTO, ANMERKUNGEN From MITARBEITER Where MITARBEITER_ID = "_s +
                         Wert(u"Select LAST_INSERT_ID()"_s));
        qu.Open();
        const TDBFeld foto = qu.FieldByName(u"Foto"_s);
        QVERIFY(foto.IsBlob());
        QCOMPARE(foto.DataType(), TDBErgebnis::TArt::Blob);
        const std::unique_ptr<QIODevice> strom = foto.CreateBlobStream();
        QVERIFY(strom->isReadable());
        QCOMPARE(strom->readAll(), bytes);
        QVERIFY(qu.FieldByName(u"ANMERKUNGEN"_s).IsBlob());
        QCOMPARE(qu.FieldByName(u"ANMERKUNGEN"_s).AsWideString(), u"Zeile 1\r\nZeile 2"_s);
    }
    QImage bild;
    qu.SQL().SetText(u"Select FOTO From MITARBEITER Where LOGINNAME = \"foto\" "
                     u"Order By MITARBEITER_ID"_s);
    qu.Open();
    QVERIFY(bild.load(qu.FieldByName(u"FOTO"_s).CreateBlobStream().get(), "JPG"));
    QCOMPARE(bild.size(), QSize(64, 48));
}

void TestDatenbank::ergebnisUeberlebtDieVerbindung()
{
    // The values are not copied out of the client library's result; they must stay readable
    // when the link closes under an open query, as after a drop.
    const QByteArray foto = Jpeg();
    qu.SQL().SetText(u"Insert Into MITARBEITER Set LOGINNAME = \"bleibt\", FOTO = :Foto"_s);
    qu.ParamByName(u"FOTO"_s).SetAsBlob(foto);
    qu.ExecSQL();
    qu.SQL().SetText(u"Select LOGINNAME, FOTO From MITARBEITER Where LOGINNAME = \"bleibt\""_s);
    qu.Open();
    FVerbindung.SetConnected(false);
    QCOMPARE(qu.FieldByName(u"FOTO"_s).AsBytes(), foto);
    QCOMPARE(qu.FieldByName(u"LOGINNAME"_s).AsString(), u"bleibt"_s);
    qu.Close();
    FVerbindung.SetConnected(true);
    QCOMPARE(Wert(u"Select COUNT(*) From MITARBEITER Where LOGINNAME = \"bleibt\""_s), u"1"_s);
}

void TestDatenbank::gleichnamigeSpalten()
{
    Ausfuehren(u"Insert Into KONTAKTDATEN Set GELOESCHT   = \"N\" "_s);
    const QString kontakt = Wert(u"Select LAST_INSERT_ID()"_s);
    Ausfuehren(u"Insert Into MITARBEITER Set GELOESCHT = \"J\", KONTAKTDATEN_ID = "_s + kontakt);
    const QString mitarbeiter = Wert(u"Select LAST_INSERT_ID()"_s);

    // The column of the first table named in the statement wins.
    qu.SQL().SetText(u"Select * From MITARBEITER INNER JOIN (KONTAKTDATEN) ON "
                     u"MITARBEITER.KONTAKTDATEN_ID = KONTAKTDATEN.KONTAKTDATEN_ID AND "
                     u"MITARBEITER.MITARBEITER_ID = "_s +
                     mitarbeiter);
    qu.Open();
    QCOMPARE(qu.FieldByName(u"GELOESCHT"_s).AsString(), u"J"_s);
    qu.SQL().SetText(u"Select * From KONTAKTDATEN INNER JOIN (MITARBEITER) ON "
                     u"MITARBEITER.KONTAKTDATEN_ID = KONTAKTDATEN.KONTAKTDATEN_ID AND "
                     u"MITARBEITER.MITARBEITER_ID = "_s +
                     mitarbeiter);
    qu.Open();
    QCOMPARE(qu.FieldByName(u"geloescht"_s).AsString(), u"N"_s);
}

void TestDatenbank::transaktion()
{
    const QString zaehlen =
        u"SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE WHERE MITARBEITER_ID = 9001"_s;
    FVerbindung.StartTransaction();
    Messung(u"9001"_s, QDateTime::currentDateTime());
    QCOMPARE(Wert(zaehlen), u"1"_s);
    FVerbindung.Rollback();
    QVERIFY(!FVerbindung.InTransaction());
    QCOMPARE(Wert(zaehlen), u"0"_s);

    FVerbindung.StartTransaction();
    QVERIFY_THROWS_EXCEPTION(EAbfragefehler, FVerbindung.StartTransaction());
    Messung(u"9001"_s, QDateTime::currentDateTime());
    FVerbindung.Commit();
    QCOMPARE(Wert(zaehlen), u"1"_s);
    QVERIFY_THROWS_EXCEPTION(EAbfragefehler, FVerbindung.Commit());
    FVerbindung.Rollback(); // nothing open: no effect
    QCOMPARE(Wert(zaehlen), u"1"_s);
}

void TestDatenbank::werteAendernKeineAnweisung_data()
{
    QTest::addColumn<bool>("ohneBackslash");
    QTest::addColumn<QString>("wert");

    const QList<QPair<const char*, QString>> werte{
        {"Apostroph", u"O'Brien"_s},
        {"Anfuehrungszeichen", u"\"Zitat\" und \"\""_s},
        {"Backslash am Ende", u"C:\\Pfad\\"_s},
        {"Backslash vor Quote", u"\\' OR 1=1 -- "_s},
        {"Umlaute", u"Müller-Lüdenscheidt ß ÄÖÜ"_s},
        {"ausserhalb BMP", u"Emoji 😀 und Notenschlüssel 𝄞"_s},
        {"NUL", QString(u"a\0b\0"_s)},
        {"eingeschobene Anweisung", u"x\"); DROP TABLE KONTAKTDATEN; -- "_s},
        {"Parametername als Wert", u":Nachname :Firma"_s},
        {"Muster", u"%_"_s},
        {"Zeilenumbruch und Tab", u"a\r\n\tb"_s},
    };
    for (const bool ohneBackslash : {false, true}) {
        for (const auto& [name, wert] : werte) {
            QTest::addRow("%s%s", name, ohneBackslash ? " (NO_BACKSLASH_ESCAPES)" : "")
                << ohneBackslash << wert;
        }
    }
}

void TestDatenbank::werteAendernKeineAnweisung()
{
    QFETCH(bool, ohneBackslash);
    QFETCH(QString, wert);

    QVERIFY(!FModus.contains(u"ANSI_QUOTES"_s));
    if (ohneBackslash)
        Ausfuehren(u"SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_BACKSLASH_ESCAPES')"_s);

    qu.SQL().SetText(u"Insert Into KONTAKTDATEN Set GELOESCHT = \"N\", NACHNAME = :Nachname, "
                     u"FIRMA = :Firma"_s);
    qu.ParamByName(u"NACHNAME"_s).SetAsString(wert);
    qu.ParamByName(u"FIRMA"_s).SetAsMemo(wert);
    qu.ExecSQL();
    const QString schluessel = Wert(u"Select LAST_INSERT_ID()"_s);

    qu.SQL().SetText(u"Select NACHNAME, FIRMA, KONTAKTDATEN_ID From KONTAKTDATEN "
                     u"Where NACHNAME = :Wert AND FIRMA = :Wert ORDER BY KONTAKTDATEN_ID DESC"_s);
    qu.ParamByName(u"Wert"_s).SetAsString(wert);
    qu.Open();
    QVERIFY(qu.RecordCount() >= 1);
    QCOMPARE(qu.FieldByName(u"KONTAKTDATEN_ID"_s).AsString(), schluessel);
    QCOMPARE(qu.FieldByName(u"NACHNAME"_s).AsString(), wert);
    QCOMPARE(qu.FieldByName(u"FIRMA"_s).AsString(), wert);
    QCOMPARE(Wert(u"SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = "
                  u"DATABASE() AND TABLE_NAME = 'KONTAKTDATEN'"_s),
             u"1"_s);
}

void TestDatenbank::maskierteTexteBleibenWoertlich_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("doppeltes Anführungszeichen") << u"a\" OR \"1\"=\"1"_s;
    QTest::newRow("einfaches Anführungszeichen") << u"O'Brien"_s;
    QTest::newRow("Backslash am Ende") << u"C:\\"_s;
    QTest::newRow("Backslash vor Anführungszeichen") << u"\\\" --"_s;
    QTest::newRow("Steuerzeichen") << u"a\r\nb\x1a"_s + QChar(0) + u"c"_s;
    QTest::newRow("Umlaute") << u"Müller-Lüdenscheidt ß"_s;
}

void TestDatenbank::maskierteTexteBleibenWoertlich()
{
    // Between double quotes as well as single ones the text arrives as it was.
    QFETCH(QString, text);
    const QString maskiert = DBWerte::TextMaskiert(text);
    QCOMPARE(Wert(u"SELECT \""_s + maskiert + u"\""_s), text);
    QCOMPARE(Wert(u"SELECT '"_s + maskiert + u"'"_s), text);
    // As a Like pattern it matches itself and keeps its wildcards.
    const QString muster = DBWerte::MusterMaskiert(text);
    QCOMPARE(Wert(u"SELECT \""_s + maskiert + u"x\" LIKE \""_s + muster + u"%\""_s), u"1"_s);
    QCOMPARE(Wert(u"SELECT \"x\" LIKE \""_s + muster + u"\""_s), u"0"_s);
}

void TestDatenbank::fremderSqlModusGiltNichtFuerDieStation()
{
    // A server set up with ANSI quoting and without backslash escapes: every link the
    // connection makes switches both off again, also one made anew after a drop.
    Ausfuehren(u"SET SESSION sql_mode = 'ANSI,NO_BACKSLASH_ESCAPES'"_s);
    FServer.Sql(u"KILL "_s + QString::number(FVerbindung.ServerThreadId()) + u";"_s);
    QCOMPARE(Wert(u"SELECT \"a\\\"b\""_s), u"a\"b"_s);
    const QString modus = Wert(u"SELECT @@SESSION.sql_mode"_s);
    QVERIFY2(!modus.contains(u"ANSI"_s) && !modus.contains(u"BACKSLASH"_s), qPrintable(modus));
    QCOMPARE(modus, FModus);
}

void TestDatenbank::mindestrechteDerStation()
{
    QFile rechte(QStringLiteral(STATION_RECHTE));
    QVERIFY(rechte.open(QIODevice::ReadOnly));
    FServer.Sql(u"CREATE USER IF NOT EXISTS 'teststation'@'%' IDENTIFIED BY 'station-geheim';"_s);
    FServer.Sql(QString::fromUtf8(rechte.readAll()), kDatenbank);
    FServer.Sql(
        u"INSERT INTO LAENDER (LAND_ID, LAND) VALUES (1, 'Deutschland');"
        u"INSERT INTO PLZ (PLZ_ID, PLZ, ORT, LAENDER_ID) VALUES (1, '79100', 'Freiburg', 1);"
        u"INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (77, 'Rechte');"
        u"INSERT INTO KONTAKTDATEN (KONTAKTDATEN_ID, ANREDE_ID, TITEL_ID, PLZ_ID, "
        u"NACHNAME, MITARBEITER) VALUES (7700, 1, 1, 1, 'Recht', 'J');"
        u"INSERT INTO MITARBEITER (MITARBEITER_ID, KONTAKTDATEN_ID, ABTEILUNG_ID, "
        u"MA_ANG_STATUS_ID, ESD_MESSUNG, LOGINNAME) VALUES (7701, 7700, 77, 1, 'J', 'recht');"_s,
        kDatenbank);

    TDBVerbindung station;
    station.SetServer(u"127.0.0.1"_s);
    station.SetPort(FServer.Port());
    station.SetUsername(u"teststation"_s);
    station.SetPassword(u"station-geheim"_s);
    station.SetDatabase(kDatenbank);
    station.SetConnected(true);
    TDBAbfrage abfrage(station, u"quStation"_s);

    abfrage.SQL().SetText(kAbteilungsliste);
    abfrage.Open();
    QVERIFY(abfrage.RecordCount() >= 1);
    abfrage.SQL().SetText(kTafel);
    abfrage.ParamByName(u"ABTEILUNG"_s).SetAsString(u"Rechte"_s);
    abfrage.Open();
    QCOMPARE(abfrage.RecordCount(), 1);
    QCOMPARE(abfrage.FieldByName(u"NACHNAME"_s).AsString(), u"Recht"_s);
    abfrage.SQL().SetText(kSuche.arg(u"7701"_s));
    QCOMPARE(abfrage.SQL().Count(), 4);
    abfrage.Open();
    QCOMPARE(abfrage.RecordCount(), 1);
    QCOMPARE(abfrage.FieldByName(u"LOGINNAME"_s).AsString(), u"recht"_s);

    const QDateTime jetzt = QDateTime::currentDateTime();
    station.StartTransaction();
    abfrage.SQL().SetText(kMessung);
    abfrage.ParamByName(u"ZEITSTEMPEL"_s).SetAsDateTime(jetzt);
    abfrage.ParamByName(u"MITARBEITER_ID"_s).SetAsString(u"7701"_s);
    for (const QString& name :
         {u"NAME"_s, u"MESSWERT1"_s, u"MESSWERT2"_s, u"MESSWERT3"_s, u"FEHLERCODE"_s})
        abfrage.ParamByName(name).SetAsString(QString());
    abfrage.ParamByName(u"MESSWERTE_OK"_s).SetAsString(u"J"_s);
    abfrage.Execute();
    abfrage.SQL().SetText(kDatumStempel);
    abfrage.ParamByName(u"ZEITSTEMPEL"_s).SetAsDateTime(jetzt);
    abfrage.ParamByName(u"MITARBEITER_ID"_s).SetAsString(u"7701"_s);
    abfrage.Execute();
    station.Commit();
    QCOMPARE(FServer.Sql(u"SELECT COUNT(*) FROM ESD_MESSWERTE_SCHUHE WHERE MITARBEITER_ID = 7701;"
                         u"SELECT DATUM_ESD_MESSUNG IS NOT NULL FROM MITARBEITER WHERE "
                         u"MITARBEITER_ID = 7701;"_s,
                         kDatenbank),
             u"1\n1\n"_s);

    // Nothing beyond: the audit trail cannot be read or changed, no other column written.
    const QStringList verboten{
        u"SELECT * FROM ESD_MESSWERTE_SCHUHE"_s,
        u"UPDATE ESD_MESSWERTE_SCHUHE SET MESSWERTE_OK = \"J\""_s,
        u"DELETE FROM ESD_MESSWERTE_SCHUHE"_s,
        u"UPDATE ESD_MESSUNG_QUITTUNG SET MESSUNG_ID = 1"_s,
        u"DELETE FROM ESD_MESSUNG_QUITTUNG"_s,
        u"UPDATE MITARBEITER SET PASSWORT = \"x\" WHERE MITARBEITER_ID = \"7701\""_s,
        u"UPDATE MITARBEITER SET ESD_MESSUNG = \"N\" WHERE MITARBEITER_ID = \"7701\""_s,
        u"INSERT INTO MITARBEITER SET LOGINNAME = \"neu\""_s,
        u"UPDATE KONTAKTDATEN SET NACHNAME = \"x\""_s,
        u"SELECT * FROM EINSTELLUNGEN"_s,
        u"DROP TABLE ESD_MESSWERTE_SCHUHE"_s,
        u"CREATE TABLE X (A INT)"_s,
    };
    for (const QString& sql : verboten) {
        abfrage.SQL().SetText(sql);
        try {
            abfrage.ExecSQL();
            QFAIL(qPrintable(u"allowed: "_s + sql));
        } catch (const EDatenbankfehler& fehler) {
            QVERIFY2(fehler.Nummer() == 1142 || fehler.Nummer() == 1143,
                     qPrintable(sql + u" -> "_s + fehler.Anzeige()));
        }
    }
}

QTEST_GUILESS_MAIN(TestDatenbank)
#include "tst_datenbank.moc"
