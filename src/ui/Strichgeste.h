// Recognises the stroke gestures of the touch screens and the horizontal swipe that turns pages.
#pragma once

#include <QList>
#include <QPointF>

enum class TGeste
{
    Keine,
    Quadrat,    // one stroke around a square or rectangle, any corner, either way round
    Schnoerkel, // a sideways line with one or more loops, either direction
    AufAb       // up and back down along nearly the same path
};

enum class TWischen
{
    Keines,
    NachLinks,
    NachRechts
};

// Stroke in any pixel units; strokes whose extent is below mindestGroesse never count.
TGeste ErkenneGeste(const QList<QPointF>& strich, qreal mindestGroesse = 80);

// A stroke that travels at least mindestLaenge sideways, straight and flat.
TWischen ErkenneWischen(const QList<QPointF>& strich, qreal mindestLaenge = 150);
