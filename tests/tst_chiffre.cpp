// Deciphering and enciphering of the settings values, and the integrity value over them.
#include "Entschluesseln.h"
#include "Integritaet.h"

#include <QTest>

class TstChiffre : public QObject
{
    Q_OBJECT

private slots:
    void entschluesseln_data();
    void entschluesseln();
    void hinUndZurueck_data();
    void hinUndZurueck();
    void schluesselstromHaengtVonAllemAb();
    void fuehrendesBomBleibt_data();
    void fuehrendesBomBleibt();
    void integritaetswert();
};

void TstChiffre::entschluesseln_data()
{
    QTest::addColumn<QString>("geheim");
    QTest::addColumn<QString>("klar");
    // Known answer: "Prüfstand Süd" enciphered by the rule, computed outside this code.
    QTest::newRow("bekannt") << "E7DE572B5D5300387DE8C2D0859266" << QStringLiteral("Prüfstand Süd");
    QTest::newRow("kleinbuchstaben")
        << "e7de572b5d5300387de8c2d0859266" << QStringLiteral("Prüfstand Süd");
    QTest::newRow("gemischt") << "e7De572B5d5300387dE8c2d0859266"
                              << QStringLiteral("Prüfstand Süd");
    QTest::newRow("root") << "C5CF0826"
                          << "root";
    QTest::newRow("leer") << ""
                          << "";
    QTest::newRow("eine ziffer") << "A"
                                 << "";
    QTest::newRow("ungerade: letzte ignoriert") << "C5CF08267"
                                                << "root";
    QTest::newRow("leerzeichen im paar") << "C5 F0826"
                                         << "";
    QTest::newRow("vorzeichen") << "-5CF0826"
                                << "";
    QTest::newRow("nicht hex hinten") << "C5CF08ZZ"
                                      << "";
    QTest::newRow("umlaut im paar") << QStringLiteral("C5ä0") << "";
    QTest::newRow("umlaut als letzte ungerade ziffer") << QStringLiteral("C5ä") << "r";
    // 00 deciphers to 0xB7: a lone continuation byte, not UTF-8.
    QTest::newRow("kein utf8") << "00" << QString(QChar(0xFFFD));
}

void TstChiffre::entschluesseln()
{
    QFETCH(QString, geheim);
    QFETCH(QString, klar);
    QCOMPARE(Entschluesseln(geheim, kStartSchluessel), klar);
}

void TstChiffre::hinUndZurueck_data()
{
    QTest::addColumn<QString>("klar");
    QTest::newRow("ascii") << "db.example.internal";
    QTest::newRow("umlaute") << QStringLiteral("Größe Übung ÄÖÜäöüß");
    QTest::newRow("zeichen") << QStringLiteral("pa\"ss'wo\\rd;=[]");
    QTest::newRow("ausserhalb bmp") << QStringLiteral("Gruß 😀 €");
    QTest::newRow("leer") << "";
}

void TstChiffre::hinUndZurueck()
{
    QFETCH(QString, klar);
    const QString geheim = Verschluesseln(klar, kStartSchluessel);
    QCOMPARE(geheim.size(), 2 * klar.toUtf8().size());
    QCOMPARE(geheim, geheim.toUpper());
    QCOMPARE(Entschluesseln(geheim, kStartSchluessel), klar);
}

void TstChiffre::schluesselstromHaengtVonAllemAb()
{
    const QString geheim = Verschluesseln(QStringLiteral("abcdefgh"), kStartSchluessel);
    QString veraendert = geheim;
    veraendert[6] = geheim[6] == u'0' ? u'1' : u'0'; // fourth byte
    const QString klar = Entschluesseln(veraendert, kStartSchluessel);
    QCOMPARE(klar.left(3), QStringLiteral("abc"));
    for (int i = 3; i < 8; ++i)
        QVERIFY2(klar[i] != QStringLiteral("abcdefgh")[i], qPrintable(QString::number(i)));
}

void TstChiffre::fuehrendesBomBleibt_data()
{
    const QString bom(QChar(0xFEFF));
    QTest::addColumn<QString>("klar");
    QTest::newRow("vor dem wert") << bom + "geheim";
    QTest::newRow("allein") << bom;
    QTest::newRow("doppelt") << bom + bom + "x";
}

void TstChiffre::fuehrendesBomBleibt()
{
    // A value pasted from a file saved with a byte-order mark starts with U+FEFF; it is part of
    // the value and must come back.
    QFETCH(QString, klar);
    QCOMPARE(Entschluesseln(Verschluesseln(klar, kStartSchluessel), kStartSchluessel), klar);
}

void TstChiffre::integritaetswert()
{
    const QString user = QStringLiteral("C5CF0826");           // root
    const QString passwort = QStringLiteral("D0F0666BC0E5");   // geheim
    const QString host = QStringLiteral("8658319DAA8A1BEC2B"); // 127.0.0.1
    // Fixed, since every settings file in the field carries it: changing the salt breaks them.
    QCOMPARE(Integritaetswert(user, passwort, host),
             QStringLiteral("C5C0CE10FBEB0E5336805D5021073516"));
    // Bound to the enciphered texts as stored: a case change alone gives another value.
    QVERIFY(Integritaetswert(user.toLower(), passwort, host) !=
            Integritaetswert(user, passwort, host));
}

QTEST_APPLESS_MAIN(TstChiffre)
#include "tst_chiffre.moc"
