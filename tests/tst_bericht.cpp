// The coordinator's reports against a small company with a known day: every standing a person
// can have, guests, an inactive employee and the other tenant's rule.
#include "Auswertung.h"
#include "BerichtPdf.h"
#include "Berichtsdaten.h"
#include "CsvDatei.h"
#include "DBAbfrage.h"
#include "DBFehler.h"
#include "DBVerbindung.h"
#include "Tabelle.h"
#include "Tagesbericht.h"
#include "TestServer.h"
#include "Testfirma.h"
#include "Zeitraumbericht.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kDatenbank = QStringLiteral("TST_BERICHT");
const QString kBoeseDatenbank = QStringLiteral("TST_BERICHT_BOESE");

// Names that break naive CSV and text output.
const QString kBoeserNachname = QStringLiteral("O'Brien; \"Kurz\"");
const QString kBoeserVorname = QStringLiteral("Zoë\nÄrger");
const QString kBoeserGast = QStringLiteral("Gäst;\"=1+1\"\r\nß");
const QDate kTag(2026, 11, 2);

// Montage, Lager, Empfang (no one), Archiv (inactive, not deleted: shown only under the tenant
// that filters on GELOESCHT).
const QString kFirma = QStringLiteral(
    "INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG, INAKTIV) VALUES (2, 'Montage', 'N'),"
    " (3, 'Lager', 'N'), (4, 'Archiv', 'J'), (5, 'Empfang', 'N');");

QString Personen()
{
    using Testfirma::Mitarbeiter;
    return Testfirma::kGrunddaten + kFirma + Mitarbeiter(10, "Adler", "Anna") +
           Mitarbeiter(11, "Brandt", "Bernd") + Mitarbeiter(12, "Conrad", "Clara") +
           Mitarbeiter(13, "Dorn", "Dieter") + Mitarbeiter(14, "Eck", "Erika") +
           Mitarbeiter(15, "Gast", "Besucher", "NULL", "NULL", 2, "Gast1") +
           Mitarbeiter(16, "Fuchs", "Frank", "NULL", "NULL", 3) +
           Mitarbeiter(17, "Graf", "Gert", "NULL", "NULL", 3) +
           Mitarbeiter(18, "Horn", "Hans", "NULL", "NULL", 4) +
           "UPDATE MITARBEITER SET INAKTIV = 'J' WHERE MITARBEITER_ID = 14;"
           "UPDATE MITARBEITER SET GELOESCHT = 'J' WHERE MITARBEITER_ID = 17;";
}

// id, time, name, code ("" for a pass); values as the tester sends them.
QString Messung(int id, const QString& zeit, const QString& name, const QString& code)
{
    return QStringLiteral("INSERT INTO ESD_MESSWERTE_SCHUHE (ZEITSTEMPEL, MITARBEITER_ID, NAME, "
                          "MESSWERT_SCHUH_L, MESSWERT_SCHUH_R, MESSWERT_ARMBAND, FEHLERCODE, "
                          "MESSWERTE_OK) VALUES ('%1', %2, '%3', ' 0.35', ' OVR', ' 1.1', '%4', "
                          "'%5');")
        .arg(zeit)
        .arg(id)
        .arg(name, code, code.isEmpty() ? "J" : "N");
}

QString Verlauf()
{
    return Messung(10, "2026-11-02 08:00:00", "ma10", "") +
           Messung(11, "2026-10-31 10:00:00", "ma11", "") +
           Messung(11, "2026-11-02 09:00:00", "ma11", " 40") +
           Messung(12, "2026-11-02 07:00:00", "ma12", " 8") +
           Messung(12, "2026-11-02 07:05:00", "ma12", "") +
           Messung(13, "2026-11-01 12:00:00", "ma13", " 8") +
           Messung(14, "2026-11-02 10:00:00", "ma14", " -10") +
           Messung(15, "2026-11-02 11:00:00", "Besucher Müller", " 2") +
           Messung(16, "2026-11-02 14:00:00", "ma16", "") +
           Messung(16, "2026-11-02 15:00:00", "ma16", " 32") +
           Messung(17, "2026-10-23 09:00:00", "ma17", "") +
           Messung(10, "2026-11-03 08:00:00", "ma10", " 8") +
           // The station that stored Brandt's failure says so in its receipt.
           "INSERT INTO ESD_MESSUNG_QUITTUNG (KENNUNG, MITARBEITER_ID, ZEITSTEMPEL, STATION, "
           "EMPFANGEN, MESSUNG_ID) SELECT 'b1', 11, ZEITSTEMPEL, 'halle-2', NOW(6), MESSUNG_ID "
           "FROM ESD_MESSWERTE_SCHUHE WHERE MITARBEITER_ID = 11 AND MESSWERTE_OK = 'N';";
}

// As an SQL string literal for the server's client.
QString Literal(const QString& text)
{
    return QString(text)
        .replace("\\", "\\\\")
        .replace("'", "\\'")
        .replace("\n", "\\n")
        .replace("\r", "\\r");
}

QString BoeseFirma()
{
    return Testfirma::kGrunddaten +
           "INSERT INTO VORGABEN_ABTEILUNG (ABTEILUNG_ID, ABTEILUNG) VALUES (2, 'Prüf;stand');" +
           Testfirma::Mitarbeiter(20, Literal(kBoeserNachname), Literal(kBoeserVorname)) +
           Testfirma::Mitarbeiter(21, "Gast", "Besucher", "NULL", "NULL", 2, "Gast1") +
           Messung(21, "2026-11-02 11:00:00", Literal(kBoeserGast), " 2");
}

// A CSV file read back by RFC 4180: the byte-order mark, then rows of cells.
QList<QStringList> CsvLesen(const QByteArray& bytes)
{
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return {};
    const QString text = QString::fromUtf8(bytes.mid(3));
    QList<QStringList> zeilen;
    QStringList zeile;
    QString zelle;
    bool gequotet = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (gequotet) {
            if (c == '"' && i + 1 < text.size() && text.at(i + 1) == '"') {
                zelle += '"';
                ++i;
            } else if (c == '"') {
                gequotet = false;
            } else {
                zelle += c;
            }
        } else if (c == '"') {
            gequotet = true;
        } else if (c == ';') {
            zeile << zelle;
            zelle.clear();
        } else if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n') {
            zeile << zelle;
            zeilen << zeile;
            zeile.clear();
            zelle.clear();
            ++i;
        } else {
            zelle += c;
        }
    }
    return zeilen;
}

// The text of a PDF as a reader extracts it.
QString PdfText(const QString& pfad)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-enc", "UTF-8", pfad, "-"});
    if (!pdftotext.waitForFinished() || pdftotext.exitCode() != 0)
        return QString();
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

const TErstellung kErstellung{QDateTime(QDate(2026, 11, 3), QTime(6, 30)),
                              "teststation-bericht 9.8"};

// The evaluation's own memo for a result line, as the measurement screen shows it.
class TMemo : public TAuswertungsZiel
{
public:
    void Zuruecksetzen() override {}
    void BildZeigen(TBildart, bool) override {}
    void WertZeigen(TWert, const QString&) override {}
    void MemoSetzen(const QString&) override {}
    void MemoZeile(const QString& zeile) override
    {
        if (!zeile.isEmpty())
            Zeilen << zeile;
    }
    void MemoZeigen() override {}
    void FehlerZeigen(const QString& text1, const QString&, const QString&) override
    {
        Zeilen << text1;
    }
    void PeriodeSetzen(int) override {}
    void CountdownStarten() override {}
    void Speichern() override {}

    QStringList Zeilen;
};

QString Datum(const QDateTime& zeit)
{
    return zeit.isValid() ? zeit.toString("dd.MM.yyyy") : "nie";
}

} // namespace

class TstBericht : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void tagesbericht_data();
    void tagesbericht();
    void gruendeWieDieAuswertung_data();
    void gruendeWieDieAuswertung();
    void zeitraum();
    void nurLesen();
    void csvZurueckgelesen();
    void csvOhneFormeln_data();
    void csvOhneFormeln();
    void boeseNamenImCsv();
    void pdfText();
    void boeseNamenImPdf();
    void zeitraumPdf();
    void programm_data();
    void programm();

private:
    TTestServer FServer;
    std::unique_ptr<TDBVerbindung> FVerbindung;
};

void TstBericht::initTestCase()
{
    FServer.NeueDatenbank(kDatenbank);
    FServer.Sql(Personen() + Verlauf(), kDatenbank);
    FServer.NeueDatenbank(kBoeseDatenbank);
    FServer.Sql(BoeseFirma(), kBoeseDatenbank);
    // The reports read with the report user's grants only.
    QFile rechte(BERICHT_RECHTE);
    QVERIFY(rechte.open(QIODevice::ReadOnly));
    FServer.Sql("CREATE USER IF NOT EXISTS 'teststation-bericht'@'%' IDENTIFIED BY 'lesen';");
    FServer.Sql(QString::fromUtf8(rechte.readAll()), kDatenbank);
    FServer.Sql("CREATE USER IF NOT EXISTS 'tst_bericht_tafel'@'%' IDENTIFIED BY 'lesen';"
                "GRANT SELECT ON VORGABEN_ABTEILUNG TO 'tst_bericht_tafel'@'%';"
                "GRANT SELECT ON MITARBEITER TO 'tst_bericht_tafel'@'%';"
                "GRANT SELECT ON KONTAKTDATEN TO 'tst_bericht_tafel'@'%';",
                kDatenbank);
    FVerbindung = std::make_unique<TDBVerbindung>();
    FVerbindung->SetServer("127.0.0.1");
    FVerbindung->SetPort(FServer.Port());
    FVerbindung->SetUsername("teststation-bericht");
    FVerbindung->SetPassword("lesen");
    FVerbindung->SetDatabase(kDatenbank);
    FVerbindung->SetConnected(true);
}

void TstBericht::cleanupTestCase()
{
    FVerbindung.reset();
}

void TstBericht::tagesbericht_data()
{
    QTest::addColumn<QString>("mandant");
    // Department: employees, passed, failed, not measured.
    QTest::addColumn<QStringList>("abteilungen");
    QTest::addColumn<QStringList>("ausnahmen");
    QTest::addColumn<QStringList>("fehlmessungen");

    const QStringList fehlmessungenOhne{
        "07:00|Conrad, Clara|Montage|0.35|OVR|1.1|Schuh Links: Widerstand zu hoch|",
        "09:00|Brandt, Bernd|Montage|0.35|OVR|1.1|Schuh Rechts: Widerstand zu hoch / Schuh "
        "Links: Widerstand zu hoch|halle-2",
        "10:00|ma14||0.35|OVR|1.1|Die Taste wurde zuwenig lange gedrückt!|",
        "11:00|Besucher Müller (Gast)|Montage|0.35|OVR|1.1|Handgelenkband: Widerstand zu hoch|",
        "15:00|Fuchs, Frank|Lager|0.35|OVR|1.1|Schuh Rechts: Widerstand zu hoch|"};
    QStringList fehlmessungenQuellmark = fehlmessungenOhne;
    fehlmessungenQuellmark[2] =
        "10:00|Eck, Erika|Montage|0.35|OVR|1.1|Die Taste wurde zuwenig lange gedrückt!|";

    QTest::newRow("INAKTIV zählt")
        << "Muster GmbH"
        << QStringList{"Montage 4 2 1 1", "Lager 2 1 0 1", "Empfang 0 0 0 0", "Gesamt 6 3 1 2"}
        << QStringList{"Montage|Brandt, Bernd|nicht bestanden|31.10.2026",
                       "Montage|Dorn, Dieter|nicht gemessen|nie",
                       "Lager|Graf, Gert|nicht gemessen|23.10.2026"}
        << fehlmessungenOhne;
    QTest::newRow("GELOESCHT zählt")
        << "Quellmark AG"
        << QStringList{"Montage 5 2 2 1", "Lager 1 1 0 0", "Archiv 1 0 0 1", "Empfang 0 0 0 0",
                       "Gesamt 7 3 2 2"}
        << QStringList{"Montage|Brandt, Bernd|nicht bestanden|31.10.2026",
                       "Montage|Dorn, Dieter|nicht gemessen|nie",
                       "Montage|Eck, Erika|nicht bestanden|nie",
                       "Archiv|Horn, Hans|nicht gemessen|nie"}
        << fehlmessungenQuellmark;
}

void TstBericht::tagesbericht()
{
    QFETCH(QString, mandant);
    QFETCH(QStringList, abteilungen);
    QFETCH(QStringList, ausnahmen);
    QFETCH(QStringList, fehlmessungen);

    TBerichtsdaten daten(*FVerbindung);
    const TTagesbericht bericht = TagesberichtErstellen(daten, mandant, kTag);

    QStringList zahlen;
    for (const TAbteilungszahlen& z : bericht.Abteilungen + QList{bericht.Summe})
        zahlen << QString("%1 %2 %3 %4 %5")
                      .arg(z.Abteilung)
                      .arg(z.Mitarbeiter)
                      .arg(z.Bestanden)
                      .arg(z.Durchgefallen)
                      .arg(z.NichtGemessen);
    QCOMPARE(zahlen, abteilungen);

    QStringList liste;
    for (const TAusnahme& a : bericht.Ausnahmen)
        liste << a.Abteilung + "|" + a.Name + "|" + Text(a.Stand) + "|" + Datum(a.LetzteBestanden);
    QCOMPARE(liste, ausnahmen);

    QStringList fehl;
    for (const TFehlmessung& f : bericht.Fehlmessungen)
        fehl << QStringList{f.Zeit.toString("hh:mm"),
                            f.Name + (f.Gast ? " (Gast)" : ""),
                            f.Abteilung,
                            f.SchuhL,
                            f.SchuhR,
                            f.Armband,
                            f.Gruende.join(" / "),
                            f.Station}
                    .join("|");
    QCOMPARE(fehl, fehlmessungen);
    QCOMPARE(bericht.Gastmessungen, 1);
}

void TstBericht::gruendeWieDieAuswertung_data()
{
    QTest::addColumn<QString>("code");
    for (const char* code : {" 40", " 1", " 255", " -10", " 64", " 0"})
        QTest::newRow(code) << code;
}

// The report decodes a stored code with the station's own function: the same texts the
// measurement screen showed for that result line.
void TstBericht::gruendeWieDieAuswertung()
{
    QFETCH(QString, code);
    TZeilenauswertung auswertung;
    auswertung.CRTrig = 1;
    TMemo memo;
    for (const QChar c : "ERG" + code)
        auswertung.ByteAufnehmen(static_cast<char>(c.unicode()));
    auswertung.Auswerten(1, memo);
    QCOMPARE(auswertung.sMessung_Fehlercode, code);
    QCOMPARE(TZeilenauswertung::GruendeAusFehlercode(auswertung.sMessung_Fehlercode), memo.Zeilen);
}

// Three days: each day counted as the day report counts it, reasons over all failures (guests
// and people off the board included), each employee's record with "OVR" counted, not plotted.
void TstBericht::zeitraum()
{
    TBerichtsdaten daten(*FVerbindung);
    const TZeitraumbericht bericht =
        ZeitraumberichtErstellen(daten, "Muster GmbH", QDate(2026, 10, 31), kTag);

    QStringList tage;
    for (const TTageszahlen& t : bericht.Tage)
        tage << QString("%1 %2 %3 %4")
                    .arg(t.Tag.toString("dd.MM."))
                    .arg(t.Bestanden)
                    .arg(t.Durchgefallen)
                    .arg(t.NichtGemessen);
    QCOMPARE(tage, (QStringList{"31.10. 1 0 5", "01.11. 0 1 5", "02.11. 3 1 2"}));

    QStringList gruende;
    for (const TGrundzahl& g : bericht.Gruende)
        gruende << QString("%1 %2").arg(g.Grund).arg(g.Anzahl);
    QCOMPARE(gruende,
             (QStringList{"Schuh Links: Widerstand zu hoch 3", "Schuh Rechts: Widerstand zu hoch 2",
                          "Die Taste wurde zuwenig lange gedrückt! 1",
                          "Handgelenkband: Widerstand zu hoch 1"}));

    QStringList mitarbeiter;
    QStringList verlauf;
    for (const TMitarbeiterzeile& m : bericht.Mitarbeiter) {
        mitarbeiter << QString("%1 %2 %3 %4 %5 %6")
                           .arg(m.Name)
                           .arg(m.Messungen)
                           .arg(m.Bestanden)
                           .arg(m.Durchgefallen)
                           .arg(Datum(m.LetzteBestanden))
                           .arg(m.NichtNumerisch);
        for (const TVerlaufspunkt& p : m.Verlauf)
            verlauf << QString("%1 %2 %3 %4")
                           .arg(p.SchuhL.value_or(-1))
                           .arg(p.SchuhR.value_or(-1))
                           .arg(p.Armband.value_or(-1))
                           .arg(p.TextR);
    }
    QCOMPARE(mitarbeiter,
             (QStringList{"Adler, Anna 1 1 0 02.11.2026 1", "Brandt, Bernd 2 1 1 31.10.2026 2",
                          "Conrad, Clara 2 1 1 02.11.2026 2", "Dorn, Dieter 1 0 1 nie 1",
                          "Fuchs, Frank 2 1 1 02.11.2026 2", "Graf, Gert 0 0 0 23.10.2026 0"}));
    QCOMPARE(verlauf.size(), 8);
    QCOMPARE(verlauf.constFirst(), QString("0.35 -1 1.1  OVR"));
}

void TstBericht::nurLesen()
{
    TDBAbfrage aendern(*FVerbindung, "quAendern");
    aendern.SQL().Add("UPDATE ESD_MESSWERTE_SCHUHE SET MESSWERTE_OK = 'J'");
    QVERIFY_THROWS_EXCEPTION(EDatenbankfehler, aendern.ExecSQL());
    aendern.SQL().Clear();
    aendern.SQL().Add("SELECT PASSWORT FROM MITARBEITER");
    QVERIFY_THROWS_EXCEPTION(EDatenbankfehler, aendern.Open());
}

// Every table of the day report, written and read back: the same header, rows and numbers.
void TstBericht::csvZurueckgelesen()
{
    TBerichtsdaten daten(*FVerbindung);
    const QList<TTabelle> tabellen = Tabellen(TagesberichtErstellen(daten, "Muster GmbH", kTag));
    QTemporaryDir ziel;
    QVERIFY(ziel.isValid());
    for (const TTabelle& tabelle : tabellen) {
        QFile datei(Csv::Schreiben(tabelle, ziel.path()));
        QVERIFY(datei.open(QIODevice::ReadOnly));
        QCOMPARE(CsvLesen(datei.readAll()), QList<QStringList>{tabelle.Spalten} + tabelle.Zeilen);
    }
    // German notation: the spreadsheet reads these as numbers.
    QCOMPARE(tabellen.at(0).Zeilen.constLast(), (QStringList{"Gesamt", "6", "3", "1", "2"}));
    QCOMPARE(tabellen.at(2).Zeilen.at(0).mid(4, 3), (QStringList{"0,35", "OVR", "1,1"}));
}

void TstBericht::csvOhneFormeln_data()
{
    QTest::addColumn<QString>("zelle");
    QTest::addColumn<QString>("gelesen");
    QTest::newRow("Formel") << "=HYPERLINK(\"x\")"
                            << "'=HYPERLINK(\"x\")";
    QTest::newRow("Plus") << "+1+1"
                          << "'+1+1";
    QTest::newRow("Minus-Text") << "-Meier"
                                << "'-Meier";
    QTest::newRow("At") << "@SUMME(A1)"
                        << "'@SUMME(A1)";
    QTest::newRow("Tabulator") << "\t=1"
                               << "'\t=1";
    QTest::newRow("negative Zahl") << "-0,3"
                                   << "-0,3";
    QTest::newRow("Zahl") << "12"
                          << "12";
    QTest::newRow("Name") << "Gäst=1"
                          << "Gäst=1";
}

// A name that begins like a formula reaches the spreadsheet as text, numbers stay numbers.
void TstBericht::csvOhneFormeln()
{
    QFETCH(QString, zelle);
    QFETCH(QString, gelesen);
    const TTabelle tabelle{"t", "T", {"Name"}, {{zelle}}};
    QCOMPARE(CsvLesen(Csv::Text(tabelle)), (QList<QStringList>{{"Name"}, {gelesen}}));
}

void TstBericht::boeseNamenImCsv()
{
    TDBVerbindung verbindung;
    FServer.Verbinde(verbindung, kBoeseDatenbank);
    TBerichtsdaten daten(verbindung);
    const QList<TTabelle> tabellen = Tabellen(TagesberichtErstellen(daten, QString(), kTag));
    QTemporaryDir ziel;
    QList<QList<QStringList>> gelesen;
    for (const TTabelle& tabelle : tabellen) {
        QFile datei(Csv::Schreiben(tabelle, ziel.path()));
        QVERIFY(datei.open(QIODevice::ReadOnly));
        gelesen << CsvLesen(datei.readAll());
    }
    QCOMPARE(gelesen.at(1).at(1).mid(0, 2),
             (QStringList{"Prüf;stand", kBoeserNachname + ", " + kBoeserVorname}));
    QCOMPARE(gelesen.at(2).at(1).at(1), kBoeserGast);
}

void TstBericht::pdfText()
{
    TBerichtsdaten daten(*FVerbindung);
    const TTagesbericht bericht = TagesberichtErstellen(daten, "Muster GmbH", kTag);
    QTemporaryDir ziel;
    const QString pfad = ziel.filePath("tag.pdf");
    TagesberichtPdf(bericht, kErstellung, pfad);
    const QString text = PdfText(pfad);
    for (const QString erwartet :
         {"Tagesbericht ESD-Prüfung", "Mandant: Muster GmbH", "Zeitraum: 02.11.2026",
          "Erstellt: 03.11.2026 06:30:00", "Programmversion: teststation-bericht 9.8",
          "Seite 1 von 1",
          "6 Mitarbeiter auf der Tafel: 3 bestanden, 1 nicht bestanden, 2 nicht gemessen",
          "Dorn, Dieter", "Graf, Gert", "23.10.2026 09:00", "Schuh Links: Widerstand zu hoch",
          "halle-2"})
        QVERIFY2(text.simplified().contains(erwartet),
                 qPrintable(erwartet + " fehlt in:\n" + text));
}

void TstBericht::boeseNamenImPdf()
{
    TDBVerbindung verbindung;
    FServer.Verbinde(verbindung, kBoeseDatenbank);
    TBerichtsdaten daten(verbindung);
    QTemporaryDir ziel;
    const QString pfad = ziel.filePath("boese.pdf");
    TagesberichtPdf(TagesberichtErstellen(daten, QString(), kTag), kErstellung, pfad);
    const QString text = PdfText(pfad);
    // A line break in a name stays a line break; every line of it arrives whole.
    const QStringList teile = (kBoeserNachname + ", " + kBoeserVorname + "\n" + kBoeserGast)
                                  .split(QRegularExpression("[\r\n]+"));
    for (const QString& teil : teile)
        QVERIFY2(text.contains(teil), qPrintable(teil + " fehlt in:\n" + text));
}

// The chart's legend and day labels come from Qt Charts drawn into the page.
void TstBericht::zeitraumPdf()
{
    TBerichtsdaten daten(*FVerbindung);
    const TZeitraumbericht bericht =
        ZeitraumberichtErstellen(daten, "Muster GmbH", QDate(2026, 10, 31), kTag);
    QTemporaryDir ziel;
    const QString pfad = ziel.filePath("zeitraum.pdf");
    ZeitraumberichtPdf(bericht, kErstellung, pfad);
    const QString text = PdfText(pfad).simplified();
    for (const QString erwartet :
         {"Zeitraumbericht ESD-Prüfung", "Mandant: Muster GmbH",
          "Zeitraum: 31.10.2026 bis 02.11.2026", "Programmversion: teststation-bericht 9.8",
          "Summe über alle Tage: 4 bestanden, 2 nicht bestanden, 12 nicht gemessen",
          "Schuh Links: Widerstand zu hoch 3", "Brandt, Bernd", "31.10.2026 10:00", "01.11.",
          "Nicht gemessen"})
        QVERIFY2(text.contains(erwartet), qPrintable(erwartet + " fehlt in:\n" + text));
}

// The tool's answers: files written as the report user, or a German message and the exit status
// of the other tools.
void TstBericht::programm_data()
{
    QTest::addColumn<QString>("verzeichnis"); // "-": a fresh temporary one
    QTest::addColumn<bool>("erreichbar");
    QTest::addColumn<QString>("benutzer");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("meldung");
    const QString bericht = "teststation-bericht";
    QTest::newRow("geschrieben") << "-" << true << bericht << 0 << "";
    QTest::newRow("kein Verzeichnis")
        << "/gibt/es/nicht" << true << bericht << 1 << "gibt es nicht";
    QTest::newRow("Server fort") << "-" << false << bericht << 3 << "Keine Verbindung";
    // Like the station's user: the board, but not the measurements.
    QTest::newRow("ohne Leserecht")
        << "-" << true << "tst_bericht_tafel" << 3 << "Keine Leserechte";
}

void TstBericht::programm()
{
    QFETCH(QString, verzeichnis);
    QFETCH(bool, erreichbar);
    QFETCH(QString, benutzer);
    QFETCH(int, status);
    QFETCH(QString, meldung);
    QTemporaryDir ziel;
    if (verzeichnis == "-")
        verzeichnis = ziel.path();
    // A port nobody listens on: the server's own, plus one.
    const int port = erreichbar ? FServer.Port() : FServer.Port() + 1;
    QProcess programm;
    programm.start(BERICHT_PROGRAMM, {"--hostname", "127.0.0.1", "--port", QString::number(port),
                                      "--username", benutzer, "--passwort-stdin", "--datenbank",
                                      kDatenbank, "--tag", "2026-11-02", "-o", verzeichnis});
    programm.write("lesen\n");
    programm.closeWriteChannel();
    QVERIFY(programm.waitForFinished(60000));
    const QString fehler = QString::fromUtf8(programm.readAllStandardError());
    QCOMPARE(programm.exitCode(), status);
    QVERIFY2(fehler.contains(meldung), qPrintable(fehler));
    if (status == 0)
        QCOMPARE(QDir(verzeichnis).entryList(QDir::Files).size(), 4);
}

QTEST_MAIN(TstBericht)
#include "tst_bericht.moc"
