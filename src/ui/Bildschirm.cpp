// The frame both screens are built in.
#include "Bildschirm.h"

#include "GestenFilter.h"

#include <QPaintEvent>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

TBildschirm::TBildschirm(const QString& name, Qt::WindowFlags flags, QWidget* parent)
    : QWidget(parent, flags), FBuehne(Benannt(new QWidget(this), u"Buehne"_s)),
      FGesten(new TGestenFilter(this))
{
    setObjectName(name);
    // Black behind everything, painted once by the window; the stage is transparent on it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    FBuehne->setGeometry(QRect(QPoint(0, 0), kEntwurf));
}

void TBildschirm::Skalieren(QSize flaeche)
{
    const qreal faktor = TMassstab::FaktorFuer(flaeche, kEntwurf);
    FMassstab.Anwenden(faktor);
    FBuehne->setGeometry(FMassstab.Zentriert(flaeche));
    FGesten->SetzeMassstab(faktor);
    FormResize();
}

void TBildschirm::paintEvent(QPaintEvent* event)
{
    QPainter(this).fillRect(event->rect(), Qt::black);
}

void TBildschirm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Skalieren(size());
}
