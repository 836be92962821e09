// Watches the strokes drawn on one window, by mouse or finger, and reports gestures and swipes.
#pragma once

#include "Strichgeste.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class QMouseEvent;
class QTouchEvent;

// Only observes: presses and moves reach the controls as before. When a stroke turns out to be
// a gesture or a swipe, its release is swallowed and the control under the press gets a release
// far outside itself instead (a touch control gets TouchCancel): a button then un-downs without
// clicking, and a control of our own that clicks on release has to check the position, as
// QAbstractButton does. Taps, also with a few pixels of finger jitter, click as before.
class TGestenFilter : public QObject
{
    Q_OBJECT

public:
    // Thresholds in pixels at a layout scale of 1.0 (1920 x 1080).
    static constexpr qreal kMindestGroesse = 80;  // extent of a shape gesture
    static constexpr qreal kMindestWischen = 150; // horizontal travel of a swipe

    // Watches strokes anywhere on fenster and its children; not on its dialogs or other windows.
    explicit TGestenFilter(QWidget* fenster);
    ~TGestenFilter() override;

    // The window's layout scale; the thresholds scale with it.
    void SetzeMassstab(qreal faktor);

signals:
    // start is the widget under the stroke's first point.
    void Geste(TGeste geste, QWidget* start);
    void Wischen(TWischen richtung, QWidget* start);

protected:
    bool eventFilter(QObject* beobachtet, QEvent* ereignis) override;

private:
    enum class TQuelle
    {
        Keine,
        Maus,
        Finger,
        Abgebrochen // until the buttons are up or the fingers lifted
    };

    struct TBefund
    {
        TGeste geste = TGeste::Keine;
        TWischen wischen = TWischen::Keines;
        bool Erkannt() const { return geste != TGeste::Keine || wischen != TWischen::Keines; }
    };

    bool Maus(QWidget* empfaenger, QMouseEvent* ereignis);
    void FingerAmFenster(const QTouchEvent* ereignis);
    bool FingerAmWidget(QWidget* empfaenger, QTouchEvent* ereignis);
    void Beginne(TQuelle quelle, const QPointF& punkt, QWidget* start);
    void Hinzu(const QPointF& punkt);
    TBefund Erkenne() const;
    // Emits at most one signal for the finished stroke.
    void Melde(const TBefund& befund, QWidget* start);
    void Unterdruecke(QWidget* empfaenger, QMouseEvent* freigabe);
    void Unterdruecke(QWidget* empfaenger, QTouchEvent* ende);

    QPointer<QWidget> FFenster;
    qreal FMassstab = 1.0;

    TQuelle FQuelle = TQuelle::Keine;
    QList<QPointF> FStrich; // global coordinates
    QPointer<QWidget> FStart;
    quint64 FDruckZeit = 0; // to know the press again while it is offered to the parents
    // Between the window's TouchBegin and TouchEnd; mouse events Qt makes of that touch then
    // belong to the stroke already recorded from the touch events.
    bool FFingerUnten = false;
    // A finger stroke was recognised: the release Qt makes of it is swallowed.
    bool FFreigabeSchlucken = false;
    bool FErsatzUnterwegs = false; // our replacement release passes the filter untouched
};
