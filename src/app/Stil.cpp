// Fusion drawn with a dark palette; it ships with Qt, so it is present on every station.
#include "Stil.h"

#include "uMeldung.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kSchriftPixel = 19;

} // namespace

void WendeDunklenStilAn()
{
    QStyle* stil = QStyleFactory::create(u"Fusion"_s);
    if (stil == nullptr) {
        Meldung::Zeigen(Meldung::Art::Fehler,
                        u"Der Stil \"Fusion\" konnte nicht geladen werden."_s);
        return;
    }
    QApplication::setStyle(stil);

    const QColor hell(0xE6, 0xE6, 0xE6);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, hell);
    palette.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    palette.setColor(QPalette::AlternateBase, QColor(0x2A, 0x2A, 0x2A));
    palette.setColor(QPalette::Text, hell);
    palette.setColor(QPalette::Button, QColor(0x2D, 0x2D, 0x2D));
    palette.setColor(QPalette::ButtonText, hell);
    palette.setColor(QPalette::ToolTipBase, QColor(0x2D, 0x2D, 0x2D));
    palette.setColor(QPalette::ToolTipText, hell);
    palette.setColor(QPalette::Highlight, QColor(0x3C, 0x78, 0xFF));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    QApplication::setPalette(palette);

    // Read at arm's length on a touch screen; the fonts fall back where Segoe UI is missing.
    QFont schrift(u"Segoe UI"_s);
    schrift.setPixelSize(kSchriftPixel);
    QApplication::setFont(schrift);
}
