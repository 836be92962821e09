// Stroke gestures: the recogniser on drawn strokes, the swipe detector, and the filter on a window.
#include "GestenFilter.h"
#include "Strichgeste.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>

using TPunkte = QList<QPointF>;

char* toString(TGeste geste)
{
    const char* namen[] = {"Keine", "Quadrat", "Schnoerkel", "AufAb"};
    return qstrdup(namen[static_cast<int>(geste)]);
}

char* toString(TWischen wischen)
{
    const char* namen[] = {"Keines", "NachLinks", "NachRechts"};
    return qstrdup(namen[static_cast<int>(wischen)]);
}

namespace {

// How a hand draws a shape: where, how big, how many points, at which pace, how shaky.
struct TStil
{
    QPointF mitte{700, 500};
    qreal breite = 300;
    qreal hoehe = 300;
    int punkte = 48;
    qreal drehung = 0;         // degrees
    qreal anteil = 1;          // share of the path drawn: an unclosed square stops short
    bool gleichmaessig = true; // or slow at the ends, fast in the middle
    qreal zittern = 2;         // pixels each way
    quint32 saat = 1;
};

qreal Laenge(const TPunkte& zug)
{
    qreal laenge = 0;
    for (qsizetype i = 1; i < zug.size(); ++i)
        laenge += QLineF(zug[i - 1], zug[i]).length();
    return laenge;
}

// The point at share s of the path's length.
QPointF Stelle(const TPunkte& zug, qreal s)
{
    qreal rest = s * Laenge(zug);
    for (qsizetype i = 1; i < zug.size(); ++i) {
        const qreal strecke = QLineF(zug[i - 1], zug[i]).length();
        if (rest <= strecke && strecke > 0)
            return zug[i - 1] + (zug[i] - zug[i - 1]) * (rest / strecke);
        rest -= strecke;
    }
    return zug.last();
}

// The shape (any coordinates, y down) stretched to the style's box, turned, moved and sampled
// as a finger or mouse would report it.
TPunkte Zeichne(const TPunkte& form, const TStil& stil)
{
    const QRectF kasten = QPolygonF(form).boundingRect();
    TPunkte zug;
    for (const QPointF& p : form)
        zug.append(
            QPointF(kasten.width() > 0 ? (p.x() - kasten.left()) / kasten.width() - 0.5 : 0,
                    kasten.height() > 0 ? (p.y() - kasten.top()) / kasten.height() - 0.5 : 0));
    QRandomGenerator zufall(stil.saat);
    const qreal winkel = qDegreesToRadians(stil.drehung);
    TPunkte strich;
    for (int i = 0; i < stil.punkte; ++i) {
        const qreal u = stil.punkte > 1 ? qreal(i) / (stil.punkte - 1) : 0;
        const qreal s = stil.gleichmaessig ? u : u - 0.1 * qSin(2 * M_PI * u);
        const QPointF p = Stelle(zug, s * stil.anteil);
        const qreal x = p.x() * stil.breite;
        const qreal y = p.y() * stil.hoehe;
        const QPointF wackeln(zufall.bounded(2 * stil.zittern) - stil.zittern,
                              zufall.bounded(2 * stil.zittern) - stil.zittern);
        strich.append(
            stil.mitte +
            QPointF(x * qCos(winkel) - y * qSin(winkel), x * qSin(winkel) + y * qCos(winkel)) +
            wackeln);
    }
    return strich;
}

// Corners top-left, top-right, bottom-right, bottom-left; clockwise as seen on the screen.
TPunkte Quadrat(int startEcke, bool imUhrzeigersinn)
{
    const TPunkte ecken{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    TPunkte form;
    for (int i = 0; i <= 4; ++i)
        form.append(ecken[(startEcke + (imUhrzeigersinn ? i : 4 - i)) % 4]);
    return form;
}

// A sideways line that throws loops over (or under) itself, with a run-up and a run-out.
TPunkte Schnoerkel(int schleifen, bool nachLinks, bool schleifeUnten = false, qreal weite = 1.7,
                   bool anlauf = true, bool auslauf = true)
{
    TPunkte form;
    if (anlauf)
        form.append({-8, weite});
    for (int i = 0; i <= 40 * schleifen; ++i) {
        const qreal t = -M_PI + 2 * M_PI * i / 40;
        form.append(QPointF(t - weite * qSin(t), -weite * qCos(t)));
    }
    if (auslauf)
        form.append(form.last() + QPointF(5, 0));
    for (QPointF& p : form)
        p = QPointF(nachLinks ? -p.x() : p.x(), schleifeUnten ? -p.y() : p.y());
    return form;
}

// A unit line; Zeichne stretches it to its box, so only multiples of 45 degrees keep their
// direction in a square box.
TPunkte Strecke(qreal winkelGrad)
{
    const qreal w = qDegreesToRadians(winkelGrad);
    return {{0, 0}, {qCos(w), qSin(w)}};
}

TPunkte Kreis(qreal grad)
{
    TPunkte form;
    for (int i = 0; i <= 72; ++i) {
        const qreal w = qDegreesToRadians(grad * i / 72);
        form.append(QPointF(qCos(w), qSin(w)));
    }
    return form;
}

TPunkte Bogen()
{
    TPunkte form;
    for (int i = 0; i <= 36; ++i) {
        const qreal w = M_PI * i / 36;
        form.append(QPointF(-qCos(w), -qSin(w)));
    }
    return form;
}

TPunkte Gekritzel(quint32 saat)
{
    QRandomGenerator zufall(saat);
    TPunkte form;
    for (int i = 0; i < 25; ++i)
        form.append(QPointF(zufall.bounded(400.0), zufall.bounded(400.0)));
    return form;
}

TStil Stil(qreal breite, qreal hoehe)
{
    TStil stil;
    stil.breite = breite;
    stil.hoehe = hoehe;
    return stil;
}

} // namespace

// A tile that clicks when released inside itself, as the tiles of the employee board do.
class TKachel : public QWidget
{
public:
    using QWidget::QWidget;
    int klicks = 0;

protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (rect().contains(e->position().toPoint()))
            ++klicks;
    }
};

// A control that takes touches itself and clicks when the finger lifts inside it.
class TFingerflaeche : public QWidget
{
public:
    explicit TFingerflaeche(QWidget* eltern) : QWidget(eltern)
    {
        setAttribute(Qt::WA_AcceptTouchEvents);
    }
    int klicks = 0;

protected:
    bool event(QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchCancel:
            e->accept();
            return true;
        case QEvent::TouchEnd:
            if (rect().contains(
                    static_cast<QTouchEvent*>(e)->points().first().position().toPoint()))
                ++klicks;
            e->accept();
            return true;
        default:
            return QWidget::event(e);
        }
    }
};

// A window as the station's screens are built: a button, a tile, a touch control and a label
// that lets mouse events pass on to its parent.
class TFenster : public QWidget
{
public:
    TFenster()
    {
        resize(1100, 800);
        knopf = new QPushButton(QStringLiteral("Knopf"), this);
        knopf->setGeometry(50, 350, 160, 100);
        kachel = new TKachel(this);
        kachel->setGeometry(300, 350, 160, 100);
        flaeche = new TFingerflaeche(this);
        flaeche->setGeometry(550, 350, 160, 100);
        etikett = new QLabel(QStringLiteral("Etikett"), this);
        etikett->setGeometry(800, 350, 160, 100);
    }

    QWidget* Ziel(const QString& name) const
    {
        if (name == "knopf")
            return knopf;
        if (name == "kachel")
            return kachel;
        if (name == "flaeche")
            return flaeche;
        return etikett;
    }

    QPushButton* knopf;
    TKachel* kachel;
    TFingerflaeche* flaeche;
    QLabel* etikett;
};

enum class TEingabe
{
    Maus,
    Finger
};

class TstStrichgeste : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void geste_data();
    void geste();
    void wischen_data();
    void wischen();

    void strichImFenster_data();
    void strichImFenster();
    void zweiterFingerBrichtAb();
    void anderesFensterZaehltNicht();

private:
    void Ziehe(TFenster& fenster, TEingabe eingabe, const QList<QPoint>& zug) const;

    QPointingDevice* FBeruehrschirm = nullptr;
};

void TstStrichgeste::initTestCase()
{
    QApplication::setAttribute(Qt::AA_SynthesizeMouseForUnhandledTouchEvents);
    FBeruehrschirm = QTest::createTouchDevice();
}

void TstStrichgeste::geste_data()
{
    QTest::addColumn<TPunkte>("strich");
    QTest::addColumn<TGeste>("erwartet");

    const TStil normal;
    const char* ecken[] = {"oben links", "oben rechts", "unten rechts", "unten links"};
    for (int ecke = 0; ecke < 4; ++ecke)
        for (const bool uhrzeigersinn : {true, false})
            QTest::addRow("Quadrat ab %s %s", ecken[ecke],
                          uhrzeigersinn ? "rechtsherum" : "linksherum")
                << Zeichne(Quadrat(ecke, uhrzeigersinn), normal) << TGeste::Quadrat;

    TStil stil = normal;
    stil.breite = stil.hoehe = 110;
    stil.mitte = {60, 60};
    QTest::newRow("Quadrat klein in der Ecke")
        << Zeichne(Quadrat(0, true), stil) << TGeste::Quadrat;
    stil = Stil(800, 800);
    stil.punkte = 200;
    stil.zittern = 4;
    QTest::newRow("Quadrat 800 px dicht") << Zeichne(Quadrat(2, false), stil) << TGeste::Quadrat;
    stil = normal;
    stil.punkte = 14;
    QTest::newRow("Quadrat spaerlich") << Zeichne(Quadrat(1, true), stil) << TGeste::Quadrat;
    stil = normal;
    stil.gleichmaessig = false;
    stil.punkte = 30;
    QTest::newRow("Quadrat ungleichmaessig schnell")
        << Zeichne(Quadrat(3, true), stil) << TGeste::Quadrat;
    stil = normal;
    stil.zittern = 8;
    stil.saat = 7;
    QTest::newRow("Quadrat zittrig") << Zeichne(Quadrat(0, false), stil) << TGeste::Quadrat;
    for (const qreal drehung : {15.0, -15.0}) {
        stil = normal;
        stil.drehung = drehung;
        QTest::addRow("Quadrat um %g Grad gedreht", drehung)
            << Zeichne(Quadrat(1, false), stil) << TGeste::Quadrat;
    }
    stil = normal;
    stil.anteil = 0.93;
    QTest::newRow("Quadrat nicht ganz geschlossen")
        << Zeichne(Quadrat(2, true), stil) << TGeste::Quadrat;
    stil = Stil(450, 220);
    QTest::newRow("Rechteck quer") << Zeichne(Quadrat(0, true), stil) << TGeste::Quadrat;
    stil = Stil(200, 380);
    QTest::newRow("Rechteck hoch") << Zeichne(Quadrat(3, false), stil) << TGeste::Quadrat;

    stil = Stil(500, 160);
    stil.punkte = 90;
    QTest::newRow("Schnoerkel eine Schleife nach rechts")
        << Zeichne(Schnoerkel(1, false), stil) << TGeste::Schnoerkel;
    QTest::newRow("Schnoerkel eine Schleife nach links")
        << Zeichne(Schnoerkel(1, true), stil) << TGeste::Schnoerkel;
    QTest::newRow("Schnoerkel Schleife unten")
        << Zeichne(Schnoerkel(1, false, true), stil) << TGeste::Schnoerkel;
    QTest::newRow("Schnoerkel nur Anlauf")
        << Zeichne(Schnoerkel(1, false, false, 1.7, true, false), stil) << TGeste::Schnoerkel;
    QTest::newRow("Schnoerkel nur Auslauf nach links")
        << Zeichne(Schnoerkel(1, true, false, 1.7, false, true), stil) << TGeste::Schnoerkel;
    stil = Stil(700, 150);
    stil.punkte = 150;
    QTest::newRow("Schnoerkel drei Schleifen nach rechts")
        << Zeichne(Schnoerkel(3, false), stil) << TGeste::Schnoerkel;
    stil.gleichmaessig = false;
    stil.drehung = -10;
    stil.zittern = 4;
    QTest::newRow("Schnoerkel zwei Schleifen nach links schief")
        << Zeichne(Schnoerkel(2, true, false, 2.4), stil) << TGeste::Schnoerkel;
    stil = Stil(260, 110);
    stil.punkte = 40;
    QTest::newRow("Schnoerkel klein und spaerlich")
        << Zeichne(Schnoerkel(2, false, false, 1.4), stil) << TGeste::Schnoerkel;

    const TPunkte gerade{{0, 1}, {0, 0}, {0, 1}};
    QTest::newRow("AufAb gerade") << Zeichne(gerade, Stil(0, 350)) << TGeste::AufAb;
    stil = Stil(25, 150);
    stil.mitte = {1700, 900};
    stil.punkte = 20;
    QTest::newRow("AufAb kurz rechts unten")
        << Zeichne({{0, 1}, {0.4, 0}, {1, 1}}, stil) << TGeste::AufAb;
    const TPunkte dach{{0, 1}, {0.5, 0}, {1, 1}};
    QTest::newRow("AufAb Dach schmal") << Zeichne(dach, Stil(120, 400)) << TGeste::AufAb;
    QTest::newRow("AufAb Dach breit") << Zeichne(dach, Stil(330, 300)) << TGeste::AufAb;
    QTest::newRow("AufAb Dach von rechts")
        << Zeichne({{1, 1}, {0.4, 0}, {0, 1}}, Stil(200, 300)) << TGeste::AufAb;
    stil = Stil(180, 320);
    stil.gleichmaessig = false;
    stil.zittern = 5;
    stil.drehung = 12;
    QTest::newRow("AufAb Bogen schief") << Zeichne(Bogen(), stil) << TGeste::AufAb;
    stil = Stil(40, 600);
    stil.punkte = 120;
    QTest::newRow("AufAb lang dicht") << Zeichne(gerade, stil) << TGeste::AufAb;

    QTest::newRow("Tippen") << TPunkte{{500, 500}} << TGeste::Keine;
    QTest::newRow("Tippen mit Zittern")
        << TPunkte{{500, 500}, {503, 498}, {501, 503}, {497, 501}, {500, 499}} << TGeste::Keine;
    stil = normal;
    stil.breite = stil.hoehe = 60;
    QTest::newRow("Quadrat zu klein") << Zeichne(Quadrat(0, true), stil) << TGeste::Keine;
    for (int richtung = 0; richtung < 360; richtung += 45)
        QTest::addRow("Strecke %d Grad", richtung)
            << Zeichne(Strecke(richtung), Stil(400, 400)) << TGeste::Keine;
    QTest::newRow("L") << Zeichne({{0, 0}, {0, 1}, {1, 1}}, normal) << TGeste::Keine;
    QTest::newRow("Kreis") << Zeichne(Kreis(360), normal) << TGeste::Keine;
    QTest::newRow("Kreis mit Ueberlauf") << Zeichne(Kreis(400), normal) << TGeste::Keine;
    // A triangle begins and ends low like an up-down, but its base closes it.
    const TPunkte dreieck{{0, 1}, {0.5, 0}, {1, 1}, {0, 1}};
    QTest::newRow("Dreieck") << Zeichne(dreieck, normal) << TGeste::Keine;
    QTest::newRow("Dreieck schmal") << Zeichne(dreieck, Stil(100, 400)) << TGeste::Keine;
    QTest::newRow("Zickzack") << Zeichne({{0, 0}, {0.2, 1}, {0.4, 0}, {0.6, 1}, {0.8, 0}, {1, 1}},
                                         Stil(500, 200))
                              << TGeste::Keine;
    // Like a curlicue, but the turns do not close into loops.
    QTest::newRow("Welle ohne Schleife")
        << Zeichne(Schnoerkel(2, false, false, 0.8), Stil(500, 120)) << TGeste::Keine;
    QTest::newRow("hin und her waagerecht")
        << Zeichne({{0, 0}, {1, 0}, {0, 0}}, Stil(350, 0)) << TGeste::Keine;
    QTest::newRow("schraeg hin und zurueck")
        << Zeichne({{0, 1}, {1, 0}, {0.1, 0.9}}, Stil(300, 300)) << TGeste::Keine;
    QTest::newRow("ab und auf") << Zeichne({{0, 0}, {0.5, 1}, {1, 0}}, Stil(150, 300))
                                << TGeste::Keine;
    for (const quint32 saat : {4711u, 815u, 42u})
        QTest::addRow("Gekritzel %u", saat) << Zeichne(Gekritzel(saat), normal) << TGeste::Keine;
}

void TstStrichgeste::geste()
{
    QFETCH(TPunkte, strich);
    QFETCH(TGeste, erwartet);
    QCOMPARE(ErkenneGeste(strich), erwartet);
}

void TstStrichgeste::wischen_data()
{
    QTest::addColumn<TPunkte>("strich");
    QTest::addColumn<qreal>("mindestLaenge");
    QTest::addColumn<TWischen>("erwartet");

    QTest::newRow("nach links") << Zeichne(Strecke(180), Stil(400, 0)) << 150.0
                                << TWischen::NachLinks;
    QTest::newRow("nach rechts") << Zeichne(Strecke(0), Stil(400, 0)) << 150.0
                                 << TWischen::NachRechts;
    TStil stil = Stil(1200, 0);
    stil.punkte = 8;
    stil.zittern = 6;
    QTest::newRow("lang, schnell und wackelig")
        << Zeichne(Strecke(180), stil) << 150.0 << TWischen::NachLinks;
    stil = Stil(400, 0);
    stil.drehung = -12;
    QTest::newRow("leicht schraeg") << Zeichne(Strecke(0), stil) << 150.0 << TWischen::NachRechts;
    QTest::newRow("knapp lang genug")
        << Zeichne(Strecke(0), Stil(170, 0)) << 150.0 << TWischen::NachRechts;
    QTest::newRow("zu kurz") << Zeichne(Strecke(0), Stil(130, 0)) << 150.0 << TWischen::Keines;
    QTest::newRow("zu kurz fuer den Massstab")
        << Zeichne(Strecke(180), Stil(250, 0)) << 300.0 << TWischen::Keines;
    QTest::newRow("Tippen") << TPunkte{{500, 500}} << 150.0 << TWischen::Keines;
    stil.drehung = 30;
    QTest::newRow("zu steil") << Zeichne(Strecke(0), stil) << 150.0 << TWischen::Keines;
    QTest::newRow("senkrecht") << Zeichne(Strecke(90), Stil(400, 400)) << 150.0 << TWischen::Keines;
    QTest::newRow("rechts und zurueck")
        << Zeichne({{0, 0}, {1, 0}, {0.4, 0}}, Stil(500, 0)) << 150.0 << TWischen::Keines;
    QTest::newRow("Zickzack flach")
        << Zeichne({{0, 0}, {0.25, 1}, {0.5, 0}, {0.75, 1}, {1, 0}}, Stil(500, 120)) << 150.0
        << TWischen::Keines;
}

void TstStrichgeste::wischen()
{
    QFETCH(TPunkte, strich);
    QFETCH(qreal, mindestLaenge);
    QFETCH(TWischen, erwartet);
    QCOMPARE(ErkenneWischen(strich, mindestLaenge), erwartet);
}

// Draws the stroke (window coordinates) with the mouse through the window system, so that the
// control under the press grabs the mouse as in the station, or with one finger.
void TstStrichgeste::Ziehe(TFenster& fenster, TEingabe eingabe, const QList<QPoint>& zug) const
{
    QWindow* griff = fenster.windowHandle();
    if (eingabe == TEingabe::Maus) {
        QTest::mousePress(griff, Qt::LeftButton, Qt::NoModifier, zug.first());
        for (qsizetype i = 1; i < zug.size(); ++i)
            QTest::mouseMove(griff, zug[i]);
        QTest::mouseRelease(griff, Qt::LeftButton, Qt::NoModifier, zug.last());
        return;
    }
    // One sequence for the whole stroke, so that it knows the finger is still down.
    auto finger = QTest::touchEvent(&fenster, FBeruehrschirm, false);
    finger.press(0, zug.first()).commit();
    for (qsizetype i = 1; i < zug.size(); ++i)
        finger.move(0, zug[i]).commit();
    finger.release(0, zug.last()).commit();
}

namespace {

// Strokes for the window, beginning at (0, 0).
QList<QPoint> Relativ(const TPunkte& strich)
{
    QList<QPoint> zug;
    for (const QPointF& p : strich)
        zug.append((p - strich.first()).toPoint());
    return zug;
}

QList<QPoint> QuadratZug(int seite)
{
    TStil stil = Stil(seite, seite);
    stil.punkte = 40;
    return Relativ(Zeichne(Quadrat(0, true), stil));
}

} // namespace

void TstStrichgeste::strichImFenster_data()
{
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<TEingabe>("eingabe");
    QTest::addColumn<QList<QPoint>>("zug");
    QTest::addColumn<qreal>("massstab");
    QTest::addColumn<TGeste>("geste");
    QTest::addColumn<TWischen>("wischen");
    QTest::addColumn<int>("klicks");

    const auto maus = TEingabe::Maus;
    const auto finger = TEingabe::Finger;
    const QList<QPoint> quadrat = QuadratZug(250);
    TStil stil = Stil(20, 300);
    stil.punkte = 30;
    const QList<QPoint> aufAb = Relativ(Zeichne({{0, 1}, {0.5, 0}, {1, 1}}, stil));
    stil = Stil(200, 70);
    stil.punkte = 60;
    const QList<QPoint> schnoerkel = Relativ(Zeichne(Schnoerkel(1, false), stil));
    const QList<QPoint> nachRechts = Relativ(Zeichne(Strecke(0), Stil(400, 0)));
    const QList<QPoint> nachLinks = Relativ(Zeichne(Strecke(180), Stil(400, 0)));
    const QList<QPoint> tippen{{0, 0}};
    const QList<QPoint> zittern{{0, 0}, {2, -1}, {4, 2}, {1, 3}, {-2, 1}};

    QTest::newRow("Quadrat mit der Maus auf dem Knopf")
        << "knopf" << maus << quadrat << 1.0 << TGeste::Quadrat << TWischen::Keines << 0;
    QTest::newRow("Quadrat mit dem Finger auf dem Knopf")
        << "knopf" << finger << quadrat << 1.0 << TGeste::Quadrat << TWischen::Keines << 0;
    QTest::newRow("Quadrat mit der Maus auf der Kachel")
        << "kachel" << maus << quadrat << 1.0 << TGeste::Quadrat << TWischen::Keines << 0;
    QTest::newRow("Quadrat auf der Fingerflaeche")
        << "flaeche" << finger << quadrat << 1.0 << TGeste::Quadrat << TWischen::Keines << 0;
    QTest::newRow("AufAb mit dem Finger auf der Kachel")
        << "kachel" << finger << aufAb << 1.0 << TGeste::AufAb << TWischen::Keines << 0;
    QTest::newRow("Schnoerkel mit der Maus auf dem Etikett")
        << "etikett" << maus << schnoerkel << 1.0 << TGeste::Schnoerkel << TWischen::Keines << 0;
    QTest::newRow("Schnoerkel mit dem Finger auf dem Etikett")
        << "etikett" << finger << schnoerkel << 1.0 << TGeste::Schnoerkel << TWischen::Keines << 0;
    QTest::newRow("Wischen nach rechts mit der Maus vom Knopf")
        << "knopf" << maus << nachRechts << 1.0 << TGeste::Keine << TWischen::NachRechts << 0;
    QTest::newRow("Wischen nach links auf der Fingerflaeche")
        << "flaeche" << finger << nachLinks << 1.0 << TGeste::Keine << TWischen::NachLinks << 0;
    QTest::newRow("Tippen mit der Maus auf den Knopf")
        << "knopf" << maus << tippen << 1.0 << TGeste::Keine << TWischen::Keines << 1;
    QTest::newRow("Tippen mit Zittern auf den Knopf")
        << "knopf" << finger << zittern << 1.0 << TGeste::Keine << TWischen::Keines << 1;
    QTest::newRow("Tippen mit Zittern mit der Maus auf die Kachel")
        << "kachel" << maus << zittern << 1.0 << TGeste::Keine << TWischen::Keines << 1;
    QTest::newRow("Tippen auf die Fingerflaeche")
        << "flaeche" << finger << zittern << 1.0 << TGeste::Keine << TWischen::Keines << 1;
    // 120 px are enough at the reference size, not on a window laid out twice as large.
    QTest::newRow("kleines Quadrat")
        << "knopf" << maus << QuadratZug(120) << 1.0 << TGeste::Quadrat << TWischen::Keines << 0;
    QTest::newRow("kleines Quadrat bei doppeltem Massstab")
        << "knopf" << maus << QuadratZug(120) << 2.0 << TGeste::Keine << TWischen::Keines << 1;
}

void TstStrichgeste::strichImFenster()
{
    QFETCH(QString, ziel);
    QFETCH(TEingabe, eingabe);
    QFETCH(QList<QPoint>, zug);
    QFETCH(qreal, massstab);
    QFETCH(TGeste, geste);
    QFETCH(TWischen, wischen);
    QFETCH(int, klicks);

    TFenster fenster;
    TGestenFilter filter(&fenster);
    filter.SetzeMassstab(massstab);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    QWidget* start = fenster.Ziel(ziel);
    QSignalSpy gesten(&filter, &TGestenFilter::Geste);
    QSignalSpy wischer(&filter, &TGestenFilter::Wischen);
    QSignalSpy knopfKlicks(fenster.knopf, &QPushButton::clicked);

    const QPoint anfang = start->geometry().center();
    for (QPoint& p : zug)
        p += anfang;
    Ziehe(fenster, eingabe, zug);

    QCOMPARE(gesten.size(), geste == TGeste::Keine ? 0 : 1);
    if (geste != TGeste::Keine) {
        QCOMPARE(gesten.first().at(0).value<TGeste>(), geste);
        QCOMPARE(gesten.first().at(1).value<QWidget*>(), start);
    }
    QCOMPARE(wischer.size(), wischen == TWischen::Keines ? 0 : 1);
    if (wischen != TWischen::Keines) {
        QCOMPARE(wischer.first().at(0).value<TWischen>(), wischen);
        QCOMPARE(wischer.first().at(1).value<QWidget*>(), start);
    }
    const int gezaehlt = start == fenster.knopf     ? int(knopfKlicks.size())
                         : start == fenster.kachel  ? fenster.kachel->klicks
                         : start == fenster.flaeche ? fenster.flaeche->klicks
                                                    : 0;
    QCOMPARE(gezaehlt, klicks);
    QVERIFY(!fenster.knopf->isDown());
}

void TstStrichgeste::zweiterFingerBrichtAb()
{
    TFenster fenster;
    TGestenFilter filter(&fenster);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    QSignalSpy gesten(&filter, &TGestenFilter::Geste);
    QSignalSpy wischer(&filter, &TGestenFilter::Wischen);

    QList<QPoint> zug = QuadratZug(250);
    for (QPoint& p : zug)
        p += fenster.knopf->geometry().center();
    auto finger = QTest::touchEvent(&fenster, FBeruehrschirm, false);
    finger.press(0, zug.first()).commit();
    for (qsizetype i = 1; i < zug.size(); ++i) {
        if (i == zug.size() / 2)
            finger.move(0, zug[i]).press(1, QPoint(900, 700)).commit();
        else
            finger.move(0, zug[i]).commit();
    }
    finger.release(1, QPoint(900, 700)).move(0, zug.last()).commit();
    finger.release(0, zug.last()).commit();

    QCOMPARE(gesten.size(), 0);
    QCOMPARE(wischer.size(), 0);
}

void TstStrichgeste::anderesFensterZaehltNicht()
{
    TFenster fenster;
    TFenster anderes;
    TGestenFilter filter(&fenster);
    fenster.show();
    anderes.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    QVERIFY(QTest::qWaitForWindowExposed(&anderes));
    QSignalSpy gesten(&filter, &TGestenFilter::Geste);

    QList<QPoint> zug = QuadratZug(250);
    for (QPoint& p : zug)
        p += fenster.kachel->geometry().center();
    Ziehe(anderes, TEingabe::Maus, zug);
    Ziehe(anderes, TEingabe::Finger, zug);
    QCOMPARE(gesten.size(), 0);
    QCOMPARE(anderes.kachel->klicks, 2);

    Ziehe(fenster, TEingabe::Finger, zug);
    QCOMPARE(gesten.size(), 1);
}

QTEST_MAIN(TstStrichgeste)
#include "tst_strichgeste.moc"
