// The short message: a yellow card with a green tick on a background that taps pass through.
#include "uFKurzmeldung.h"

#include "Karte.h"
#include "uMeldung.h"

#include <QPainter>
#include <QPainterPath>

using namespace Qt::Literals::StringLiterals;

namespace {

const QRect kSchatten(21, 19, 272, 89);
const QRect kKarte(10, 11, 273, 89);

QLabel* Beschriftung(QWidget* eltern, const QString& name, QPoint lage, int pixel, bool fett)
{
    auto* label = new QLabel(eltern);
    label->setObjectName(name);
    QFont schrift(u"Tahoma"_s);
    schrift.setPixelSize(pixel);
    schrift.setBold(fett);
    label->setFont(schrift);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->move(lage);
    return label;
}

// A green tick of 32 x 32 on a transparent background, sharp at any pixel ratio.
QPixmap Haken(qreal pixelVerhaeltnis)
{
    QPixmap bild(QSize(32, 32) * pixelVerhaeltnis);
    bild.setDevicePixelRatio(pixelVerhaeltnis);
    bild.fill(Qt::transparent);
    QPainter maler(&bild);
    maler.setRenderHint(QPainter::Antialiasing);
    QPainterPath haken;
    haken.moveTo(5, 17);
    haken.lineTo(13, 25);
    haken.lineTo(27, 8);
    maler.setPen(QPen(QColor(0, 150, 0), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    maler.drawPath(haken);
    return bild;
}

} // namespace

TFKurzmeldung::TFKurzmeldung(QWidget* hauptfenster)
    : QWidget(hauptfenster, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(u"FKurzmeldung"_s);
    // A confirmation must not take the focus from the screen the user is working in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(309, 119);
    // Only the card and its shadow exist for the screen: the background shows what lies
    // below, and taps on it reach the windows there.
    setMask(QRegion(kSchatten) + QRegion(kKarte));

    Karte::Flaeche(this, u"panSchatten"_s, kSchatten, QColor(36, 36, 36));
    QFrame* karte = Karte::Flaeche(this, u"panKarte"_s, kKarte, QColor(255, 255, 128));

    auto* Image1 = new QLabel(karte);
    Image1->setObjectName(u"Image1"_s);
    Image1->setGeometry(185, 25, 80, 40);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(Haken(devicePixelRatioF()));

    lbl0 = Beschriftung(karte, u"lbl0"_s, QPoint(11, 37), 16, true);
    lbl1 = Beschriftung(karte, u"lbl1"_s, QPoint(11, 65), 13, false);

    Timer1.setObjectName(u"Timer1"_s);
    Timer1.setInterval(kAnzeigeMs);
    connect(&Timer1, &QTimer::timeout, this, &TFKurzmeldung::Timer1Timer);

    Meldung::SetzeKurzHandler(
        [this](const QString& titel, const QString& text1) { Start(titel, text1); });
}

TFKurzmeldung::~TFKurzmeldung()
{
    Meldung::SetzeKurzHandler({});
}

void TFKurzmeldung::Start(const QString& Titel, const QString& Text1)
{
    Timer1.stop();
    setWindowOpacity(kDeckkraft / 255.0);
    lbl0->setText(Titel);
    lbl0->adjustSize();
    lbl1->setText(Text1);
    lbl1->adjustSize();
    Karte::Zentrieren(this);
    Karte::ObenZeigen(this);
    Timer1.start();
}

void TFKurzmeldung::Timer1Timer()
{
    Timer1.stop();
    hide();
}
