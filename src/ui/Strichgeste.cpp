// Stroke gestures by template matching plus geometric checks; swipes by their geometry alone.
#include "Strichgeste.h"

#include <QLineF>
#include <QRectF>
#include <QtMath>

#include <algorithm>
#include <limits>

namespace {

using TPunkte = QList<QPointF>;

// Strokes and templates are compared as this many points evenly spaced along the path. The
// spacing is taken after scaling, so that the long sides of a rectangle do not collect more
// points than the template's sides; a stroke is first evened out to kRohPunkte.
constexpr int kPunkte = 64;
constexpr int kRohPunkte = 128;
// Side of the square both are scaled to; the score is measured against half its diagonal.
constexpr qreal kBezugsSeite = 250;
// A side shorter than this share of the longer one keeps its proportion when scaled: a straight
// up-down stays a line instead of having its jitter blown up to the full square.
constexpr qreal kDuennsteSeite = 0.3;
// The templates come in every start corner and direction, so the rotation search only has to
// make up for a slanted hand. Wider, and an up-down would match a left-right-left.
constexpr qreal kMaxDrehung = qDegreesToRadians(45.0);
constexpr qreal kGrobSchritt = qDegreesToRadians(15.0);
constexpr qreal kFeinGenauigkeit = qDegreesToRadians(2.0);
// Score from which a stroke counts as its nearest template (1 = identical).
constexpr qreal kMindestWertung = 0.8;

// Square: the gap between start and end against the mean side, and how near the stroke has to
// pass each corner of its bounding box, in shares of the box's sides.
constexpr qreal kQuadratLuecke = 0.4;
constexpr qreal kEckenNaehe = 0.15;
// Curlicue: a loop is at least this share of the stroke's height; smaller ones are jitter.
constexpr qreal kMindestSchleife = 0.25;
// Up-down: at most this wide against its height, and each leg at most this slanted (sideways
// against up).
constexpr qreal kAufAbBreite = 1.5;
constexpr qreal kAufAbSchraege = 0.8;

// Swipe: height of the stroke against its horizontal travel, and path against travel.
constexpr qreal kWischHoehe = 0.35;
constexpr qreal kWischUmweg = 1.2;

qreal Pfadlaenge(const TPunkte& punkte)
{
    qreal laenge = 0;
    for (qsizetype i = 1; i < punkte.size(); ++i)
        laenge += QLineF(punkte[i - 1], punkte[i]).length();
    return laenge;
}

QRectF Umriss(const TPunkte& punkte)
{
    qreal links = punkte.first().x(), rechts = links;
    qreal oben = punkte.first().y(), unten = oben;
    for (const QPointF& p : punkte) {
        links = qMin(links, p.x());
        rechts = qMax(rechts, p.x());
        oben = qMin(oben, p.y());
        unten = qMax(unten, p.y());
    }
    return QRectF(QPointF(links, oben), QPointF(rechts, unten));
}

QPointF Schwerpunkt(const TPunkte& punkte)
{
    QPointF summe;
    for (const QPointF& p : punkte)
        summe += p;
    return summe / qreal(punkte.size());
}

// anzahl points at equal distances along the path, first and last point included.
TPunkte Neuabtasten(const TPunkte& strich, int anzahl)
{
    const qreal schritt = Pfadlaenge(strich) / (anzahl - 1);
    TPunkte ergebnis{strich.first()};
    ergebnis.reserve(anzahl);
    qreal gegangen = 0; // along the path since the last point taken
    for (qsizetype i = 1; i < strich.size(); ++i) {
        QPointF von = strich[i - 1];
        const QPointF bis = strich[i];
        qreal strecke = QLineF(von, bis).length();
        while (gegangen + strecke >= schritt && ergebnis.size() < anzahl) {
            von += (bis - von) * ((schritt - gegangen) / strecke);
            ergebnis.append(von);
            strecke = QLineF(von, bis).length();
            gegangen = 0;
        }
        gegangen += strecke;
    }
    // Rounding may leave the last point out.
    while (ergebnis.size() < anzahl)
        ergebnis.append(strich.last());
    return ergebnis;
}

// Turned by winkel about its centroid, which ends up on the origin.
TPunkte Gedreht(const TPunkte& punkte, qreal winkel)
{
    const QPointF mitte = Schwerpunkt(punkte);
    const qreal cosinus = qCos(winkel);
    const qreal sinus = qSin(winkel);
    TPunkte ergebnis;
    ergebnis.reserve(punkte.size());
    for (const QPointF& p : punkte) {
        const QPointF d = p - mitte;
        ergebnis.append(QPointF(d.x() * cosinus - d.y() * sinus, d.x() * sinus + d.y() * cosinus));
    }
    return ergebnis;
}

// Turned, scaled to the reference square, resampled and centred on the origin.
TPunkte Normalisiert(const TPunkte& punkte, qreal winkel)
{
    TPunkte ergebnis = Gedreht(punkte, winkel);
    const QRectF umriss = Umriss(ergebnis);
    const qreal lang = qMax(umriss.width(), umriss.height());
    const qreal faktorX = kBezugsSeite / qMax(umriss.width(), kDuennsteSeite * lang);
    const qreal faktorY = kBezugsSeite / qMax(umriss.height(), kDuennsteSeite * lang);
    for (QPointF& p : ergebnis)
        p = QPointF(p.x() * faktorX, p.y() * faktorY);
    ergebnis = Neuabtasten(ergebnis, kPunkte);
    const QPointF neueMitte = Schwerpunkt(ergebnis);
    for (QPointF& p : ergebnis)
        p -= neueMitte;
    return ergebnis;
}

qreal Pfadabstand(const TPunkte& a, const TPunkte& b)
{
    qreal summe = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        summe += QLineF(a[i], b[i]).length();
    return summe / qreal(a.size());
}

// 1 for a perfect match, falling with the mean distance of the points at the best rotation.
qreal Wertung(const TPunkte& kandidat, const TPunkte& vorlage)
{
    const auto abstand = [&](qreal winkel) {
        return Pfadabstand(Normalisiert(kandidat, winkel), vorlage);
    };
    // Coarse steps first: over the whole range the distance may have more than one valley.
    const int grobSchritte = qRound(kMaxDrehung / kGrobSchritt);
    qreal besterWinkel = 0;
    qreal bester = std::numeric_limits<qreal>::max();
    for (int i = -grobSchritte; i <= grobSchritte; ++i) {
        const qreal d = abstand(i * kGrobSchritt);
        if (d < bester) {
            bester = d;
            besterWinkel = i * kGrobSchritt;
        }
    }
    // Then a golden-section search in the valley found.
    const qreal phi = 0.5 * (qSqrt(5.0) - 1);
    qreal a = qMax(-kMaxDrehung, besterWinkel - kGrobSchritt);
    qreal b = qMin(kMaxDrehung, besterWinkel + kGrobSchritt);
    qreal x1 = b - phi * (b - a);
    qreal x2 = a + phi * (b - a);
    qreal f1 = abstand(x1);
    qreal f2 = abstand(x2);
    while (b - a > kFeinGenauigkeit) {
        if (f1 < f2) {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - phi * (b - a);
            f1 = abstand(x1);
        } else {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + phi * (b - a);
            f2 = abstand(x2);
        }
    }
    return 1 - std::min({bester, f1, f2}) / (0.5 * qSqrt(2.0) * kBezugsSeite);
}

qreal AbstandZurStrecke(const QPointF& p, const QPointF& a, const QPointF& b)
{
    const QPointF ab = b - a;
    const qreal laenge2 = QPointF::dotProduct(ab, ab);
    const qreal t =
        laenge2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / laenge2, qreal(0), qreal(1)) : 0;
    return QLineF(p, a + ab * t).length();
}

bool Kreuzen(const QPointF& a, const QPointF& b, const QPointF& c, const QPointF& d)
{
    const auto seite = [](const QPointF& p, const QPointF& q, const QPointF& r) {
        const qreal kreuz = (q.x() - p.x()) * (r.y() - p.y()) - (q.y() - p.y()) * (r.x() - p.x());
        return (kreuz > 0) - (kreuz < 0);
    };
    return seite(a, b, c) * seite(a, b, d) < 0 && seite(c, d, a) * seite(c, d, b) < 0;
}

// The stroke turned upright: of the turns within the rotation range, the one with the smallest
// bounding box.
TPunkte Aufgerichtet(const TPunkte& zug)
{
    TPunkte bestes = zug;
    qreal kleinste = std::numeric_limits<qreal>::max();
    const int schritte = qRound(qRadiansToDegrees(kMaxDrehung));
    for (int grad = -schritte; grad <= schritte; ++grad) {
        TPunkte gedreht = Gedreht(zug, qDegreesToRadians(qreal(grad)));
        const QRectF umriss = Umriss(gedreht);
        if (umriss.width() * umriss.height() < kleinste) {
            kleinste = umriss.width() * umriss.height();
            bestes = std::move(gedreht);
        }
    }
    return bestes;
}

// A drawn square, set upright, passes close by all four corners of its box, which a circle or a
// triangle do not, and ends near where it began.
bool IstQuadrat(const TPunkte& strich)
{
    const TPunkte zug = Aufgerichtet(strich);
    const QRectF umriss = Umriss(zug);
    const qreal breite = umriss.width();
    const qreal hoehe = umriss.height();
    if (qMin(breite, hoehe) < kDuennsteSeite * qMax(breite, hoehe))
        return false;
    if (QLineF(zug.first(), zug.last()).length() > kQuadratLuecke * (breite + hoehe) / 2)
        return false;
    TPunkte relativ;
    for (const QPointF& p : zug)
        relativ.append(QPointF((p.x() - umriss.left()) / breite, (p.y() - umriss.top()) / hoehe));
    for (const QPointF ecke : {QPointF(0, 0), QPointF(1, 0), QPointF(1, 1), QPointF(0, 1)}) {
        qreal naechste = 2;
        for (qsizetype i = 1; i < relativ.size(); ++i)
            naechste = qMin(naechste, AbstandZurStrecke(ecke, relativ[i - 1], relativ[i]));
        if (naechste > kEckenNaehe)
            return false;
    }
    return true;
}

// A curlicue, set upright, runs sideways and crosses itself in a real loop: one as tall as a good
// part of the stroke, not a knot of finger jitter.
bool IstSchnoerkel(const TPunkte& strich)
{
    const TPunkte zug = Aufgerichtet(strich);
    const QRectF umriss = Umriss(zug);
    const QPointF weg = zug.last() - zug.first();
    if (qAbs(weg.x()) < 0.4 * umriss.width() || qAbs(weg.x()) < qAbs(weg.y()))
        return false;
    for (qsizetype i = 1; i < zug.size(); ++i)
        for (qsizetype j = i + 2; j < zug.size(); ++j)
            if (Kreuzen(zug[i - 1], zug[i], zug[j - 1], zug[j])) {
                const QRectF schleife = Umriss(zug.mid(i, j - i));
                if (qMax(schleife.width(), schleife.height()) >= kMindestSchleife * umriss.height())
                    return true;
            }
    return false;
}

// An up-down as the screen shows it: it climbs steeply to its top around the middle of the path
// and comes down steeply to about the height it began at. A diagonal there and back is none.
bool IstAufAb(const TPunkte& zug)
{
    const QRectF umriss = Umriss(zug);
    if (umriss.width() > kAufAbBreite * umriss.height())
        return false;
    const auto gipfel = std::min_element(zug.begin(), zug.end(),
                                         [](QPointF a, QPointF b) { return a.y() < b.y(); });
    const auto stelle = std::distance(zug.begin(), gipfel);
    if (stelle < zug.size() / 5 || stelle > zug.size() * 4 / 5)
        return false;
    const qreal tief = umriss.top() + 0.6 * umriss.height();
    for (const QPointF& ende : {zug.first(), zug.last()}) {
        const QPointF schenkel = ende - *gipfel;
        if (ende.y() < tief || qAbs(schenkel.x()) > kAufAbSchraege * schenkel.y())
            return false;
    }
    return true;
}

struct TVorlage
{
    TGeste geste;
    TPunkte punkte;
};

// Templates in a unit box, y downwards as on the screen.

// A square from one corner round to anteil of its perimeter (0.75 to 1).
TPunkte Quadratzug(int startEcke, bool imUhrzeigersinn, qreal anteil)
{
    const TPunkte ecken{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const auto ecke = [&](int i) { return ecken[(startEcke + (imUhrzeigersinn ? i : 4 - i)) % 4]; };
    TPunkte zug{ecke(0), ecke(1), ecke(2), ecke(3)};
    const qreal rest = 4 * anteil - 3;
    zug.append(ecke(3) + (ecke(4) - ecke(3)) * rest);
    return zug;
}

// A trochoid: moving sideways along the bottom, each turn throws a loop over the top; with or
// without a straight run-up and run-out, each on its own, as hands draw it.
TPunkte Schnoerkelzug(int schleifen, bool nachLinks, bool schleifeUnten, bool anlauf, bool auslauf)
{
    constexpr int kSchritte = 60;
    constexpr qreal kSchleife = 2.0; // loop radius against the forward speed
    constexpr qreal kAnlauf = 6;
    TPunkte zug;
    if (anlauf)
        zug.append(QPointF(-M_PI - kAnlauf, kSchleife));
    for (int i = 0; i <= kSchritte * schleifen; ++i) {
        const qreal t = -M_PI + 2 * M_PI * i / kSchritte;
        const qreal x = t - kSchleife * qSin(t);
        const qreal y = -kSchleife * qCos(t);
        zug.append(QPointF(x, y));
    }
    if (auslauf)
        zug.append(zug.last() + QPointF(kAnlauf, 0));
    for (QPointF& p : zug)
        p = QPointF(nachLinks ? -p.x() : p.x(), schleifeUnten ? -p.y() : p.y());
    return zug;
}

TPunkte AufAbZug(qreal breite, bool nachLinks)
{
    const qreal richtung = nachLinks ? -1 : 1;
    return {{0, 1}, {richtung * breite / 2, 0}, {richtung * breite, 1}};
}

class TStrichErkenner
{
public:
    TStrichErkenner()
    {
        for (int ecke = 0; ecke < 4; ++ecke)
            for (const bool uhrzeigersinn : {true, false})
                for (const qreal anteil : {1.0, 0.9})
                    Neu(TGeste::Quadrat, Quadratzug(ecke, uhrzeigersinn, anteil));
        for (int schleifen = 1; schleifen <= 3; ++schleifen)
            for (const bool nachLinks : {false, true})
                for (const bool unten : {false, true})
                    for (const bool anlauf : {false, true})
                        for (const bool auslauf : {false, true})
                            Neu(TGeste::Schnoerkel,
                                Schnoerkelzug(schleifen, nachLinks, unten, anlauf, auslauf));
        // Straight, narrow and wide; beyond kDuennsteSeite every width scales alike.
        for (const qreal breite : {0.0, 0.15, 0.5})
            for (const bool nachLinks : {false, true})
                Neu(TGeste::AufAb, AufAbZug(breite, nachLinks));
    }

    TGeste Erkenne(const TPunkte& strich, qreal mindestGroesse) const
    {
        if (strich.size() < 2)
            return TGeste::Keine;
        const QRectF umriss = Umriss(strich);
        if (qMax(umriss.width(), umriss.height()) < mindestGroesse || Pfadlaenge(strich) <= 0)
            return TGeste::Keine;
        const TPunkte zug = Neuabtasten(strich, kRohPunkte);
        TGeste naechste = TGeste::Keine;
        qreal beste = kMindestWertung;
        for (const TVorlage& vorlage : FVorlagen) {
            const qreal wertung = Wertung(zug, vorlage.punkte);
            if (wertung >= beste) {
                beste = wertung;
                naechste = vorlage.geste;
            }
        }
        // The nearest template has to fit the shape as well; a stroke that looks most like a
        // square but is none is no gesture at all.
        const TPunkte grob = Neuabtasten(zug, kPunkte);
        switch (naechste) {
        case TGeste::Quadrat:
            return IstQuadrat(grob) ? naechste : TGeste::Keine;
        case TGeste::Schnoerkel:
            return IstSchnoerkel(grob) ? naechste : TGeste::Keine;
        case TGeste::AufAb:
            return IstAufAb(grob) ? naechste : TGeste::Keine;
        case TGeste::Keine:
            break;
        }
        return TGeste::Keine;
    }

private:
    void Neu(TGeste geste, const TPunkte& zug)
    {
        FVorlagen.append({geste, Normalisiert(Neuabtasten(zug, kRohPunkte), 0)});
    }

    QList<TVorlage> FVorlagen;
};

} // namespace

TGeste ErkenneGeste(const QList<QPointF>& strich, qreal mindestGroesse)
{
    static const TStrichErkenner erkenner;
    return erkenner.Erkenne(strich, mindestGroesse);
}

TWischen ErkenneWischen(const QList<QPointF>& strich, qreal mindestLaenge)
{
    if (strich.size() < 2)
        return TWischen::Keines;
    const qreal weit = strich.last().x() - strich.first().x();
    if (qAbs(weit) < mindestLaenge || weit == 0)
        return TWischen::Keines;
    // Flat, one way and without detours; a coarse resampling keeps finger jitter out of the
    // path length.
    const QRectF umriss = Umriss(strich);
    if (umriss.height() > kWischHoehe * qAbs(weit) || umriss.width() > kWischUmweg * qAbs(weit))
        return TWischen::Keines;
    if (Pfadlaenge(Neuabtasten(strich, 16)) > kWischUmweg * qAbs(weit))
        return TWischen::Keines;
    return weit < 0 ? TWischen::NachLinks : TWischen::NachRechts;
}
