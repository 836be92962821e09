// Pieces shared by the notification cards: flat coloured panels and centring on the main window.
#pragma once

#include <QColor>
#include <QFrame>
#include <QRect>
#include <QString>

namespace Karte {

// A flat panel filled with one colour.
QFrame* Flaeche(QWidget* eltern, const QString& name, const QRect& lage, const QColor& farbe);

// Centres the window on its parent window while that is shown, else on the primary screen.
void Zentrieren(QWidget* fenster);

} // namespace Karte
