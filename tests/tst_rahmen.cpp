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
#include "Stationstreiber.h"
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

using namespace Qt::Literals::StringLiterals;

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
    std::unique_ptr<TStationstreiber> FStation;
    TEinstellungsDatei FOhneDatei;
};

void TstRahmen::initTestCase()
{
    BereiteAnwendungVor();
}

void TstRahmen::init()
{
    FFenster = std::make_unique<TFensterset>();
    FStation = std::make_unique<TStationstreiber>(*FMain, *FMessung);
    FStation->Anhalten(TUhr::Messung);
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
    FStation.reset();
    FFenster.reset();
}

void TstRahmen::escapeSchaltetAppBar()
{
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isHidden());
    QCOMPARE(FMain->focusWidget(), nullptr);
    QTest::keyClick(FMain, Qt::Key_Escape);
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isVisible());
    QTest::keyClick(FMain, Qt::Key_Escape);
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isHidden());

    QTest::keyClick(FMain, Qt::Key_Escape);
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isVisible());
    QTest::keyClick(FMain, Qt::Key_A);
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isHidden());
    // Other keys only hide.
    QTest::keyClick(FMain, Qt::Key_B);
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isHidden());
}

void TstRahmen::tastenAnDasFokusfeld()
{
    // A focused line edit ignores Escape, so the key travels up to the window: it must still
    // toggle once, not once per parent. Letters it takes hide the bar all the same.
    auto* feld = new QLineEdit(FStation->AufTafel(u"cardWelcome"_s));
    feld->show();
    feld->setFocus();
    QCOMPARE(FMain->focusWidget(), feld);
    QTest::keyClick(feld, Qt::Key_Escape);
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isVisible());
    QTest::keyClick(feld, Qt::Key_Escape);
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isHidden());
    QTest::keyClick(feld, Qt::Key_Escape);
    QTest::keyClick(feld, Qt::Key_X);
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isHidden());
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
    QCOMPARE(FStation->AufTafel(u"AppBar"_s)->geometry(),
             QRect(0, bildschirm.height() - hoehe, bildschirm.width(), hoehe));
    QCOMPARE(FStation->AufTafel(u"CloseButton"_s)->geometry().right(), bildschirm.width() - 1);

    // Tiles and menu buttons keep their places in proportion: inside the stage, none on
    // another, none cut off.
    const qreal f = FMain->Massstab().Faktor();
    QVERIFY(qAbs(FStation->Kachel(1)->width() - 210 * f) <= 1);
    const QRect karte = FStation->AufTafel(u"panMitarbeiter"_s)->rect();
    for (int i = 1; i <= 24; ++i) {
        QVERIFY(karte.contains(FStation->Kachel(i)->geometry()));
        QVERIFY(karte.contains(FStation->Kachelname(i)->geometry()));
        QVERIFY(FStation->Kachel(i)->geometry().contains(FStation->Foto(i)->geometry()));
        for (int j = i + 1; j <= 24; ++j)
            QVERIFY(!FStation->Kachel(i)->geometry().intersects(FStation->Kachel(j)->geometry()));
    }
    const QRect menu = FStation->AufTafel(u"Card12"_s)->rect();
    const auto knopf = [this](int nr) {
        return FStation->AufTafel(u"btnAbteilung_B"_s + QString::number(nr))->geometry();
    };
    for (int i = 1; i <= 12; ++i) {
        QVERIFY(menu.contains(knopf(i)));
        for (int j = i + 1; j <= 12; ++j)
            QVERIFY(!knopf(i).intersects(knopf(j)));
    }
    const QRect mitte = FStation->AufTafel(u"cpAbteilungen"_s)->geometry();
    QVERIFY(FStation->AufTafel(u"CardPanel"_s)->geometry().bottom() < mitte.top());
    QVERIFY(FStation->AufTafel(u"btnMenu_Abt_Links"_s)->mapTo(FMain->Buehne(), QPoint(0, 0)).x() +
                FStation->AufTafel(u"btnMenu_Abt_Links"_s)->width() <=
            mitte.left());
    QVERIFY(FMain->Buehne()->rect().contains(mitte));
    // Fonts scale with the layout.
    QCOMPARE(FStation->AufTafel(u"lblWelcome"_s)->font().pixelSize(), qRound(80 * f));
    // Pictures are drawn at their real size, so they stay sharp.
    const TBild* bild = FStation->AufTafel<TBild>(u"Image1"_s);
    QCOMPARE(bild->Pixmap().size(), bild->size() * bild->devicePixelRatioF());
}

void TstRahmen::messungSkaliert()
{
    QFETCH(QSize, bildschirm);
    QFETCH(QRect, buehne);
    FMessung->resize(bildschirm);
    FMessung->show();
    QCoreApplication::processEvents();
    const QWidget* stage = FStation->InMessung(u"Buehne"_s);
    QCOMPARE(stage->geometry(), buehne);

    const qreal f = qreal(buehne.width()) / 1920;
    QVERIFY(qAbs(FStation->InMessung(u"imgSchuh_L_grau"_s)->width() - 249 * f) <= 1);
    QCOMPARE(FStation->InMessung(u"imgSchuh_L_Gut"_s)->geometry(),
             FStation->InMessung(u"imgSchuh_L_grau"_s)->geometry());
    QCOMPARE(FStation->InMessung(u"memFehler"_s)->font().pixelSize(), qRound(28 * f));
    for (const QWidget* kind : stage->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(stage->rect().contains(kind->geometry()), qPrintable(kind->objectName()));
    QVERIFY(FStation->InMessung(u"panTastatur"_s)
                ->rect()
                .contains(FStation->InMessung(u"TouchKeyboard1"_s)->geometry()));
    QVERIFY(
        FStation->InMessung(u"panTastatur"_s)->rect().contains(FStation->Namensfeld()->geometry()));
    const TBild* messgeraet = FStation->InMessung<TBild>(u"imgMessgeraet"_s);
    QCOMPARE(messgeraet->Pixmap().size(), messgeraet->size() * messgeraet->devicePixelRatioF());
    FMessung->hide();
}

void TstRahmen::quadratFragtNachDemEnde()
{
    const QList<QPoint> quadrat =
        Strich({{700, 200}, {1100, 200}, {1100, 600}, {700, 600}, {700, 205}});
    for (const QString& flaeche : {u"cardWelcome"_s, u"cardMitarbeiter"_s}) {
        FStation->ZeigeKarte(flaeche);
        TMeldungsProtokoll protokoll;
        protokoll.NaechsteAntwort(Meldung::Antwort::Nein);
        Zeichne(FStation->AufTafel(flaeche), quadrat);
        QCOMPARE(protokoll.Texte(), QStringList{kFrage});
        QVERIFY(FMain->isVisible());
        QCOMPARE(FStation->Karte(), flaeche);
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
    Zeichne(FStation->AufTafel(u"cardWelcome"_s), schnoerkel);
    QCOMPARE(protokoll.Texte(), QStringList{kFrage});
    QVERIFY(!FMain->isVisible());
}

void TstRahmen::aufAbVerstecktNurDieAppBar()
{
    QTest::keyClick(FMain, Qt::Key_Escape);
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isVisible());
    TMeldungsProtokoll protokoll;
    Zeichne(FStation->AufTafel(u"cardWelcome"_s), Strich({{900, 700}, {930, 250}, {960, 700}}));
    QVERIFY(FStation->AufTafel(u"AppBar"_s)->isHidden());
    QCOMPARE(protokoll.Texte(), QStringList());
    QVERIFY(FMain->isVisible());
    QCOMPARE(FStation->Karte(), u"cardWelcome"_s);
}

void TstRahmen::schliessenBildBeendetSofort()
{
    QTest::keyClick(FMain, Qt::Key_Escape);
    TMeldungsProtokoll protokoll;
    QTimer::singleShot(0,
                       [this] { TStationstreiber::Tippe(FStation->AufTafel(u"CloseButton"_s)); });
    // Guard: a close picture that does nothing would leave the loop running.
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(protokoll.Texte(), QStringList());
}

QTEST_MAIN(TstRahmen)
#include "tst_rahmen.moc"
