// Renders the compiled-in SVGs at device resolution and shows them or a pixmap in TBild.
#include "Bilder.h"

#include "uFehler.h"

#include <QBuffer>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSvgRenderer>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// Where a picture of flaeche device pixels sits centred in a box of box device pixels. Whole
// pixels, so the edges of a picture with a full background stay crisp.
QRect Zentriert(QSize flaeche, QSize box)
{
    return QRect(QPoint((box.width() - flaeche.width()) / 2, (box.height() - flaeche.height()) / 2),
                 flaeche);
}

} // namespace

QString Bilder::Portraet(int index)
{
    if (index < 0 || index >= kPortraets)
        index = kPortraets - 1;
    return u":/bilder/portrait_%1.svg"_s.arg(index);
}

QImage Bilder::DekodiereFoto(const QByteArray& jpeg, QSize groesse)
{
    QBuffer puffer;
    puffer.setData(jpeg);
    puffer.open(QIODevice::ReadOnly);
    // Only JPEG: the photos are JPEG by contract, other data means a broken upload.
    QImageReader leser(&puffer, "jpeg");
    leser.setScaledSize(groesse);
    QImage bild = leser.read();
    if (bild.isNull())
        throw EFehler(u"EJPEGFehler"_s, u"Die Daten sind kein lesbares JPEG-Bild (%1, %2 Bytes)."_s
                                            .arg(leser.errorString())
                                            .arg(jpeg.size()));
    return bild;
}

QPixmap Bilder::Zeichne(const QString& pfad, QSize groesse, qreal dpr, Qt::AspectRatioMode modus)
{
    if (groesse.isEmpty() || dpr <= 0)
        return {};
    QSvgRenderer svg;
    // Existence first: a wrong path then gives one clear line instead of the parser's complaint.
    if (!QFile::exists(pfad) || !svg.load(pfad)) {
        qWarning("Bilder: no SVG picture at %s", qUtf8Printable(pfad));
        return {};
    }

    // Painted in device pixels, so that the offset of a centred drawing is exact.
    const QSize pixel = groesse * dpr;
    if (pixel.isEmpty())
        return {};
    const QSize flaeche = svg.viewBoxF().size().scaled(QSizeF(pixel), modus).toSize();
    QImage bild(pixel, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    {
        QPainter maler(&bild);
        maler.setRenderHint(QPainter::Antialiasing);
        svg.render(&maler, QRectF(Zentriert(flaeche, pixel)));
    }
    bild.setDevicePixelRatio(dpr);
    return QPixmap::fromImage(std::move(bild));
}

void Bilder::SetzeLogo(TBild* ziel, const QString& verzeichnis)
{
    const QDir ort(verzeichnis);
    const QString svg = ort.filePath(u"logo.svg"_s);
    const QString png = ort.filePath(u"logo.png"_s);
    if (QFile::exists(svg)) {
        if (QSvgRenderer(svg).isValid()) {
            ziel->SetzeSvg(svg);
            return;
        }
        qWarning("Bilder: %s is no readable SVG picture; the built-in logo shows",
                 qUtf8Printable(svg));
    } else if (QFile::exists(png)) {
        QImageReader leser(png, "png");
        const QImage bild = leser.read();
        if (!bild.isNull()) {
            ziel->SetzePixmap(QPixmap::fromImage(bild), Qt::KeepAspectRatio);
            return;
        }
        qWarning("Bilder: %s is no readable PNG picture (%s); the built-in logo shows",
                 qUtf8Printable(png), qUtf8Printable(leser.errorString()));
    }
    ziel->SetzeSvg(Logo);
}

TGrund::TGrund(const QColor& farbe, QWidget* parent) : QWidget(parent), FFarbe(farbe)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGrund::paintEvent(QPaintEvent* event)
{
    QPainter(this).fillRect(event->rect(), FFarbe);
}

TBild::TBild(QWidget* parent) : QWidget(parent) {}

void TBild::SetzeSvg(const QString& pfad, Qt::AspectRatioMode modus)
{
    FSvgPfad = pfad;
    FVorlage = QPixmap();
    FModus = modus;
    FVeraltet = true;
    update();
}

void TBild::SetzePixmap(const QPixmap& bild, Qt::AspectRatioMode modus)
{
    FSvgPfad.clear();
    FVorlage = bild;
    FModus = modus;
    FVeraltet = true;
    update();
}

void TBild::Leeren()
{
    FSvgPfad.clear();
    FVorlage = QPixmap();
    FVeraltet = true;
    update();
}

QPixmap TBild::Pixmap() const
{
    return FSvgPfad.isEmpty() ? FVorlage : Anzeige();
}

QString TBild::SvgPfad() const
{
    return FSvgPfad;
}

const QPixmap& TBild::Anzeige() const
{
    // The pixel ratio changes without a resize when the window moves to another screen.
    if (!FVeraltet && FFuerGroesse == size() && qFuzzyCompare(FFuerDpr, devicePixelRatioF()))
        return FAnzeige;
    FVeraltet = false;
    FFuerGroesse = size();
    FFuerDpr = devicePixelRatioF();
    if (!FSvgPfad.isEmpty()) {
        FAnzeige = Bilder::Zeichne(FSvgPfad, FFuerGroesse, FFuerDpr, FModus);
        return FAnzeige;
    }
    const QSize pixel = FFuerGroesse * FFuerDpr;
    if (FVorlage.isNull() || pixel.isEmpty()) {
        FAnzeige = QPixmap();
        return FAnzeige;
    }
    // A pixmap made for exactly this size is shown as it is, pixel for pixel.
    FAnzeige = FVorlage.size() == pixel ? FVorlage
                                        : FVorlage.scaled(pixel, FModus, Qt::SmoothTransformation);
    FAnzeige.setDevicePixelRatio(FFuerDpr);
    return FAnzeige;
}

void TBild::paintEvent(QPaintEvent*)
{
    const QPixmap& anzeige = Anzeige();
    if (anzeige.isNull())
        return;
    const QRect lage = Zentriert(anzeige.size(), size() * FFuerDpr);
    QPainter maler(this);
    maler.drawPixmap(QPointF(lage.topLeft()) / FFuerDpr, anzeige);
}

void TBild::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    FGedrueckt = true;
}

void TBild::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool tipp = FGedrueckt && rect().contains(event->position().toPoint());
    FGedrueckt = false;
    if (tipp)
        emit Geklickt();
}
