// The period report's pictures: the stacked bars of the days and the small trend of one person.
#pragma once

#include "Zeitraumbericht.h"

#include <QColor>
#include <QList>
#include <QRectF>

class QPainter;

namespace Diagramm {

inline const QColor kBestanden{0, 128, 0};
inline const QColor kDurchgefallen{200, 0, 0};
inline const QColor kNichtGemessen{160, 160, 160};
// The trend lines: left sole, right sole, wrist strap.
inline const QColor kSchuhL{30, 90, 200};
inline const QColor kSchuhR{230, 130, 0};
inline const QColor kArmband{130, 40, 160};

// Stacked bars per day (Qt Charts); needs a QApplication.
void Tage(QPainter& maler, const QRectF& ziel, const QList<TTageszahlen>& tage);
// The numeric values over time as three lines on one scale; points without a number are left
// out, so "OVR" never shows as a value.
void Verlauf(QPainter& maler, const QRectF& ziel, const QList<TVerlaufspunkt>& punkte);

} // namespace Diagramm
