// Uniform scaling of a screen drawn in fixed design pixels to the real screen size.
#pragma once

#include <QFont>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

class TMassstab
{
public:
    explicit TMassstab(QSize entwurf) : FEntwurf(entwurf) {}

    // Factor that fits the design into the area without cutting anything off.
    static qreal FaktorFuer(QSize flaeche, QSize entwurf);

    // Places the widget at its design rectangle (relative to its parent, in design pixels);
    // a font pixel size above 0 scales the widget's current font with the layout.
    void Setze(QWidget* widget, QRect entwurf, int schriftPixel = 0);

    // Applies the factor to every registered widget.
    void Anwenden(qreal faktor);

    qreal Faktor() const { return FFaktor; }
    QSize Entwurf() const { return FEntwurf; }
    // A design rectangle in real pixels; neighbouring rectangles stay gap- and overlap-free.
    QRect Skaliert(QRect entwurf) const;
    int Skaliert(int entwurf) const;
    // The scaled design area centred in an area of that size: a screen of another shape keeps
    // black bars instead of distorting the layout.
    QRect Zentriert(QSize flaeche) const;

private:
    struct TEintrag
    {
        QPointer<QWidget> widget;
        QRect entwurf;
        QFont schrift;
        int schriftPixel;
    };

    QSize FEntwurf;
    qreal FFaktor = 1.0;
    QList<TEintrag> FEintraege;
};
