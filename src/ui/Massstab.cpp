// Rounds edges, not sizes, so that adjoining controls keep touching at every factor.
#include "Massstab.h"

#include <algorithm>
#include <cmath>

qreal TMassstab::FaktorFuer(QSize flaeche, QSize entwurf)
{
    if (entwurf.isEmpty() || flaeche.isEmpty())
        return 1.0;
    return std::min(qreal(flaeche.width()) / entwurf.width(),
                    qreal(flaeche.height()) / entwurf.height());
}

void TMassstab::Setze(QWidget* widget, QRect entwurf, int schriftPixel)
{
    TEintrag eintrag{widget, entwurf, widget->font(), schriftPixel};
    if (schriftPixel > 0)
        eintrag.schrift.setPixelSize(schriftPixel);
    FEintraege.append(eintrag);
    widget->setGeometry(Skaliert(entwurf));
    if (schriftPixel > 0) {
        QFont schrift = eintrag.schrift;
        schrift.setPixelSize(std::max(1, Skaliert(schriftPixel)));
        widget->setFont(schrift);
    }
}

int TMassstab::Skaliert(int entwurf) const
{
    return int(std::lround(entwurf * FFaktor));
}

QRect TMassstab::Skaliert(QRect entwurf) const
{
    const int links = Skaliert(entwurf.x());
    const int oben = Skaliert(entwurf.y());
    const int rechts = Skaliert(entwurf.x() + entwurf.width());
    const int unten = Skaliert(entwurf.y() + entwurf.height());
    return {links, oben, std::max(1, rechts - links), std::max(1, unten - oben)};
}

QRect TMassstab::Zentriert(QSize flaeche) const
{
    const QSize groesse = Skaliert(QRect(QPoint(0, 0), FEntwurf)).size();
    return {
        QPoint((flaeche.width() - groesse.width()) / 2, (flaeche.height() - groesse.height()) / 2),
        groesse};
}

void TMassstab::Anwenden(qreal faktor)
{
    FFaktor = faktor;
    for (const TEintrag& eintrag : std::as_const(FEintraege)) {
        if (eintrag.widget.isNull())
            continue;
        eintrag.widget->setGeometry(Skaliert(eintrag.entwurf));
        if (eintrag.schriftPixel > 0) {
            QFont schrift = eintrag.schrift;
            schrift.setPixelSize(std::max(1, Skaliert(eintrag.schriftPixel)));
            eintrag.widget->setFont(schrift);
        }
    }
}
