// The error overlay: texts, replacement, the close mark and the see-through background.
#include "uFehlermeldung.h"

#include <QLabel>
#include <QTest>

class TstFehlermeldung : public QObject
{
    Q_OBJECT

private slots:
    void init() { FFenster = std::make_unique<TFehlermeldung>(); }
    void cleanup() { FFenster.reset(); }
    void zeigtDieTexteUndBleibt();
    void neueMeldungErsetztDieTexte();
    void nurDieKarteNimmtTipps();
    void schliesskreuzVerbirgt();

private:
    QString Text(const char* name) const
    {
        return FFenster->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

    std::unique_ptr<TFehlermeldung> FFenster;
};

void TstFehlermeldung::zeigtDieTexteUndBleibt()
{
    FFenster->Start("Text eins", "Text zwei", "2013");
    QVERIFY(FFenster->isVisible());
    QCOMPARE(Text("lbl0"), QString("Es ist ein Fehler aufgetreten!"));
    QCOMPARE(Text("lblText1"), QString("Text eins"));
    QCOMPARE(Text("lblText2"), QString("Text zwei"));
    QCOMPARE(Text("Label1"), QString("Fehlercode:"));
    QCOMPARE(Text("lblErrorcode"), QString("2013"));
    QCOMPARE(qRound(FFenster->windowOpacity() * 255), 240);
    QCOMPARE(FFenster->size(), QSize(1920, 1080));
    QVERIFY(FFenster->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // No timeout: it waits for the tap.
    QTest::qWait(50);
    QVERIFY(FFenster->isVisible());
}

void TstFehlermeldung::neueMeldungErsetztDieTexte()
{
    FFenster->Start("Erste", "Erste Zeile zwei", "1");
    FFenster->Start("Zweite", "Zweite Zeile zwei", QString());
    QVERIFY(FFenster->isVisible());
    QCOMPARE(Text("lblText1"), QString("Zweite"));
    QCOMPARE(Text("lblText2"), QString("Zweite Zeile zwei"));
    QCOMPARE(Text("lblErrorcode"), QString());
    QCOMPARE(Text("Label1"), QString("Fehlercode:"));
}

void TstFehlermeldung::nurDieKarteNimmtTipps()
{
    FFenster->Start("a", "b", QString());
    const QRegion maske = FFenster->mask();
    QCOMPARE(maske, TFehlermeldung::Kartenbereich());
    // Card, its shadow edge, and places outside that belong to the windows below.
    QVERIFY(maske.contains(QPoint(720, 448)));
    QVERIFY(maske.contains(QPoint(1315, 700)));
    QVERIFY(!maske.contains(QPoint(100, 100)));
    QVERIFY(!maske.contains(QPoint(1835, 20))); // the measurement screen's close picture
    QVERIFY(!maske.contains(QPoint(725, 700))); // left of the shadow, below the card
}

void TstFehlermeldung::schliesskreuzVerbirgt()
{
    FFenster->Start("a", "b", QString());
    auto* kreuz = FFenster->findChild<QWidget*>("Image1");
    QVERIFY(kreuz);
    QVERIFY(kreuz->isVisible());
    QTest::mouseClick(kreuz, Qt::LeftButton);
    QVERIFY(!FFenster->isVisible());
    // A double tap on the hidden overlay changes nothing, and a new message shows it again.
    QTest::mouseDClick(kreuz, Qt::LeftButton);
    FFenster->Start("c", "d", QString());
    QVERIFY(FFenster->isVisible());
}

QTEST_MAIN(TstFehlermeldung)
#include "tst_fehlermeldung.moc"
