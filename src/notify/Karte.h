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

// Shows the card above whichever of the program's windows is active. Under a window manager a
// full-screen window that stays on top (the measurement screen) hides every window but its own
// transients, so the card becomes a transient of that window while it is shown.
void ObenZeigen(QWidget* fenster);

} // namespace Karte
