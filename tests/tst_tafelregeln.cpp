// Plain rules of the employee board: statements by tenant, tile colour by calendar day, pages,
// photo decoding at tile size.
#include "Bilder.h"
#include "Tafel.h"
#include "Testbilder.h"
#include "uFehler.h"

#include <QImage>
#include <QTest>

class TstTafelregeln : public QObject
{
    Q_OBJECT

private slots:
    void anweisungenNachMandant_data();
    void anweisungenNachMandant();
    void amTagGemessen_data();
    void amTagGemessen();
    void seitenzahl();
    void fotoInKachelgroesse();
    void keinJpeg_data();
    void keinJpeg();
};

namespace {

QImage Testbild(QSize groesse)
{
    QImage bild(groesse, QImage::Format_RGB32);
    bild.fill(QColor(200, 120, 40));
    return bild;
}

} // namespace

void TstTafelregeln::anweisungenNachMandant_data()
{
    QTest::addColumn<QString>("mandant");
    QTest::addColumn<QString>("abteilungen");
    QTest::addColumn<QString>("mitarbeiter");

    const QString abtGeloescht =
        "SELECT * FROM VORGABEN_ABTEILUNG WHERE GELOESCHT = \"N\" AND ABTEILUNG_ID > 1";
    const QString abtInaktiv =
        "SELECT * FROM VORGABEN_ABTEILUNG WHERE INAKTIV = \"N\" AND ABTEILUNG_ID > 1";
    const QString maGeloescht =
        "SELECT * FROM MITARBEITER INNER JOIN (KONTAKTDATEN, VORGABEN_ABTEILUNG) ON            "
        "        MITARBEITER.KONTAKTDATEN_ID = KONTAKTDATEN.KONTAKTDATEN_ID AND "
        "MITARBEITER.ABTEILUNG_ID    = VORGABEN_ABTEILUNG.ABTEILUNG_ID AND MITARBEITER.GELOESCHT  "
        "     = \"N\"        AND MITARBEITER.ESD_MESSUNG     = \"J\"        AND "
        "VORGABEN_ABTEILUNG.ABTEILUNG      = :Abteilung AND MITARBEITER_ID > \"1\"               "
        "  ORDER BY NACHNAME";
    const QString maInaktiv =
        "SELECT * FROM MITARBEITER INNER JOIN (KONTAKTDATEN, VORGABEN_ABTEILUNG) ON            "
        "        MITARBEITER.KONTAKTDATEN_ID = KONTAKTDATEN.KONTAKTDATEN_ID AND "
        "MITARBEITER.ABTEILUNG_ID    = VORGABEN_ABTEILUNG.ABTEILUNG_ID AND MITARBEITER.INAKTIV    "
        "     = \"N\"        AND MITARBEITER.ESD_MESSUNG     = \"J\"        AND "
        "VORGABEN_ABTEILUNG.ABTEILUNG      = :Abteilung AND MITARBEITER_ID > \"1\"               "
        "  ORDER BY NACHNAME";

    QTest::newRow("Quellmark AG") << "Quellmark AG" << abtGeloescht << maGeloescht;
    QTest::newRow("leer") << "" << abtInaktiv << maInaktiv;
    QTest::newRow("andere") << "Muster GmbH" << abtInaktiv << maInaktiv;
    QTest::newRow("klein") << "quellmark ag" << abtInaktiv << maInaktiv;
    QTest::newRow("mit blank") << "Quellmark AG " << abtInaktiv << maInaktiv;
}

void TstTafelregeln::anweisungenNachMandant()
{
    QFETCH(QString, mandant);
    QFETCH(QString, abteilungen);
    QFETCH(QString, mitarbeiter);
    QCOMPARE(Tafel::AbteilungenSql(mandant), abteilungen);
    QCOMPARE(Tafel::MitarbeiterSql(mandant), mitarbeiter);
}

void TstTafelregeln::amTagGemessen_data()
{
    QTest::addColumn<QString>("datum");
    QTest::addColumn<bool>("gruen");
    QTest::newRow("heute morgen") << "10.12.2026 08:15:00" << true;
    QTest::newRow("heute mitternacht") << "10.12.2026" << true;
    QTest::newRow("heute spaet") << "10.12.2026 23:59:59" << true;
    QTest::newRow("gestern spaet") << "09.12.2026 23:59:59" << false;
    QTest::newRow("morgen frueh") << "11.12.2026 00:00:01" << false;
    QTest::newRow("vor einem jahr") << "10.12.2025 08:15:00" << false;
    QTest::newRow("leer") << "" << false;
    QTest::newRow("kein datum") << "unbekannt" << false;
    QTest::newRow("unmoeglicher tag") << "31.02.2026 08:00:00" << false;
    QTest::newRow("unmoegliche zeit") << "10.12.2026 24:00:00" << false;
    QTest::newRow("ohne sekunden") << "10.12.2026 08:15" << false;
    QTest::newRow("mit blanks") << " 10.12.2026 08:15:00 " << true;
    QTest::newRow("falsche trenner") << "10-12-2026 08:15:00" << false;
    QTest::newRow("buchstabe im jahr") << "10.12.20x6" << false;
}

void TstTafelregeln::amTagGemessen()
{
    QFETCH(QString, datum);
    QFETCH(bool, gruen);
    QCOMPARE(Tafel::AmTagGemessen(datum, QDate(2026, 12, 10)), gruen);
}

void TstTafelregeln::seitenzahl()
{
    const QList<std::pair<int, int>> faelle{{0, 1}, {1, 1}, {24, 1}, {25, 2}, {48, 2}, {49, 3}};
    for (const auto& [anzahl, seiten] : faelle)
        QCOMPARE(Tafel::Seitenzahl(anzahl), seiten);
}

void TstTafelregeln::fotoInKachelgroesse()
{
    // A large portrait comes out at the tile's size, never at its own.
    const QByteArray jpeg = Kodiert(Testbild({600, 750}), "JPG");
    const QImage bild = Bilder::DekodiereFoto(jpeg, {180, 225});
    QCOMPARE(bild.size(), QSize(180, 225));
    const QColor mitte = bild.pixelColor(90, 112);
    QVERIFY(qAbs(mitte.red() - 200) < 8 && qAbs(mitte.green() - 120) < 8);
}

void TstTafelregeln::keinJpeg_data()
{
    QTest::addColumn<QByteArray>("daten");
    QTest::newRow("png") << Kodiert(Testbild({60, 75}), "PNG");
    QTest::newRow("text") << QByteArray("kein Bild");
    QTest::newRow("leer") << QByteArray();
}

void TstTafelregeln::keinJpeg()
{
    QFETCH(QByteArray, daten);
    try {
        Bilder::DekodiereFoto(daten, {180, 225});
        QFAIL("no error for data that is not JPEG");
    } catch (const EFehler& fehler) {
        QCOMPARE(fehler.TypName(), QStringLiteral("EJPEGFehler"));
    }
}

QTEST_GUILESS_MAIN(TstTafelregeln)
#include "tst_tafelregeln.moc"
