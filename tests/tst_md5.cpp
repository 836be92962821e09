// MD5 digests and the Windows-1252 conversion they are computed over.
#include "AnsiCodePage.h"
#include "ToolHashMD5.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTest>

class TstMD5 : public QObject
{
    Q_OBJECT

private slots:
    void bekannteWerte_data();
    void bekannteWerte();
    void vergleichMitQt();
    void hexIstImmerGross();
    void ansi_data();
    void ansi();
    void ansiHinUndZurueck();
};

static QByteArray Hex(const QByteArray& daten)
{
    return MD5DigestToHex(MD5String(daten));
}

void TstMD5::bekannteWerte_data()
{
    QTest::addColumn<QByteArray>("eingabe");
    QTest::addColumn<QByteArray>("digest");
    // RFC 1321, appendix A.5
    QTest::newRow("leer") << QByteArray() << QByteArray("D41D8CD98F00B204E9800998ECF8427E");
    QTest::newRow("a") << QByteArray("a") << QByteArray("0CC175B9C0F1B6A831C399E269772661");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray("900150983CD24FB0D6963F7D28E17F72");
    QTest::newRow("message digest")
        << QByteArray("message digest") << QByteArray("F96B697D7CB7938D525A2F31AAF161D0");
    QTest::newRow("alphabet") << QByteArray("abcdefghijklmnopqrstuvwxyz")
                              << QByteArray("C3FCD3D76192E4007DFB496CCA67E13B");
    QTest::newRow("alphanumerisch")
        << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
        << QByteArray("D174AB98D277D9F5A5611C2C9F419D9F");
    QTest::newRow("ziffern") << QByteArray("1234567890").repeated(8)
                             << QByteArray("57EDF4A22BE3C955AC49DA2E2107B67A");
    // Padding boundaries: the length field fits the last block up to 55 bytes.
    QTest::newRow("55") << QByteArray(55, 'a') << QByteArray("EF1772B6DFF9A122358552954AD0DF65");
    QTest::newRow("56") << QByteArray(56, 'a') << QByteArray("3B0C8AC703F828B04C6C197006D17218");
    QTest::newRow("63") << QByteArray(63, 'a') << QByteArray("B06521F39153D618550606BE297466D5");
    QTest::newRow("64") << QByteArray(64, 'a') << QByteArray("014842D480B571495A4A0363793F7367");
    QTest::newRow("65") << QByteArray(65, 'a') << QByteArray("C743A45E0D2E6A95CB859ADAE0248435");
    // A zero byte is data: the digest covers the whole length.
    QTest::newRow("nullbyte") << QByteArray("a\0b", 3)
                              << QCryptographicHash::hash(QByteArray("a\0b", 3),
                                                          QCryptographicHash::Md5)
                                     .toHex()
                                     .toUpper();
}

void TstMD5::bekannteWerte()
{
    QFETCH(QByteArray, eingabe);
    QFETCH(QByteArray, digest);
    QCOMPARE(Hex(eingabe), digest);
}

void TstMD5::vergleichMitQt()
{
    QRandomGenerator zufall(20261210);
    for (int runde = 0; runde < 500; ++runde) {
        QByteArray daten(zufall.bounded(300), '\0');
        for (char& b : daten)
            b = static_cast<char>(zufall.bounded(256));
        QCOMPARE(Hex(daten),
                 QCryptographicHash::hash(daten, QCryptographicHash::Md5).toHex().toUpper());
    }
}

void TstMD5::hexIstImmerGross()
{
    const QString hex = MD5HexVonText(QStringLiteral("Teststation"));
    QCOMPARE(hex.size(), 32);
    QVERIFY(!hex.contains(QRegularExpression(QStringLiteral("[^0-9A-F]"))));
    QVERIFY(hex != MD5HexVonText(QStringLiteral("teststation")));
    // The text is digested as Windows-1252: "ä" is the one byte E4.
    QCOMPARE(MD5HexVonText(QStringLiteral("ä")), QString::fromLatin1(Hex("\xE4")));
}

void TstMD5::ansi_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("Abc 123") << QByteArray("Abc 123");
    QTest::newRow("umlaute") << QStringLiteral("äöüÄÖÜß")
                             << QByteArray("\xE4\xF6\xFC\xC4\xD6\xDC\xDF");
    QTest::newRow("euro und anfuehrung")
        << QStringLiteral("€„“–") << QByteArray("\x80\x84\x93\x96");
    QTest::newRow("paragraph") << QStringLiteral("§") << QByteArray("\xA7");
    QTest::newRow("ohne abbildung") << QStringLiteral("aāb") << QByteArray("a?b");
    QTest::newRow("ausserhalb bmp") << QStringLiteral("x😀y") << QByteArray("x?y");
    QTest::newRow("c1 steuerzeichen") << QStringLiteral("\u0081\u009D") << QByteArray("\x81\x9D");
}

void TstMD5::ansi()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ZuAnsi(text), bytes);
}

void TstMD5::ansiHinUndZurueck()
{
    QByteArray alle(256, '\0');
    for (int i = 0; i < 256; ++i)
        alle[i] = static_cast<char>(i);
    QCOMPARE(ZuAnsi(VonAnsi(alle)), alle);
    QCOMPARE(VonAnsi("\x80\x9F"), QStringLiteral("€Ÿ"));
}

QTEST_APPLESS_MAIN(TstMD5)
#include "tst_md5.moc"
