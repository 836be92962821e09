// The short confirmation window: texts, display time, see-through background.
#include "uFKurzmeldung.h"
#include "uMeldung.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TstKurzmeldung : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void zeigtSichEineSekundeLang();
    void zweiteMeldungBeginntVonVorn();
    void hintergrundLaesstTippsDurch();
    void meldungenDesProgrammsErreichenDasFenster();

private:
    QString Text(const char* name) const
    {
        return FFenster->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

    std::unique_ptr<TFKurzmeldung> FFenster;
};

void TstKurzmeldung::init()
{
    FFenster = std::make_unique<TFKurzmeldung>();
}

void TstKurzmeldung::cleanup()
{
    FFenster.reset();
}

void TstKurzmeldung::zeigtSichEineSekundeLang()
{
    QVERIFY(!FFenster->isVisible());
    FFenster->Start(u"Gespeichert!"_s, QString());
    QVERIFY(FFenster->isVisible());
    QCOMPARE(Text("lbl0"), u"Gespeichert!"_s);
    QCOMPARE(Text("lbl1"), QString());
    QCOMPARE(qRound(FFenster->windowOpacity() * 255), 230);
    QVERIFY(FFenster->Timer1.isActive());
    QCOMPARE(FFenster->Timer1.interval(), 1000);
    QCOMPARE(FFenster->size(), QSize(309, 119));

    FFenster->Timer1Timer();
    QVERIFY(!FFenster->isVisible());
    QVERIFY(!FFenster->Timer1.isActive());
}

void TstKurzmeldung::zweiteMeldungBeginntVonVorn()
{
    FFenster->Start(u"Erste"_s, u"eins"_s);
    QTest::qWait(500);
    FFenster->Start(u"Zweite"_s, u"zwei"_s);
    QCOMPARE(Text("lbl0"), u"Zweite"_s);
    QCOMPARE(Text("lbl1"), u"zwei"_s);
    // The countdown of the first one no longer counts.
    QVERIFY2(FFenster->Timer1.remainingTime() > 900,
             qPrintable(QString::number(FFenster->Timer1.remainingTime())));
    QTRY_VERIFY_WITH_TIMEOUT(!FFenster->isVisible(), 3000);
}

void TstKurzmeldung::hintergrundLaesstTippsDurch()
{
    // Only card and shadow belong to the window; the corners and the border around the card
    // are not part of it.
    const QRegion form = FFenster->mask();
    QVERIFY(form.contains(QPoint(150, 50)));  // card
    QVERIFY(form.contains(QPoint(290, 105))); // shadow beyond the card's corner
    QVERIFY(!form.contains(QPoint(2, 2)));
    QVERIFY(!form.contains(QPoint(300, 60)));
    QVERIFY(!form.contains(QPoint(5, 112)));
}

void TstKurzmeldung::meldungenDesProgrammsErreichenDasFenster()
{
    Meldung::Kurz(u"Gespeichert!"_s, QString());
    QVERIFY(FFenster->isVisible());
    QCOMPARE(Text("lbl0"), u"Gespeichert!"_s);
}

QTEST_MAIN(TstKurzmeldung)
#include "tst_kurzmeldung.moc"
