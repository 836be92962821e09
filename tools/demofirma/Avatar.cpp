// Portraits drawn back to front in a 480 × 600 space: background, hair behind the head, coat,
// neck, head, hair in front, face, glasses. Every feature comes from one seeded generator.
#include "Avatar.h"

#include <QBuffer>
#include <QColor>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QRectF>

#include <array>

namespace Avatar {
namespace {

constexpr qreal kBreite = 480;
constexpr qreal kHoehe = 600;
constexpr qreal kMitte = kBreite / 2;

enum class TFrisur
{
    Kurz,
    Scheitel,
    Bob,
    Lang,
    Dutt,
    Lockig,
    Kurzgeschoren,
    Glatze
};

enum class TKleidung
{
    KittelBlau,
    KittelGrau,
    Hemd
};

enum class TBart
{
    Keiner,
    Vollbart,
    Schnurrbart,
    Stoppeln
};

enum class TMund
{
    Bogen,
    Offen,
    Schmal
};

constexpr std::array<QRgb, 6> kHaut{0xFFF8D9C0, 0xFFF1C6A5, 0xFFE0AC7E,
                                    0xFFC68B59, 0xFF9C6840, 0xFF6E4A2E};
constexpr std::array<QRgb, 5> kHaar{0xFF2B2321, 0xFF4A3325, 0xFF7A5235, 0xFFD2A860, 0xFFB0562E};
constexpr std::array<QRgb, 2> kGrau{0xFF9A9A9A, 0xFFD8D4CE};
constexpr std::array<QRgb, 6> kHemd{0xFF4E8F5A, 0xFFB84A4A, 0xFF6C5BA8,
                                    0xFF3A8FA0, 0xFFE0A030, 0xFF394A6B};
constexpr std::array<QRgb, 4> kBrille{0xFF2C2C2C, 0xFF7A4A2A, 0xFF2E5FA8, 0xFFA33A3A};
constexpr std::array<TFrisur, 4> kFrisurenFrau{TFrisur::Lang, TFrisur::Bob, TFrisur::Dutt,
                                               TFrisur::Lockig};
constexpr std::array<TFrisur, 5> kFrisurenMann{TFrisur::Kurz, TFrisur::Scheitel, TFrisur::Lockig,
                                               TFrisur::Kurzgeschoren, TFrisur::Glatze};

struct TMerkmale
{
    bool Frau = false;
    int Farbton = 0; // background hue
    TKleidung Kleidung = TKleidung::KittelBlau;
    QColor Stoff;
    QColor Haut;
    QColor Haar;
    TFrisur Frisur = TFrisur::Kurz;
    TBart Bart = TBart::Keiner;
    TMund Mund = TMund::Bogen;
    bool Brille = false;
    bool RundeBrille = false;
    QColor Brillenfarbe;
    bool FroheAugen = false;
    QRectF Kopf;
};

template <typename T, size_t N> T Eins(QRandomGenerator& zufall, const std::array<T, N>& werte)
{
    return werte[static_cast<size_t>(zufall.bounded(static_cast<int>(N)))];
}

TMerkmale Waehle(quint32 merkmal)
{
    QRandomGenerator zufall(merkmal);
    TMerkmale m;
    m.Frau = (merkmal & 1u) != 0;
    m.Farbton = zufall.bounded(360);
    const int kleidung = zufall.bounded(100);
    if (kleidung < 45) {
        m.Kleidung = TKleidung::KittelBlau;
        m.Stoff = QColor::fromHsv(205 + zufall.bounded(16), 150 + zufall.bounded(40),
                                  165 + zufall.bounded(30));
    } else if (kleidung < 75) {
        m.Kleidung = TKleidung::KittelGrau;
        m.Stoff = QColor::fromHsv(215, 12 + zufall.bounded(14), 205 + zufall.bounded(20));
    } else {
        m.Kleidung = TKleidung::Hemd;
        m.Stoff = QColor::fromRgb(Eins(zufall, kHemd));
    }
    m.Haut = QColor::fromRgb(Eins(zufall, kHaut));
    m.Haar = QColor::fromRgb(zufall.bounded(100) < 15 ? Eins(zufall, kGrau) : Eins(zufall, kHaar));
    // Coloured hair close to the skin's lightness would melt into the face.
    if (m.Haar.hslSaturation() > 60 && qAbs(m.Haar.lightness() - m.Haut.lightness()) < 45)
        m.Haar = m.Haar.darker(150);
    m.Frisur = m.Frau ? Eins(zufall, kFrisurenFrau) : Eins(zufall, kFrisurenMann);
    if (!m.Frau) {
        const int bart = zufall.bounded(100);
        m.Bart = bart < 15   ? TBart::Vollbart
                 : bart < 27 ? TBart::Schnurrbart
                 : bart < 37 ? TBart::Stoppeln
                             : TBart::Keiner;
    }
    m.Mund = static_cast<TMund>(zufall.bounded(3));
    m.Brille = zufall.bounded(100) < 30;
    m.RundeBrille = zufall.bounded(2) == 1;
    m.Brillenfarbe = QColor::fromRgb(Eins(zufall, kBrille));
    m.FroheAugen = zufall.bounded(6) == 0;
    const qreal rx = 96 + zufall.bounded(12);
    const qreal ry = 118 + zufall.bounded(10);
    m.Kopf = QRectF(kMitte - rx, 290 - ry, 2 * rx, 2 * ry);
    return m;
}

QPainterPath Ellipse(const QRectF& rechteck)
{
    QPainterPath pfad;
    pfad.addEllipse(rechteck);
    return pfad;
}

QPainterPath Abgerundet(const QRectF& rechteck, qreal radius)
{
    QPainterPath pfad;
    pfad.addRoundedRect(rechteck, radius, radius);
    return pfad;
}

void Fuellen(QPainter& maler, const QPainterPath& pfad, const QColor& farbe)
{
    maler.fillPath(pfad, farbe);
}

void Strich(QPainter& maler, const QPainterPath& pfad, const QColor& farbe, qreal breite)
{
    maler.strokePath(pfad, QPen(farbe, breite, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void Hintergrund(QPainter& maler, const TMerkmale& m)
{
    QLinearGradient verlauf(0, 0, 0, kHoehe);
    verlauf.setColorAt(0, QColor::fromHsv(m.Farbton, 45, 245));
    verlauf.setColorAt(1, QColor::fromHsv((m.Farbton + 25) % 360, 85, 215));
    maler.fillRect(QRectF(0, 0, kBreite, kHoehe), verlauf);
    Fuellen(maler, Ellipse(QRectF(kMitte - 210, 70, 420, 420)), QColor(255, 255, 255, 45));
}

// Curls along the upper half of the head; long curly hair also as a bumpy mass down to the
// shoulders. Circles are united one by one: overlaps of a single path would be left unfilled.
QPainterPath Locken(const QRectF& kopf, bool lang)
{
    QPainterPath pfad;
    const auto locke = [&pfad](const QPointF& mitte, qreal radius) {
        QPainterPath kreis;
        kreis.addEllipse(mitte, radius, radius);
        pfad = pfad.united(kreis);
    };
    const QPointF mitte = kopf.center() - QPointF(0, 14);
    const qreal rx = kopf.width() / 2 + 6;
    const qreal ry = kopf.height() / 2 + 6;
    for (int grad = 180; grad <= 360; grad += 15) {
        const qreal w = qDegreesToRadians(static_cast<qreal>(grad));
        locke(QPointF(mitte.x() + rx * qCos(w), mitte.y() + ry * qSin(w)), 30);
    }
    if (lang) {
        QPainterPath masse;
        masse.addRoundedRect(
            QRectF(kopf.left() - 30, kopf.top() + 10, kopf.width() + 60, kopf.height() + 20), 70,
            70);
        pfad = pfad.united(masse);
        for (qreal y = mitte.y(); y <= kopf.bottom() + 20; y += 34) {
            locke(QPointF(kopf.left() - 30, y), 32);
            locke(QPointF(kopf.right() + 30, y), 32);
        }
    }
    return pfad;
}

void HaarHinten(QPainter& maler, const TMerkmale& m)
{
    const QRectF& k = m.Kopf;
    QPainterPath pfad;
    switch (m.Frisur) {
    case TFrisur::Lang:
        pfad.addRoundedRect(QRectF(k.left() - 26, k.top() - 6, k.width() + 52, 520 - k.top()), 95,
                            95);
        break;
    case TFrisur::Bob:
        // Round over the crown, straight down to the jaw.
        pfad = Ellipse(QRectF(k.left() - 20, k.top() - 8, k.width() + 40, k.height() * 0.9))
                   .united(Abgerundet(
                       QRectF(k.left() - 20, k.center().y() - 30, k.width() + 40, 108), 30));
        break;
    case TFrisur::Lockig:
        pfad = Locken(k, m.Frau);
        break;
    default:
        return;
    }
    Fuellen(maler, pfad, m.Haar.darker(112));
}

void Kleidung(QPainter& maler, const TMerkmale& m)
{
    QPainterPath koerper;
    koerper.moveTo(0, kHoehe);
    koerper.lineTo(0, 575);
    koerper.cubicTo(8, 515, 70, 478, 170, 462);
    koerper.quadTo(kMitte, 452, 310, 462);
    koerper.cubicTo(410, 478, 472, 515, kBreite, 575);
    koerper.lineTo(kBreite, kHoehe);
    koerper.closeSubpath();
    QLinearGradient verlauf(0, 455, 0, kHoehe);
    verlauf.setColorAt(0, m.Stoff.lighter(106));
    verlauf.setColorAt(1, m.Stoff.darker(112));
    maler.fillPath(koerper, verlauf);

    const QColor kante = m.Stoff.darker(135);
    if (m.Kleidung == TKleidung::Hemd) {
        for (const qreal y : {522.0, 566.0})
            Fuellen(maler, Ellipse(QRectF(kMitte - 6, y - 6, 12, 12)), m.Stoff.darker(125));
        return;
    }
    // The shirt in the coat's opening; the neck covers its upper part.
    QPainterPath ausschnitt;
    ausschnitt.moveTo(194, 455);
    ausschnitt.lineTo(286, 455);
    ausschnitt.lineTo(kMitte, 552);
    ausschnitt.closeSubpath();
    Fuellen(maler, ausschnitt,
            m.Kleidung == TKleidung::KittelBlau ? QColor(244, 246, 248) : QColor(214, 228, 245));
    QPainterPath mittelnaht;
    mittelnaht.moveTo(kMitte, 552);
    mittelnaht.lineTo(kMitte, kHoehe);
    Strich(maler, mittelnaht, kante, 3);
    Fuellen(maler, Ellipse(QRectF(kMitte + 8, 574, 13, 13)), kante);

    // ESD patch on the chest: a yellow label with the black warning triangle.
    const QRectF schild(302, 516, 52, 36);
    QPainterPath etikett;
    etikett.addRoundedRect(schild, 6, 6);
    Fuellen(maler, etikett, QColor(245, 196, 0));
    QPainterPath dreieck;
    dreieck.moveTo(schild.center().x(), schild.top() + 6);
    dreieck.lineTo(schild.right() - 12, schild.bottom() - 6);
    dreieck.lineTo(schild.left() + 12, schild.bottom() - 6);
    dreieck.closeSubpath();
    Strich(maler, dreieck, QColor(30, 30, 30), 3);
}

void Kragen(QPainter& maler, const TMerkmale& m)
{
    const QColor kante = m.Stoff.darker(135);
    for (const qreal seite : {-1.0, 1.0}) {
        QPainterPath klappe;
        if (m.Kleidung == TKleidung::Hemd) {
            klappe.moveTo(kMitte + seite * 46, 450);
            klappe.lineTo(kMitte + seite * 4, 492);
            klappe.lineTo(kMitte + seite * 24, 514);
            klappe.lineTo(kMitte + seite * 70, 468);
        } else {
            klappe.moveTo(kMitte + seite * 48, 452);
            klappe.lineTo(kMitte + seite * 92, 470);
            klappe.lineTo(kMitte + seite * 38, 522);
            klappe.lineTo(kMitte, 554);
        }
        klappe.closeSubpath();
        Fuellen(maler, klappe, m.Stoff.lighter(108));
        Strich(maler, klappe, kante, 2);
    }
}

void Hals(QPainter& maler, const TMerkmale& m)
{
    const qreal oben = m.Kopf.center().y() + 60;
    QPainterPath hals;
    hals.moveTo(kMitte - 44, oben);
    hals.lineTo(kMitte - 44, 455);
    hals.quadTo(kMitte, 500, kMitte + 44, 455);
    hals.lineTo(kMitte + 44, oben);
    hals.closeSubpath();
    Fuellen(maler, hals, m.Haut);
    // The chin's shadow on the neck.
    maler.save();
    maler.setClipPath(hals);
    Fuellen(maler, Ellipse(QRectF(kMitte - 60, m.Kopf.bottom() - 40, 120, 72)), m.Haut.darker(118));
    maler.restore();
}

void Kopf(QPainter& maler, const TMerkmale& m)
{
    const QRectF& k = m.Kopf;
    for (const qreal x : {k.left(), k.right()}) {
        const QRectF ohr(x - 18, k.center().y() - 16, 36, 56);
        Fuellen(maler, Ellipse(ohr), m.Haut);
        Fuellen(maler, Ellipse(ohr.adjusted(9, 12, -9, -12)), m.Haut.darker(115));
    }
    Fuellen(maler, Ellipse(k), m.Haut);
}

// The head's outline above the hair line, with hair down to the temples.
QPainterPath Kappe(const QRectF& kopf, qreal stirn, qreal schlaefe, qreal versatz)
{
    const QPainterPath oval = Ellipse(kopf.adjusted(-10, -12, 10, 0));
    const qreal mitte = kopf.center().x() + versatz;
    QPainterPath oben;
    oben.moveTo(0, 0);
    oben.lineTo(kBreite, 0);
    oben.lineTo(kBreite, schlaefe);
    oben.lineTo(kopf.right() - 16, schlaefe);
    oben.cubicTo(kopf.right() - 10, stirn + 26, mitte + 52, stirn - 4, mitte, stirn);
    oben.cubicTo(mitte - 52, stirn - 4, kopf.left() + 10, stirn + 26, kopf.left() + 16, schlaefe);
    oben.lineTo(0, schlaefe);
    oben.closeSubpath();
    return oval.intersected(oben);
}

void HaarVorn(QPainter& maler, const TMerkmale& m)
{
    const QRectF& k = m.Kopf;
    const qreal stirn = k.top() + k.height() * 0.22;
    const qreal schlaefe = k.center().y() - 4;
    switch (m.Frisur) {
    case TFrisur::Kurz:
        Fuellen(maler, Kappe(k, stirn, schlaefe, 0), m.Haar);
        break;
    case TFrisur::Scheitel: {
        // A fringe swept to one side, with the parting as a darker line.
        const QPainterPath oval = Ellipse(k.adjusted(-10, -16, 10, 0));
        QPainterPath oben;
        oben.moveTo(0, 0);
        oben.lineTo(kBreite, 0);
        oben.lineTo(kBreite, schlaefe);
        oben.lineTo(k.right() - 16, schlaefe);
        oben.cubicTo(k.right() - 12, stirn + 10, k.center().x() + 40, stirn - 18,
                     k.center().x() - 10, stirn - 6);
        oben.cubicTo(k.center().x() - 50, stirn + 4, k.left() + 6, stirn + 40, k.left() + 16,
                     schlaefe);
        oben.lineTo(0, schlaefe);
        oben.closeSubpath();
        Fuellen(maler, oval.intersected(oben), m.Haar);
        QPainterPath scheitel;
        scheitel.moveTo(k.center().x() - 34, k.top() + 6);
        scheitel.quadTo(k.center().x() - 40, stirn - 20, k.center().x() - 30, stirn - 2);
        Strich(maler, scheitel, m.Haar.darker(130), 4);
        break;
    }
    case TFrisur::Bob:
    case TFrisur::Lang: {
        // Parted in the middle, falling to both sides of the face.
        const qreal mitte = k.center().x();
        QPainterPath haare;
        haare.moveTo(mitte, k.top() - 8);
        haare.cubicTo(k.right() + 20, k.top() - 4, k.right() + 8, k.center().y(), k.right() + 4,
                      k.center().y() + 40);
        haare.lineTo(k.right() - 10, k.center().y() + 40);
        haare.cubicTo(k.right() - 12, stirn + 20, mitte + 40, stirn - 10, mitte, stirn - 4);
        haare.cubicTo(mitte - 40, stirn - 10, k.left() + 12, stirn + 20, k.left() + 10,
                      k.center().y() + 40);
        haare.lineTo(k.left() - 4, k.center().y() + 40);
        haare.cubicTo(k.left() - 8, k.center().y(), k.left() - 20, k.top() - 4, mitte, k.top() - 8);
        haare.closeSubpath();
        Fuellen(maler, haare, m.Haar);
        break;
    }
    case TFrisur::Dutt: {
        const QRectF dutt(k.center().x() - 46, k.top() - 62, 92, 88);
        Fuellen(maler, Ellipse(dutt), m.Haar.darker(108));
        Fuellen(maler, Kappe(k, stirn - 6, schlaefe + 10, 0), m.Haar);
        QPainterPath band;
        band.moveTo(dutt.left() + 18, dutt.bottom() - 10);
        band.quadTo(dutt.center().x(), dutt.bottom() + 2, dutt.right() - 18, dutt.bottom() - 10);
        Strich(maler, band, QColor::fromHsv((m.Farbton + 180) % 360, 160, 200), 7);
        break;
    }
    case TFrisur::Lockig:
        Fuellen(maler, Kappe(k, stirn + 6, schlaefe, 0).united(Locken(k, false)), m.Haar);
        break;
    case TFrisur::Kurzgeschoren: {
        QColor stoppeln = m.Haar;
        stoppeln.setAlpha(150);
        Fuellen(maler, Kappe(k, stirn - 8, schlaefe, 0), stoppeln);
        break;
    }
    case TFrisur::Glatze: {
        // Hair only above the ears, and a shine on the crown.
        maler.save();
        maler.setClipPath(Ellipse(k));
        for (const qreal x : {k.left() - 10, k.right() - 12}) {
            QPainterPath seite;
            seite.addRoundedRect(QRectF(x, k.center().y() - 40, 22, 44), 11, 11);
            Fuellen(maler, seite, m.Haar);
        }
        maler.restore();
        Fuellen(maler, Ellipse(QRectF(k.left() + 40, k.top() + 14, 60, 30)),
                QColor(255, 255, 255, 60));
        break;
    }
    }
}

void Bart(QPainter& maler, const TMerkmale& m, qreal mundY)
{
    if (m.Bart == TBart::Keiner)
        return;
    const QRectF& k = m.Kopf;
    const qreal cy = k.center().y();
    QPainterPath schnauzer;
    schnauzer.moveTo(kMitte - 44, mundY + 2);
    schnauzer.quadTo(kMitte, mundY - 30, kMitte + 44, mundY + 2);
    schnauzer.quadTo(kMitte, mundY - 10, kMitte - 44, mundY + 2);
    schnauzer.closeSubpath();
    if (m.Bart == TBart::Schnurrbart) {
        Fuellen(maler, schnauzer, m.Haar);
        return;
    }
    QPainterPath unten;
    unten.moveTo(0, cy + 6);
    unten.lineTo(k.left() + 16, cy + 6);
    unten.cubicTo(k.left() + 26, cy + 74, kMitte - 60, cy + 52, kMitte, cy + 56);
    unten.cubicTo(kMitte + 60, cy + 52, k.right() - 26, cy + 74, k.right() - 16, cy + 6);
    unten.lineTo(kBreite, cy + 6);
    unten.lineTo(kBreite, kHoehe);
    unten.lineTo(0, kHoehe);
    unten.closeSubpath();
    QPainterPath bart = Ellipse(k.adjusted(-3, 0, 3, 10)).intersected(unten);
    if (m.Bart == TBart::Stoppeln) {
        QColor stoppeln = m.Haar;
        stoppeln.setAlpha(70);
        Fuellen(maler, bart, stoppeln);
        return;
    }
    bart = bart.subtracted(Ellipse(QRectF(kMitte - 36, mundY - 10, 72, 36)));
    Fuellen(maler, bart.united(schnauzer), m.Haar);
}

void Gesicht(QPainter& maler, const TMerkmale& m)
{
    const QRectF& k = m.Kopf;
    const qreal cy = k.center().y();
    const qreal augenY = cy + 8;
    const qreal mundY = cy + 76;
    const QColor dunkel(45, 40, 38);

    Bart(maler, m, mundY);

    for (const qreal seite : {-1.0, 1.0}) {
        const qreal x = kMitte + seite * 42;
        // Brows rise towards the middle of the face.
        QPainterPath braue;
        braue.moveTo(x + seite * 20, augenY - 30);
        braue.quadTo(x, augenY - 44, x - seite * 20, augenY - 36);
        Strich(maler, braue, m.Haar.darker(m.Frisur == TFrisur::Glatze ? 100 : 120),
               m.Frau ? 5 : 7);
        if (m.FroheAugen) {
            QPainterPath auge;
            auge.moveTo(x - 12, augenY + 3);
            auge.quadTo(x, augenY - 10, x + 12, augenY + 3);
            Strich(maler, auge, dunkel, 6);
        } else {
            Fuellen(maler, Ellipse(QRectF(x - 9, augenY - 12, 18, 24)), dunkel);
            Fuellen(maler, Ellipse(QRectF(x - 1, augenY - 9, 7, 7)), Qt::white);
        }
        Fuellen(maler, Ellipse(QRectF(x + seite * 20 - 20, cy + 42, 40, 24)),
                QColor(240, 110, 110, 55));
    }

    QPainterPath nase;
    nase.moveTo(kMitte - 9, cy + 44);
    nase.quadTo(kMitte, cy + 54, kMitte + 9, cy + 44);
    Strich(maler, nase, m.Haut.darker(135), 5);

    const QColor lippe(156, 59, 54);
    QPainterPath mund;
    switch (m.Mund) {
    case TMund::Bogen:
        mund.moveTo(kMitte - 32, mundY);
        mund.quadTo(kMitte, mundY + 26, kMitte + 32, mundY);
        Strich(maler, mund, lippe, 6);
        break;
    case TMund::Schmal:
        mund.moveTo(kMitte - 22, mundY + 2);
        mund.quadTo(kMitte, mundY + 16, kMitte + 22, mundY + 2);
        Strich(maler, mund, lippe, 5);
        break;
    case TMund::Offen:
        mund.moveTo(kMitte - 34, mundY - 2);
        mund.quadTo(kMitte, mundY + 48, kMitte + 34, mundY - 2);
        mund.quadTo(kMitte, mundY + 4, kMitte - 34, mundY - 2);
        mund.closeSubpath();
        Fuellen(maler, mund, QColor(123, 35, 48));
        maler.save();
        maler.setClipPath(mund);
        maler.fillRect(QRectF(kMitte - 36, mundY - 8, 72, 15), Qt::white);
        Fuellen(maler, Ellipse(QRectF(kMitte - 16, mundY + 16, 32, 18)), QColor(226, 112, 122));
        maler.restore();
        break;
    }

    if (!m.Brille)
        return;
    for (const qreal seite : {-1.0, 1.0}) {
        const qreal x = kMitte + seite * 42;
        QPainterPath glas;
        if (m.RundeBrille)
            glas.addEllipse(QPointF(x, augenY), 29, 27);
        else
            glas.addRoundedRect(QRectF(x - 31, augenY - 22, 62, 44), 14, 14);
        Fuellen(maler, glas, QColor(255, 255, 255, 40));
        Strich(maler, glas, m.Brillenfarbe, 5);
        QPainterPath buegel;
        buegel.moveTo(x + seite * 30, augenY - 8);
        buegel.lineTo(seite < 0 ? k.left() + 2 : k.right() - 2, augenY - 12);
        Strich(maler, buegel, m.Brillenfarbe, 5);
    }
    QPainterPath steg;
    steg.moveTo(kMitte - 12, augenY - 6);
    steg.quadTo(kMitte, augenY - 14, kMitte + 12, augenY - 6);
    Strich(maler, steg, m.Brillenfarbe, 5);
}

} // namespace

QImage Zeichne(quint32 merkmal, QSize groesse)
{
    const TMerkmale m = Waehle(merkmal);
    QImage bild(groesse, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter maler(&bild);
    maler.setRenderHint(QPainter::Antialiasing);
    maler.setPen(Qt::NoPen);
    maler.scale(groesse.width() / kBreite, groesse.height() / kHoehe);
    Hintergrund(maler, m);
    HaarHinten(maler, m);
    Kleidung(maler, m);
    Hals(maler, m);
    Kragen(maler, m);
    Kopf(maler, m);
    HaarVorn(maler, m);
    Gesicht(maler, m);
    maler.end();
    return bild;
}

QByteArray Jpeg(quint32 merkmal, QSize groesse)
{
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    QImageWriter schreiber(&puffer, QByteArrayLiteral("jpeg"));
    schreiber.setQuality(kJpegQualitaet);
    return schreiber.write(Zeichne(merkmal, groesse)) ? daten : QByteArray();
}

} // namespace Avatar
