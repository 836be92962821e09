// Charts are laid out at screen scale and painted scaled into the page, so their fonts keep
// their proportions at the writer's resolution.
#include "Diagramm.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QPainter>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// Pixels of the chart's layout per pixel of the page.
constexpr qreal kBildschirmDpi = 96;
// More days than this get only every n-th label.
constexpr qsizetype kMaxBeschriftungen = 31;

} // namespace

namespace Diagramm {

void Tage(QPainter& maler, const QRectF& ziel, const QList<TTageszahlen>& tage)
{
    auto* bestanden = new QBarSet(u"Bestanden"_s);
    auto* durchgefallen = new QBarSet(u"Nicht bestanden"_s);
    auto* nichtGemessen = new QBarSet(u"Nicht gemessen"_s);
    bestanden->setColor(kBestanden);
    durchgefallen->setColor(kDurchgefallen);
    nichtGemessen->setColor(kNichtGemessen);
    QStringList beschriftungen;
    const qsizetype schritt =
        std::max<qsizetype>(1, (tage.size() + kMaxBeschriftungen - 1) / kMaxBeschriftungen);
    int hoechstwert = 1;
    for (qsizetype i = 0; i < tage.size(); ++i) {
        const TTageszahlen& t = tage.at(i);
        *bestanden << t.Bestanden;
        *durchgefallen << t.Durchgefallen;
        *nichtGemessen << t.NichtGemessen;
        hoechstwert = std::max(hoechstwert, t.Bestanden + t.Durchgefallen + t.NichtGemessen);
        // Category labels must differ; the blank ones differ by their length.
        beschriftungen << (i % schritt == 0 ? t.Tag.toString(u"dd.MM."_s)
                                            : QString(static_cast<int>(i), u' '));
    }
    auto* reihe = new QStackedBarSeries;
    reihe->append(bestanden);
    reihe->append(durchgefallen);
    reihe->append(nichtGemessen);
    reihe->setBarWidth(0.8);

    QGraphicsScene szene;
    auto* diagramm = new QChart; // owned by the scene
    szene.addItem(diagramm);
    diagramm->setAnimationOptions(QChart::NoAnimation);
    diagramm->addSeries(reihe);
    auto* achseX = new QBarCategoryAxis;
    achseX->append(beschriftungen);
    achseX->setLabelsAngle(-90);
    // Narrow bars would otherwise elide every date to nothing.
    achseX->setTruncateLabels(false);
    QFont klein = achseX->labelsFont();
    klein.setPointSizeF(7);
    achseX->setLabelsFont(klein);
    auto* achseY = new QValueAxis;
    achseY->setRange(0, hoechstwert);
    achseY->setLabelFormat(u"%d"_s);
    achseY->applyNiceNumbers();
    diagramm->addAxis(achseX, Qt::AlignBottom);
    diagramm->addAxis(achseY, Qt::AlignLeft);
    reihe->attachAxis(achseX);
    reihe->attachAxis(achseY);
    diagramm->legend()->setAlignment(Qt::AlignBottom);
    diagramm->setBackgroundVisible(false);
    diagramm->setMargins(QMargins(0, 0, 0, 0));

    const qreal massstab = maler.device()->logicalDpiX() / kBildschirmDpi;
    const QSizeF groesse = ziel.size() / massstab;
    diagramm->resize(groesse);
    szene.setSceneRect(QRectF(QPointF(0, 0), groesse));
    szene.render(&maler, ziel, szene.sceneRect());
}

void Verlauf(QPainter& maler, const QRectF& ziel, const QList<TVerlaufspunkt>& punkte)
{
    using TWert = std::optional<double> TVerlaufspunkt::*;
    const std::pair<TWert, QColor> reihen[] = {{&TVerlaufspunkt::SchuhL, kSchuhL},
                                               {&TVerlaufspunkt::SchuhR, kSchuhR},
                                               {&TVerlaufspunkt::Armband, kArmband}};
    std::optional<double> kleinster;
    std::optional<double> groesster;
    for (const TVerlaufspunkt& p : punkte) {
        for (const auto& [wert, farbe] : reihen) {
            if (const std::optional<double>& x = p.*wert) {
                kleinster = std::min(kleinster.value_or(*x), *x);
                groesster = std::max(groesster.value_or(*x), *x);
            }
        }
    }
    if (!kleinster || punkte.size() < 1)
        return;
    const qreal spanne = std::max(*groesster - *kleinster, 1e-9);
    const qint64 beginn = punkte.constFirst().Zeit.toSecsSinceEpoch();
    const qint64 dauer = std::max<qint64>(1, punkte.constLast().Zeit.toSecsSinceEpoch() - beginn);
    const auto ort = [&](const TVerlaufspunkt& p, double x) {
        const qreal links = punkte.size() == 1
                                ? 0.5
                                : static_cast<qreal>(p.Zeit.toSecsSinceEpoch() - beginn) /
                                      static_cast<qreal>(dauer);
        return QPointF(ziel.left() + links * ziel.width(),
                       ziel.bottom() - (x - *kleinster) / spanne * ziel.height());
    };
    maler.setRenderHint(QPainter::Antialiasing);
    const qreal strich = ziel.height() / 30;
    for (const auto& [wert, farbe] : reihen) {
        QPolygonF linie;
        for (const TVerlaufspunkt& p : punkte) {
            if (const std::optional<double>& x = p.*wert)
                linie << ort(p, *x);
        }
        maler.setPen(QPen(farbe, strich));
        maler.drawPolyline(linie);
        maler.setBrush(farbe);
        for (const QPointF& punkt : linie)
            maler.drawEllipse(punkt, strich * 1.2, strich * 1.2);
    }
}

} // namespace Diagramm
