// Drawing of the board's own controls.
#include "Bedienelemente.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

constexpr int kRandPixel = 6;
constexpr int kKleinsteSchrift = 9;

} // namespace

void TAbteilungsKnopf::paintEvent(QPaintEvent*)
{
    QStylePainter maler(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    maler.drawControl(QStyle::CE_PushButton, option);

    const QRect flaeche = rect().adjusted(kRandPixel, kRandPixel, -kRandPixel, -kRandPixel);
    const int ausrichtung = Qt::AlignCenter | Qt::TextWordWrap;
    QFont schrift = font();
    while (schrift.pixelSize() > kKleinsteSchrift &&
           !flaeche.contains(QFontMetrics(schrift).boundingRect(flaeche, ausrichtung, text())))
        schrift.setPixelSize(schrift.pixelSize() - 1);
    maler.setFont(schrift);
    maler.setPen(palette().color(isEnabled() ? QPalette::ButtonText : QPalette::PlaceholderText));
    maler.setClipRect(flaeche);
    maler.drawText(flaeche, ausrichtung, text());
}

void TNamensLabel::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    maler.setPen(palette().color(QPalette::WindowText));
    maler.drawText(rect(), int(alignment()),
                   fontMetrics().elidedText(text(), Qt::ElideRight, width()));
}
