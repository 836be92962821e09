// A card window belongs to the main window but stays a window of its own.
#include "Karte.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>

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

void ObenZeigen(QWidget* fenster)
{
    QWidget* oben = QApplication::activeWindow();
    if (oben == nullptr || oben == fenster)
        oben = fenster->parentWidget() ? fenster->parentWidget()->window() : nullptr;
    if (oben != nullptr && oben != fenster) {
        // Created first: creating it would set its owner back to the parent widget's window.
        fenster->winId();
        QWindow* eigenes = fenster->windowHandle();
        QWindow* bezug = oben->windowHandle();
        if (eigenes != nullptr && bezug != nullptr && eigenes->transientParent() != bezug) {
            // A window manager reads the owner when the window is mapped.
            fenster->hide();
            eigenes->setTransientParent(bezug);
        }
    }
    fenster->show();
    fenster->raise();
}

} // namespace Karte
