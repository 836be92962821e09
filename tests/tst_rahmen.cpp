// The main window's frame on Qt's offscreen platform: app bar and keys, gestures drawn on the
// window, the close question and the uniform scaling to other screen sizes.
#include "Bedienelemente.h"
#include "Bilder.h"
#include "EinstellungsDatei.h"
#include "Fensterset.h"
#include "GestenFilter.h"
#include "MeldungsProtokoll.h"
#include "Meldungstexte.h"
#include "Start.h"
#include "TouchKeyboard.h"
#include "uFDM.h"
#include "uFMain.h"
#include "uMessung.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kFrage = QStringLiteral("Wollen Sie das Programm wirklich beenden?");

// Mouse points every few pixels along the corners given.
QList<QPoint> Strich(const QList<QPoint>& ecken)
{
    QList<QPoint> punkte{ecken.first()};
    for (qsizetype i = 1; i < ecken.size(); ++i) {
        const QPoint von = ecken[i - 1];
        const QPoint nach = ecken[i];
        const int schritte = std::max(1, (nach - von).manhattanLength() / 8);
        for (int s = 1; s <= schritte; ++s)
            punkte << von + (nach - von) * s / schritte;
    }
    return punkte;
}

void Zeichne(QWidget* widget, const QList<QPoint>& punkte)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, punkte.first());
    for (const QPoint& p : punkte)
        QTest::mouseMove(widget, p);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, punkte.last());
}

} // namespace

class TstRahmen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void escapeSchaltetAppBar();
    void tastenAnDasFokusfeld();
    void groesseAendern_data();
    void groesseAendern();
    void messungSkaliert_data() { groesseAendern_data(); }
    void messungSkaliert();
    void quadratFragtNachDemEnde();
    void aufAbVerstecktNurDieAppBar();
    void schliessenBildBeendetSofort();

private:
    std::unique_ptr<TFensterset> FFenster;
    TEinstellungsDatei FOhneDatei;
};

void TstRahmen::initTestCase()
{
    BereiteAnwendungVor();
}

void TstRahmen::init()
{
    FFenster = std::make_unique<TFensterset>();
    FMessung->Timer1.stop();
    TMeldungsProtokoll protokoll;
    FDM->SetzeEinstellungsVerzeichnis(FOhneDatei.Verzeichnis());
    FMain->ZeigeVollbild();
    FMain->setGeometry(0, 0, 1920, 1080);
    QCoreApplication::processEvents();
    QCOMPARE(protokoll.Texte(),
             QStringList{Lesefehler("Die Datei " + FOhneDatei.Pfad() + " gibt es nicht.")});
}

void TstRahmen::cleanup()
{
    FFenster.reset();
}

void TstRahmen::escapeSchaltetAppBar()
{
    QVERIFY(FMain->AppBar->isHidden());
    QCOMPARE(FMain->focusWidget(), nullptr);
    QTest::keyClick(FMain, Qt::Key_Escape);
    QVERIFY(FMain->AppBar->isVisible());
    QTest::keyClick(FMain, Qt::Key_Escape);
    QVERIFY(FMain->AppBar->isHidden());

    QTest::keyClick(FMain, Qt::Key_Escape);
    QVERIFY(FMain->AppBar->isVisible());
    QTest::keyClick(FMain, Qt::Key_A);
    QVERIFY(FMain->AppBar->isHidden());
    // Other keys only hide.
    QTest::keyClick(FMain, Qt::Key_B);
    QVERIFY(FMain->AppBar->isHidden());
}

void TstRahmen::tastenAnDasFokusfeld()
{
    // A focused line edit ignores Escape, so the key travels up to the window: it must still
    // toggle once, not once per parent. Letters it takes hide the bar all the same.
    auto* feld = new QLineEdit(FMain->cardWelcome);
    feld->show();
    feld->setFocus();
    QCOMPARE(FMain->focusWidget(), feld);
    QTest::keyClick(feld, Qt::Key_Escape);
    QVERIFY(FMain->AppBar->isVisible());
    QTest::keyClick(feld, Qt::Key_Escape);
    QVERIFY(FMain->AppBar->isHidden());
    QTest::keyClick(feld, Qt::Key_Escape);
    QTest::keyClick(feld, Qt::Key_X);
    QVERIFY(FMain->AppBar->isHidden());
    QCOMPARE(feld->text(), QStringLiteral("x"));
}

void TstRahmen::groesseAendern_data()
{
    QTest::addColumn<QSize>("bildschirm");
    QTest::addColumn<QRect>("buehne");
    QTest::newRow("1920x1080") << QSize(1920, 1080) << QRect(0, 0, 1920, 1080);
    // Not quite 16:9: the height decides and a pixel column stays black.
    QTest::newRow("1366x768") << QSize(1366, 768) << QRect(0, 0, 1365, 768);
    QTest::newRow("3840x2160") << QSize(3840, 2160) << QRect(0, 0, 3840, 2160);
    QTest::newRow("1280x1024") << QSize(1280, 1024) << QRect(0, 152, 1280, 720);
}

void TstRahmen::groesseAendern()
{
    QFETCH(QSize, bildschirm);
    QFETCH(QRect, buehne);
    FMain->resize(bildschirm);
    QCoreApplication::processEvents();
    QCOMPARE(FMain->Buehne()->geometry(), buehne);

    // The app bar follows the real bottom edge at full width.
    const int hoehe = FMain->Massstab().Skaliert(75);
    QCOMPARE(FMain->AppBar->geometry(),
             QRect(0, bildschirm.height() - hoehe, bildschirm.width(), hoehe));
    QCOMPARE(FMain->CloseButton->geometry().right(), bildschirm.width() - 1);

    // Tiles and menu buttons keep their places in proportion: inside the stage, none on
    // another, none cut off.
    const qreal f = FMain->Massstab().Faktor();
    QVERIFY(qAbs(FMain->panUser[0]->width() - 210 * f) <= 1);
    const QRect karte = FMain->panMitarbeiter->rect();
    for (size_t i = 0; i < 24; ++i) {
        QVERIFY(karte.contains(FMain->panUser[i]->geometry()));
        QVERIFY(karte.contains(FMain->lblUser[i]->geometry()));
        QVERIFY(FMain->panUser[i]->geometry().contains(FMain->imgMitarbeiter[i]->geometry()));
        for (size_t j = i + 1; j < 24; ++j)
            QVERIFY(!FMain->panUser[i]->geometry().intersects(FMain->panUser[j]->geometry()));
    }
    const QRect menu = FMain->Card12->rect();
    for (size_t i = 0; i < 12; ++i) {
        QVERIFY(menu.contains(FMain->btnAbteilung_B[i]->geometry()));
        for (size_t j = i + 1; j < 12; ++j)
            QVERIFY(!FMain->btnAbteilung_B[i]->geometry().intersects(
                FMain->btnAbteilung_B[j]->geometry()));
    }
    const QRect mitte = FMain->cpAbteilungen->geometry();
    QVERIFY(FMain->CardPanel->geometry().bottom() < mitte.top());
    QVERIFY(FMain->btnMenu_Abt_Links->mapTo(FMain->Buehne(), QPoint(0, 0)).x() +
                FMain->btnMenu_Abt_Links->width() <=
            mitte.left());
    QVERIFY(FMain->Buehne()->rect().contains(mitte));
    // Fonts scale with the layout.
    QCOMPARE(FMain->lblWelcome->font().pixelSize(), qRound(80 * f));
    // Pictures are drawn at their real size, so they stay sharp.
    QCOMPARE(FMain->Image1->Pixmap().size(),
             FMain->Image1->size() * FMain->Image1->devicePixelRatioF());
}

void TstRahmen::messungSkaliert()
{
    QFETCH(QSize, bildschirm);
    QFETCH(QRect, buehne);
    FMessung->resize(bildschirm);
    FMessung->show();
    QCoreApplication::processEvents();
    const QWidget* stage = FMessung->findChild<QWidget*>(QStringLiteral("Buehne"));
    QCOMPARE(stage->geometry(), buehne);

    const qreal f = qreal(buehne.width()) / 1920;
    QVERIFY(qAbs(FMessung->imgSchuh_L_grau->width() - 249 * f) <= 1);
    QCOMPARE(FMessung->imgSchuh_L_Gut->geometry(), FMessung->imgSchuh_L_grau->geometry());
    QCOMPARE(FMessung->memFehler->font().pixelSize(), qRound(28 * f));
    for (const QWidget* kind : stage->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(stage->rect().contains(kind->geometry()), qPrintable(kind->objectName()));
    QVERIFY(FMessung->panTastatur->rect().contains(FMessung->TouchKeyboard1->geometry()));
    QVERIFY(FMessung->panTastatur->rect().contains(FMessung->edName->geometry()));
    QCOMPARE(FMessung->imgMessgeraet->Pixmap().size(),
             FMessung->imgMessgeraet->size() * FMessung->imgMessgeraet->devicePixelRatioF());
    FMessung->hide();
}

void TstRahmen::quadratFragtNachDemEnde()
{
    const QList<QPoint> quadrat =
        Strich({{700, 200}, {1100, 200}, {1100, 600}, {700, 600}, {700, 205}});
    for (QWidget* flaeche : {FMain->cardWelcome, FMain->cardMitarbeiter}) {
        FMain->CardPanel->setCurrentWidget(flaeche);
        TMeldungsProtokoll protokoll;
        protokoll.NaechsteAntwort(Meldung::Antwort::Nein);
        Zeichne(flaeche, quadrat);
        QCOMPARE(protokoll.Texte(), QStringList{kFrage});
        QVERIFY(FMain->isVisible());
        QCOMPARE(FMain->CardPanel->currentWidget(), flaeche);
    }

    // A curlicue asks as well; Yes closes the main window and so ends the program.
    // A line from the left that ends in a loop, as a finger draws it.
    QList<QPoint> schnoerkel = Strich({{380, 502}, {623, 502}});
    for (int i = 0; i <= 60; ++i) {
        const double t = -M_PI + 2 * M_PI * i / 60;
        schnoerkel << QPoint(int(780 + 50 * (t - 1.7 * std::sin(t))),
                             int(417 - 50 * 1.7 * std::cos(t)));
    }
    TMeldungsProtokoll protokoll;
    protokoll.NaechsteAntwort(Meldung::Antwort::Ja);
    Zeichne(FMain->cardWelcome, schnoerkel);
    QCOMPARE(protokoll.Texte(), QStringList{kFrage});
    QVERIFY(!FMain->isVisible());
}

void TstRahmen::aufAbVerstecktNurDieAppBar()
{
    QTest::keyClick(FMain, Qt::Key_Escape);
    QVERIFY(FMain->AppBar->isVisible());
    TMeldungsProtokoll protokoll;
    Zeichne(FMain->cardWelcome, Strich({{900, 700}, {930, 250}, {960, 700}}));
    QVERIFY(FMain->AppBar->isHidden());
    QCOMPARE(protokoll.Texte(), QStringList());
    QVERIFY(FMain->isVisible());
    QCOMPARE(FMain->CardPanel->currentWidget(), FMain->cardWelcome);
}

void TstRahmen::schliessenBildBeendetSofort()
{
    QTest::keyClick(FMain, Qt::Key_Escape);
    TMeldungsProtokoll protokoll;
    QTimer::singleShot(0, [] { QTest::mouseClick(FMain->CloseButton, Qt::LeftButton); });
    // Guard: a close picture that does nothing would leave the loop running.
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(protokoll.Texte(), QStringList());
}

QTEST_MAIN(TstRahmen)
#include "tst_rahmen.moc"
