// The station's pictures: every one renders sharp at any size, and TBild shows them and taps.
#include "Bilder.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QPolygon>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <optional>

namespace {

// Pixel ratio of the test screen, set in main.
constexpr qreal kDpr = 1.5;

QImage Argb(const QPixmap& bild)
{
    return bild.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Something is drawn: at least two different colours that are not fully transparent.
bool ZeigtEtwas(const QImage& bild)
{
    std::optional<QRgb> erste;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            const QRgb punkt = bild.pixel(x, y);
            if (qAlpha(punkt) == 0)
                continue;
            if (!erste)
                erste = punkt;
            else if (punkt != *erste)
                return true;
        }
    return false;
}

// Largest difference of a colour channel between two images of the same size.
int Abweichung(const QImage& a, const QImage& b)
{
    int groesste = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            groesste =
                std::max({groesste, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return groesste;
}

// The signal colour a pixel clearly shows; none for mixed colours.
enum class Ton
{
    Keiner,
    Grau,
    Rot,
    Gruen
};

Ton TonVon(QRgb p)
{
    const int r = qRed(p);
    const int g = qGreen(p);
    const int b = qBlue(p);
    if (r > g + 60 && r > b + 60)
        return Ton::Rot;
    if (g > r + 40 && g > b + 40)
        return Ton::Gruen;
    if (std::max({r, g, b}) - std::min({r, g, b}) <= 4)
        return Ton::Grau;
    return Ton::Keiner;
}

// The colour under a logical point of a widget grabbed at kDpr.
QRgb Farbe(const QImage& bild, QPoint logisch)
{
    return bild.pixel((QPointF(logisch) * kDpr).toPoint());
}

// A shown window with a TBild of 100 x 60 (150 x 90 device pixels) at (10, 10).
struct Fenster
{
    Fenster()
    {
        rahmen.resize(200, 120);
        bild->setGeometry(10, 10, 100, 60);
        rahmen.show();
    }
    QWidget rahmen;
    TBild* bild = new TBild(&rahmen);
};

} // namespace

class TstBilder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void jedesBildZeichnetSich_data();
    void jedesBildZeichnetSich();
    void seitenverhaeltnisBleibtZentriert_data();
    void seitenverhaeltnisBleibtZentriert();
    void portraetOhneFotoIstGrau();
    void farbvarianteZeigtIhreFarbe_data();
    void farbvarianteZeigtIhreFarbe();
    void unbrauchbarerAuftragGibtKeinBild_data();
    void unbrauchbarerAuftragGibtKeinBild();
    void svgFolgtGroesseUndPixelverhaeltnis_data();
    void svgFolgtGroesseUndPixelverhaeltnis();
    void pixmapFuelltOderZentriert_data();
    void pixmapFuelltOderZentriert();
    void passendesPixmapBleibtPixelgenau();
    void tippen_data();
    void tippen();
};

void TstBilder::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), kDpr);
}

void TstBilder::jedesBildZeichnetSich_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QSize>("groesse");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<QSize>("pixel");
    // The size the screens lay the picture out at; stretched to it, it must not distort.
    QTest::addColumn<QSize>("entwurf");

    const struct
    {
        const char* name;
        QString pfad;
        QSize entwurf;
    } bilder[] = {
        {"Logo", Bilder::Logo, {400, 72}},
        {"ESD-Schutzzone", Bilder::EsdSchutzzone, {433, 447}},
        {"Schließen", Bilder::Schliessen, {100, 100}},
        {"Porträt 0", Bilder::Portraet(0), {200, 250}},
        {"Porträt 1", Bilder::Portraet(1), {200, 250}},
        {"Porträt 2", Bilder::Portraet(2), {200, 250}},
        // Any index still yields a picture.
        {"Porträt 7", Bilder::Portraet(7), {200, 250}},
        {"Banner", Bilder::Banner, {1014, 82}},
        {"Roter X", Bilder::RoterX, {80, 80}},
        {"Daumen hoch", Bilder::DaumenHoch, {200, 200}},
        {"Daumen runter", Bilder::DaumenRunter, {200, 200}},
        {"Messgerät", Bilder::Messgeraet, {465, 305}},
        {"Pfeil", Bilder::Pfeil, {143, 152}},
        {"Sohle links grau", Bilder::SohleLinksGrau, {249, 517}},
        {"Sohle links rot", Bilder::SohleLinksRot, {249, 517}},
        {"Sohle links grün", Bilder::SohleLinksGruen, {249, 517}},
        {"Sohle rechts grau", Bilder::SohleRechtsGrau, {241, 517}},
        {"Sohle rechts rot", Bilder::SohleRechtsRot, {241, 517}},
        {"Sohle rechts grün", Bilder::SohleRechtsGruen, {241, 517}},
        {"Armband gut", Bilder::ArmbandGut, {474, 136}},
        {"Armband schlecht", Bilder::ArmbandSchlecht, {498, 136}},
    };
    for (const auto& [name, pfad, entwurf] : bilder) {
        QTest::addRow("%s, klein", name)
            << pfad << QSize(60, 75) << 1.0 << QSize(60, 75) << entwurf;
        QTest::addRow("%s, 4K", name)
            << pfad << QSize(433, 447) << 2.0 << QSize(866, 894) << entwurf;
        QTest::addRow("%s, 1,5-fach gerundet", name)
            << pfad << QSize(101, 75) << 1.5 << QSize(152, 113) << entwurf;
    }
}

void TstBilder::jedesBildZeichnetSich()
{
    QFETCH(QString, pfad);
    QFETCH(QSize, groesse);
    QFETCH(qreal, dpr);
    QFETCH(QSize, pixel);
    QFETCH(QSize, entwurf);

    QVERIFY2(QFile::exists(pfad), qPrintable(pfad));
    QCOMPARE(QSvgRenderer(pfad).viewBox().size(), entwurf);
    const QPixmap bild = Bilder::Zeichne(pfad, groesse, dpr);
    QCOMPARE(bild.size(), pixel);
    QCOMPARE(bild.devicePixelRatio(), dpr);
    QCOMPARE(bild.deviceIndependentSize(), QSizeF(pixel) / dpr);
    QVERIFY(ZeigtEtwas(Argb(bild)));
}

void TstBilder::seitenverhaeltnisBleibtZentriert_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<QRect>("flaeche"); // device pixels

    QTest::newRow("Porträt im breiten Feld")
        << Bilder::Portraet(2) << QSize(400, 250) << 1.0 << QRect(100, 0, 200, 250);
    QTest::newRow("Logo im hohen Feld, doppelte Dichte")
        << Bilder::Logo << QSize(200, 100) << 2.0 << QRect(0, 64, 400, 72);
    QTest::newRow("Schild, ungerader Rand")
        << Bilder::EsdSchutzzone << QSize(600, 447) << 1.0 << QRect(83, 0, 433, 447);
    QTest::newRow("Schließen in der Leiste, 1,5-fach")
        << Bilder::Schliessen << QSize(60, 75) << 1.5 << QRect(0, 11, 90, 90);
}

void TstBilder::seitenverhaeltnisBleibtZentriert()
{
    QFETCH(QString, pfad);
    QFETCH(QSize, box);
    QFETCH(qreal, dpr);
    QFETCH(QRect, flaeche);

    const QImage gesamt = Argb(Bilder::Zeichne(pfad, box, dpr, Qt::KeepAspectRatio));
    QCOMPARE(gesamt.size(), box * dpr);

    // Inside: the same picture as drawn stretched to exactly that area. Text may be
    // antialiased a shade differently at another offset; a shifted or rescaled drawing is not.
    const QImage allein =
        Argb(Bilder::Zeichne(pfad, flaeche.size() / dpr, dpr, Qt::IgnoreAspectRatio));
    const QImage innen = gesamt.copy(flaeche);
    QCOMPARE(innen.size(), allein.size());
    QVERIFY(Abweichung(innen, allein) <= 8);

    int sichtbarAussen = 0;
    for (int y = 0; y < gesamt.height(); ++y)
        for (int x = 0; x < gesamt.width(); ++x)
            if (!flaeche.contains(x, y) && qAlpha(gesamt.pixel(x, y)) != 0)
                ++sichtbarAussen;
    QCOMPARE(sichtbarAussen, 0);
}

void TstBilder::portraetOhneFotoIstGrau()
{
    const QImage bild = Argb(Bilder::Zeichne(Bilder::Portraet(2), QSize(200, 250), 1.0));
    int deckend = 0;
    int bunt = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            const QRgb p = bild.pixel(x, y);
            if (qAlpha(p) != 255)
                continue;
            ++deckend;
            const auto [min, max] = std::minmax({qRed(p), qGreen(p), qBlue(p)});
            if (max - min > 4)
                ++bunt;
        }
    QVERIFY(deckend > 0);
    QCOMPARE(bunt, 0);
}

void TstBilder::farbvarianteZeigtIhreFarbe_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QColor>("farbe"); // the signal colour that must dominate
    // The grey variant it is stacked on, which it must cover exactly; empty if none.
    QTest::addColumn<QString>("unterlage");

    const QColor grau(Qt::gray);
    const QColor rot(Qt::red);
    const QColor gruen(Qt::green);
    QTest::newRow("Sohle links grau") << Bilder::SohleLinksGrau << grau << QString();
    QTest::newRow("Sohle links rot") << Bilder::SohleLinksRot << rot << Bilder::SohleLinksGrau;
    QTest::newRow("Sohle links grün") << Bilder::SohleLinksGruen << gruen << Bilder::SohleLinksGrau;
    QTest::newRow("Sohle rechts grau") << Bilder::SohleRechtsGrau << grau << QString();
    QTest::newRow("Sohle rechts rot") << Bilder::SohleRechtsRot << rot << Bilder::SohleRechtsGrau;
    QTest::newRow("Sohle rechts grün")
        << Bilder::SohleRechtsGruen << gruen << Bilder::SohleRechtsGrau;
    QTest::newRow("Armband gut") << Bilder::ArmbandGut << gruen << QString();
    QTest::newRow("Armband schlecht") << Bilder::ArmbandSchlecht << rot << QString();
    QTest::newRow("Daumen hoch") << Bilder::DaumenHoch << gruen << QString();
    QTest::newRow("Daumen runter") << Bilder::DaumenRunter << rot << QString();
}

void TstBilder::farbvarianteZeigtIhreFarbe()
{
    QFETCH(QString, pfad);
    QFETCH(QColor, farbe);
    QFETCH(QString, unterlage);

    const QSize box(200, 200);
    const QImage bild = Argb(Bilder::Zeichne(pfad, box, 1.0));
    // Opaque pixels only: antialiased edges blend with the transparent margin.
    int anzahl[4] = {};
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            if (const QRgb p = bild.pixel(x, y); qAlpha(p) == 255)
                ++anzahl[static_cast<int>(TonVon(p))];
    const Ton ton = TonVon(farbe.rgb());
    const auto haeufigster =
        static_cast<Ton>(std::max_element(anzahl + 1, std::end(anzahl)) - anzahl);
    QCOMPARE(haeufigster, ton);
    // Cord, clip and shading may be mixed colours, but the named one must be plain to see.
    QVERIFY(anzahl[static_cast<int>(ton)] * 4 >= std::accumulate(anzahl, std::end(anzahl), 0));

    if (!unterlage.isEmpty()) {
        const auto deckung = [&](const QString& p) {
            return Bilder::Zeichne(p, box, 1.0).toImage().convertToFormat(QImage::Format_Alpha8);
        };
        QCOMPARE(deckung(pfad), deckung(unterlage));
    }
}

void TstBilder::unbrauchbarerAuftragGibtKeinBild_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QSize>("groesse");
    QTest::addColumn<bool>("warnung");

    QTest::newRow("unbekannte Ressource")
        << ":/bilder/gibt_es_nicht.svg" << QSize(100, 100) << true;
    QTest::newRow("leeres Feld") << Bilder::Logo << QSize(0, 72) << false;
}

void TstBilder::unbrauchbarerAuftragGibtKeinBild()
{
    QFETCH(QString, pfad);
    QFETCH(QSize, groesse);
    QFETCH(bool, warnung);

    if (warnung)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no SVG picture at " +
                                                              QRegularExpression::escape(pfad)));
    else
        QTest::failOnWarning(QRegularExpression(".*"));
    QVERIFY(Bilder::Zeichne(pfad, groesse, 1.0).isNull());
}

void TstBilder::svgFolgtGroesseUndPixelverhaeltnis_data()
{
    QTest::addColumn<QSize>("neu");
    QTest::addColumn<QSize>("pixel");

    QTest::newRow("größer") << QSize(300, 54) << QSize(450, 81);
    QTest::newRow("kleiner, ungerade") << QSize(41, 37) << QSize(62, 56);
}

void TstBilder::svgFolgtGroesseUndPixelverhaeltnis()
{
    QFETCH(QSize, neu);
    QFETCH(QSize, pixel);

    Fenster f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.rahmen));
    // A picture with a full background, so the grabbed widget shows it alone.
    const QString pfad = Bilder::Portraet(1);
    f.bild->SetzeSvg(pfad, Qt::IgnoreAspectRatio);
    QCOMPARE(f.bild->SvgPfad(), pfad);
    QCOMPARE(f.bild->Pixmap().size(), QSize(150, 90));

    f.bild->resize(neu);
    const QPixmap gezeigt = f.bild->Pixmap();
    QCOMPARE(gezeigt.size(), pixel);
    QCOMPARE(gezeigt.devicePixelRatio(), kDpr);
    const QImage erwartet = Argb(Bilder::Zeichne(pfad, neu, kDpr, Qt::IgnoreAspectRatio));
    QCOMPARE(Argb(gezeigt), erwartet);
    // Painted pixel for pixel, not scaled once more.
    QCOMPARE(Argb(f.bild->grab()), erwartet);
}

void TstBilder::pixmapFuelltOderZentriert_data()
{
    QTest::addColumn<Qt::AspectRatioMode>("modus");
    QTest::addColumn<QPolygon>("blau"); // logical points of the 100 x 60 widget
    QTest::addColumn<QPolygon>("frei");

    // 20 x 10 into 100 x 60: kept, it fills 100 x 50 in the middle.
    QTest::newRow("gestreckt") << Qt::IgnoreAspectRatio
                               << QPolygon({{1, 1}, {98, 1}, {1, 58}, {98, 58}, {50, 30}})
                               << QPolygon();
    QTest::newRow("Seitenverhältnis")
        << Qt::KeepAspectRatio << QPolygon({{1, 7}, {98, 7}, {1, 53}, {98, 53}, {50, 30}})
        << QPolygon({{1, 2}, {98, 2}, {1, 57}, {98, 57}});
}

void TstBilder::pixmapFuelltOderZentriert()
{
    QFETCH(Qt::AspectRatioMode, modus);
    QFETCH(QPolygon, blau);
    QFETCH(QPolygon, frei);

    Fenster f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.rahmen));
    f.bild->SetzeSvg(Bilder::Logo);
    QPixmap vorlage(20, 10);
    vorlage.fill(Qt::blue);
    f.bild->SetzePixmap(vorlage, modus);
    QVERIFY(f.bild->SvgPfad().isEmpty());

    const QImage gezeigt = f.bild->grab().toImage();
    // QTest::toString hands over a new[] buffer.
    for (const QPoint& p : blau) {
        const std::unique_ptr<char[]> ort(QTest::toString(p));
        QVERIFY2(Farbe(gezeigt, p) == qRgb(0, 0, 255), ort.get());
    }
    for (const QPoint& p : frei) {
        const std::unique_ptr<char[]> ort(QTest::toString(p));
        QVERIFY2(Farbe(gezeigt, p) != qRgb(0, 0, 255), ort.get());
    }

    f.bild->Leeren();
    QVERIFY(f.bild->Pixmap().isNull());
    QVERIFY(Farbe(f.bild->grab().toImage(), {50, 30}) != qRgb(0, 0, 255));
}

void TstBilder::passendesPixmapBleibtPixelgenau()
{
    Fenster f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.rahmen));
    // One-pixel checks blur under any scaling or half-pixel offset.
    QImage schach(150, 90, QImage::Format_ARGB32);
    for (int y = 0; y < schach.height(); ++y)
        for (int x = 0; x < schach.width(); ++x)
            schach.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    f.bild->SetzePixmap(QPixmap::fromImage(schach));
    schach.setDevicePixelRatio(kDpr);
    QCOMPARE(Argb(f.bild->grab()), schach);
}

void TstBilder::tippen_data()
{
    QTest::addColumn<Qt::MouseButton>("taste");
    QTest::addColumn<QPoint>("los"); // where the button is released; pressed at (10, 10)
    QTest::addColumn<int>("klicks");

    QTest::newRow("innen losgelassen") << Qt::LeftButton << QPoint(90, 50) << 1;
    QTest::newRow("rechts daneben losgelassen") << Qt::LeftButton << QPoint(130, 30) << 0;
    QTest::newRow("darüber losgelassen") << Qt::LeftButton << QPoint(30, -5) << 0;
    QTest::newRow("rechte Taste") << Qt::RightButton << QPoint(30, 30) << 0;
}

void TstBilder::tippen()
{
    QFETCH(Qt::MouseButton, taste);
    QFETCH(QPoint, los);
    QFETCH(int, klicks);

    Fenster f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.rahmen));
    f.bild->SetzeSvg(Bilder::Schliessen);
    QSignalSpy geklickt(f.bild, &TBild::Geklickt);
    QTest::mousePress(f.bild, taste, {}, QPoint(10, 10));
    QTest::mouseRelease(f.bild, taste, {}, los);
    QCOMPARE(geklickt.count(), klicks);
}

int main(int argc, char* argv[])
{
    // A fractional pixel ratio, as on a scaled desktop: catches sizes that ignore it or round it
    // differently.
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    TstBilder test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_bilder.moc"
