// A card window belongs to the main window but stays a window of its own.
#include "Karte.h"

#include <QGuiApplication>
#include <QScreen>

namespace Karte {

QFrame* Flaeche(QWidget* eltern, const QString& name, const QRect& lage, const QColor& farbe)
{
    auto* flaeche = new QFrame(eltern);
    flaeche->setObjectName(name);
    flaeche->setGeometry(lage);
    flaeche->setAutoFillBackground(true);
    QPalette palette = flaeche->palette();
    palette.setColor(QPalette::Window, farbe);
    flaeche->setPalette(palette);
    return flaeche;
}

void Zentrieren(QWidget* fenster)
{
    QRect bezug;
    if (const QWidget* haupt = fenster->parentWidget(); haupt && haupt->isVisible())
        bezug = haupt->frameGeometry();
    else if (const QScreen* schirm = QGuiApplication::primaryScreen())
        bezug = schirm->availableGeometry();
    if (bezug.isValid())
        fenster->move(bezug.center() - fenster->rect().center());
}

} // namespace Karte
