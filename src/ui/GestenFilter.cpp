// One stroke at a time from mouse or finger; a recognised one clicks nothing.
#include "GestenFilter.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTouchEvent>
#include <QWindow>

namespace {

// Where the replacement release lands, relative to the control: far beyond any hit margin.
const QPointF kWeitDraussen(-10000, -10000);

} // namespace

TGestenFilter::TGestenFilter(QWidget* fenster) : QObject(fenster), FFenster(fenster)
{
    // Application-wide: a control grabs the mouse and takes touches, so a filter on the window
    // alone would miss them.
    QCoreApplication::instance()->installEventFilter(this);
}

TGestenFilter::~TGestenFilter()
{
    if (QCoreApplication* anwendung = QCoreApplication::instance())
        anwendung->removeEventFilter(this);
}

void TGestenFilter::SetzeMassstab(qreal faktor)
{
    if (faktor > 0)
        FMassstab = faktor;
}

bool TGestenFilter::eventFilter(QObject* beobachtet, QEvent* ereignis)
{
    if (FErsatzUnterwegs || !FFenster)
        return false;
    switch (ereignis->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (auto* widget = qobject_cast<QWidget*>(beobachtet);
            widget && widget->window() == FFenster)
            return Maus(widget, static_cast<QMouseEvent*>(ereignis));
        break;
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        // The window gets every touch once and whole, whether a control takes touches or not;
        // controls get them only if they take them.
        if (beobachtet == FFenster->windowHandle())
            FingerAmFenster(static_cast<QTouchEvent*>(ereignis));
        else if (auto* widget = qobject_cast<QWidget*>(beobachtet);
                 widget && widget->window() == FFenster)
            return FingerAmWidget(widget, static_cast<QTouchEvent*>(ereignis));
        break;
    default:
        break;
    }
    return false;
}

bool TGestenFilter::Maus(QWidget* empfaenger, QMouseEvent* ereignis)
{
    // A touch stroke is recorded from the touch events; what Qt makes of it for the mouse is the
    // same stroke again.
    if (ereignis->source() == Qt::MouseEventSynthesizedByQt && FFingerUnten)
        return false;
    const QPointF punkt = ereignis->globalPosition();
    switch (ereignis->type()) {
    case QEvent::MouseButtonPress:
        if (ereignis->button() != Qt::LeftButton) {
            if (FQuelle == TQuelle::Maus)
                FQuelle = TQuelle::Abgebrochen;
            return false;
        }
        // The same press comes again for each parent while it propagates.
        if (FQuelle == TQuelle::Maus && ereignis->timestamp() == FDruckZeit &&
            FStrich.first() == punkt)
            return false;
        if (FQuelle == TQuelle::Keine || FQuelle == TQuelle::Maus) {
            FFreigabeSchlucken = false;
            FDruckZeit = ereignis->timestamp();
            Beginne(TQuelle::Maus, punkt, empfaenger);
        }
        return false;
    case QEvent::MouseMove:
        if (FQuelle == TQuelle::Maus && ereignis->buttons().testFlag(Qt::LeftButton))
            Hinzu(punkt);
        return false;
    default: // release
        if (ereignis->button() != Qt::LeftButton)
            return false;
        if (FFreigabeSchlucken) {
            FFreigabeSchlucken = false;
            Unterdruecke(empfaenger, ereignis);
            return true;
        }
        if (FQuelle == TQuelle::Abgebrochen && ereignis->buttons() == Qt::NoButton)
            FQuelle = TQuelle::Keine;
        if (FQuelle != TQuelle::Maus)
            return false;
        Hinzu(punkt);
        FQuelle = TQuelle::Keine;
        const QPointer<QWidget> start = FStart;
        const TBefund befund = Erkenne();
        if (!befund.Erkannt())
            return false;
        Unterdruecke(empfaenger, ereignis);
        Melde(befund, start);
        return true;
    }
}

void TGestenFilter::FingerAmFenster(const QTouchEvent* ereignis)
{
    const bool einFinger = ereignis->points().size() == 1;
    switch (ereignis->type()) {
    case QEvent::TouchBegin: {
        FFingerUnten = true;
        FFreigabeSchlucken = false;
        if (FQuelle == TQuelle::Maus)
            return;
        if (!einFinger) {
            FQuelle = TQuelle::Abgebrochen;
            return;
        }
        const QPointF punkt = ereignis->points().first().globalPosition();
        QWidget* start = FFenster->childAt(FFenster->mapFromGlobal(punkt.toPoint()));
        Beginne(TQuelle::Finger, punkt, start ? start : FFenster.data());
        return;
    }
    case QEvent::TouchUpdate:
        if (FQuelle != TQuelle::Finger)
            return;
        // A second finger means zooming or a slip of the hand, never a stroke.
        if (!einFinger)
            FQuelle = TQuelle::Abgebrochen;
        else
            Hinzu(ereignis->points().first().globalPosition());
        return;
    case QEvent::TouchEnd:
        FFingerUnten = false;
        if (FQuelle == TQuelle::Finger && einFinger) {
            Hinzu(ereignis->points().first().globalPosition());
            FQuelle = TQuelle::Keine;
            const TBefund befund = Erkenne();
            FFreigabeSchlucken = befund.Erkannt();
            // Reported before the control gets its (replaced) end of the touch.
            Melde(befund, FStart);
        } else if (FQuelle != TQuelle::Maus) {
            FQuelle = TQuelle::Keine;
        }
        return;
    default: // cancelled by the system
        FFingerUnten = false;
        if (FQuelle != TQuelle::Maus)
            FQuelle = TQuelle::Keine;
        return;
    }
}

bool TGestenFilter::FingerAmWidget(QWidget* empfaenger, QTouchEvent* ereignis)
{
    // Only a control that takes touches itself gets the end of the touch; after a recognised
    // stroke it gets a cancel instead.
    if (ereignis->type() != QEvent::TouchEnd || !FFreigabeSchlucken)
        return false;
    FFreigabeSchlucken = false;
    Unterdruecke(empfaenger, ereignis);
    return true;
}

void TGestenFilter::Beginne(TQuelle quelle, const QPointF& punkt, QWidget* start)
{
    FQuelle = quelle;
    FStrich = {punkt};
    FStart = start;
}

void TGestenFilter::Hinzu(const QPointF& punkt)
{
    // Each move comes again for each parent while it propagates.
    if (FStrich.last() != punkt)
        FStrich.append(punkt);
}

TGestenFilter::TBefund TGestenFilter::Erkenne() const
{
    TBefund befund;
    befund.geste = ErkenneGeste(FStrich, kMindestGroesse * FMassstab);
    if (befund.geste == TGeste::Keine)
        befund.wischen = ErkenneWischen(FStrich, kMindestWischen * FMassstab);
    return befund;
}

void TGestenFilter::Melde(const TBefund& befund, QWidget* start)
{
    if (befund.geste != TGeste::Keine)
        emit Geste(befund.geste, start);
    else if (befund.wischen != TWischen::Keines)
        emit Wischen(befund.wischen, start);
}

void TGestenFilter::Unterdruecke(QWidget* empfaenger, QMouseEvent* freigabe)
{
    const QPointF versatz = kWeitDraussen - freigabe->position();
    QMouseEvent ersatz(QEvent::MouseButtonRelease, kWeitDraussen,
                       freigabe->scenePosition() + versatz, freigabe->globalPosition() + versatz,
                       freigabe->button(), freigabe->buttons(), freigabe->modifiers(),
                       freigabe->source(), freigabe->pointingDevice());
    ersatz.setTimestamp(freigabe->timestamp());
    const QScopedValueRollback<bool> unterwegs(FErsatzUnterwegs, true);
    QCoreApplication::sendEvent(empfaenger, &ersatz);
    freigabe->accept();
}

void TGestenFilter::Unterdruecke(QWidget* empfaenger, QTouchEvent* ende)
{
    QTouchEvent abbruch(QEvent::TouchCancel, ende->pointingDevice(), ende->modifiers());
    const QScopedValueRollback<bool> unterwegs(FErsatzUnterwegs, true);
    QCoreApplication::sendEvent(empfaenger, &abbruch);
    ende->accept();
}
