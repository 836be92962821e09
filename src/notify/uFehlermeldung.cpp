// The error overlay: a red card with a shadow on a background that taps pass through.
#include "uFehlermeldung.h"

#include "Bilder.h"
#include "Karte.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QRect kSchatten(731, 456, 590, 249);
const QRect kKarte(720, 448, 585, 241);

QLabel* Beschriftung(QWidget* karte, const QString& name, QPoint lage, int pixel, bool fett,
                     const QString& text = QString())
{
    auto* label = new QLabel(text, karte);
    label->setObjectName(name);
    QFont schrift(u"Verdana"_s);
    schrift.setPixelSize(pixel);
    schrift.setBold(fett);
    label->setFont(schrift);
    // Labels paint the card colour behind their text; the card clips what runs past its edge.
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Window, karte->palette().color(QPalette::Window));
    label->setPalette(palette);
    label->move(lage);
    label->adjustSize();
    return label;
}

} // namespace

TFehlermeldung::TFehlermeldung(QWidget* hauptfenster)
    : QWidget(hauptfenster, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"Fehlermeldung"_s);
    // The person at the tester may be typing a name: the overlay must not take the focus.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(1920, 1080);
    setWindowOpacity(kDeckkraft / 255.0);
    setMask(Kartenbereich());

    Karte::Flaeche(this, u"panSchatten"_s, kSchatten, QColor(36, 36, 36));
    QFrame* karte = Karte::Flaeche(this, u"panKarte"_s, kKarte, QColor(255, 60, 60));

    Image1 = new TBild(karte);
    Image1->setObjectName(u"Image1"_s);
    Image1->setGeometry(537, 16, 64, 44);
    Image1->SetzeSvg(Bilder::RoterX);
    Image1->setFixedSize(64, 44);
    connect(Image1, &TBild::Geklickt, this, &TFehlermeldung::Image1Click);

    Beschriftung(karte, u"lbl0"_s, QPoint(11, 37), 19, true, u"Es ist ein Fehler aufgetreten!"_s);
    lblText1 = Beschriftung(karte, u"lblText1"_s, QPoint(11, 65), 13, true);
    lblText2 = Beschriftung(karte, u"lblText2"_s, QPoint(11, 85), 13, true);
    Beschriftung(karte, u"Label1"_s, QPoint(13, 139), 19, true, u"Fehlercode:"_s);
    lblErrorcode = Beschriftung(karte, u"lblErrorcode"_s, QPoint(148, 139), 19, false);
    // Above the labels, which may run under it.
    Image1->raise();
}

QRegion TFehlermeldung::Kartenbereich()
{
    return QRegion(kSchatten) + QRegion(kKarte);
}

void TFehlermeldung::Start(const QString& Text1, const QString& Text2, const QString& Errorcode)
{
    for (auto [label, text] : {std::pair{lblText1, &Text1}, std::pair{lblText2, &Text2},
                               std::pair{lblErrorcode, &Errorcode}}) {
        label->setText(*text);
        label->adjustSize();
    }
    Karte::Zentrieren(this);
    Karte::ObenZeigen(this);
}

void TFehlermeldung::Image1Click()
{
    hide();
}
