// The station's pictures: their resource paths, SVG rendering at the real pixel size, TBild;
// and the plain colours of the screens (TGrund, SetzeTextfarbe), which need no style sheet.
#pragma once

#include <QPalette>
#include <QPixmap>
#include <QString>
#include <QWidget>

class TBild;

namespace Bilder {

using namespace Qt::Literals::StringLiterals;

inline const QString Logo = u":/bilder/logo.svg"_s;
inline const QString EsdSchutzzone = u":/bilder/esd_schutzzone.svg"_s;
inline const QString Schliessen = u":/bilder/schliessen.svg"_s;
inline const QString Lupe = u":/bilder/lupe.svg"_s;
// The measurement screen: its header, the result thumbs, the tester with the arrow at its key,
// and soles and wrist strap in the colours of a contact's state.
inline const QString Banner = u":/bilder/banner.svg"_s;
inline const QString RoterX = u":/bilder/roter_x.svg"_s;
inline const QString DaumenHoch = u":/bilder/daumen_hoch.svg"_s;
inline const QString DaumenRunter = u":/bilder/daumen_runter.svg"_s;
inline const QString Messgeraet = u":/bilder/messgeraet.svg"_s;
inline const QString Pfeil = u":/bilder/pfeil.svg"_s;
inline const QString SohleLinksGrau = u":/bilder/sohle_links_grau.svg"_s;
inline const QString SohleLinksRot = u":/bilder/sohle_links_rot.svg"_s;
inline const QString SohleLinksGruen = u":/bilder/sohle_links_gruen.svg"_s;
inline const QString SohleRechtsGrau = u":/bilder/sohle_rechts_grau.svg"_s;
inline const QString SohleRechtsRot = u":/bilder/sohle_rechts_rot.svg"_s;
inline const QString SohleRechtsGruen = u":/bilder/sohle_rechts_gruen.svg"_s;
inline const QString ArmbandGut = u":/bilder/armband_gut.svg"_s;
inline const QString ArmbandSchlecht = u":/bilder/armband_schlecht.svg"_s;

// The site's own logo in verzeichnis (logo.svg, else logo.png) when one is there and readable;
// otherwise the built-in one, with a log line for a file that could not be read.
void SetzeLogo(TBild* ziel, const QString& verzeichnis);

constexpr int kPortraets = 3;
// Placeholder portraits: 0 unknown person, 1 photo missing, 2 employee without a photo. Any other
// index also gives 2, so a caller always gets a picture.
QString Portraet(int index);

// Renders the SVG at pfad into a pixmap of groesse logical pixels: groesse * dpr device pixels
// (rounded), with dpr set. KeepAspectRatio centres the drawing and leaves the margins
// transparent, KeepAspectRatioByExpanding fills the box and crops evenly, IgnoreAspectRatio
// stretches. The drawing is aligned to whole device pixels.
// A path without a valid SVG gives a null pixmap and a warning, no exception: pictures are
// decoration, and a screen must keep working without one. An empty box gives a null pixmap.
// Decodes JPEG data straight to the given pixel size, so a large photo is never held at
// full resolution. Throws EFehler ("EJPEGFehler") when the data is not a readable JPEG; its
// message gives the reader's reason and the data's size, which tells an empty value from a
// broken one.
QImage DekodiereFoto(const QByteArray& jpeg, QSize groesse);

QPixmap Zeichne(const QString& pfad, QSize groesse, qreal dpr,
                Qt::AspectRatioMode modus = Qt::KeepAspectRatio);

} // namespace Bilder

// A plain area in one colour. It paints itself instead of passing the colour down through the
// palette, where the fields and keys on it would take it up (a field's frame is drawn from the
// window colour). Cheaper than a style sheet, which makes every child go through the style
// sheet style.
class TGrund : public QWidget
{
    Q_OBJECT

public:
    TGrund(const QColor& farbe, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor FFarbe;
};

// The colour of a label's text, through its palette (a style sheet would be slower).
inline void SetzeTextfarbe(QWidget* widget, const QColor& farbe)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, farbe);
    widget->setPalette(palette);
}

// A picture control. An SVG is rendered at the control's size times its pixel ratio whenever one
// of them changes, so it stays sharp at any scale; a pixmap is shown stretched to the whole rect
// (IgnoreAspectRatio) or centred keeping its aspect, smoothly scaled once per size. Both happen
// when the picture is first needed at a size, so hidden screens and passing sizes cost nothing.
class TBild : public QWidget
{
    Q_OBJECT

public:
    explicit TBild(QWidget* parent = nullptr);

    void SetzeSvg(const QString& pfad, Qt::AspectRatioMode modus = Qt::KeepAspectRatio);
    void SetzePixmap(const QPixmap& bild, Qt::AspectRatioMode modus = Qt::IgnoreAspectRatio);
    void Leeren();

    // What is shown now: the rendered SVG (null for an unknown one) or the given pixmap.
    QPixmap Pixmap() const;
    // Empty while a pixmap or nothing is shown.
    QString SvgPfad() const;

signals:
    // A tap: left press and release both inside the control. A release outside cancels it,
    // which is how a gesture that ends elsewhere suppresses the click.
    void Geklickt();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // FAnzeige for the current size and pixel ratio, made anew when they or the picture changed.
    const QPixmap& Anzeige() const;

    QString FSvgPfad;
    QPixmap FVorlage;
    Qt::AspectRatioMode FModus = Qt::KeepAspectRatio;
    // Ready to draw 1:1, made for FFuerGroesse at FFuerDpr; FVeraltet when the picture changed.
    mutable QPixmap FAnzeige;
    mutable QSize FFuerGroesse;
    mutable qreal FFuerDpr = 0;
    mutable bool FVeraltet = true;
    bool FGedrueckt = false;
};
