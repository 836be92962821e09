// The frame both screens are built in: a stage drawn in design pixels, scaled uniformly and
// centred on black, with the gesture recogniser kept at the same scale.
#pragma once

#include "Massstab.h"

#include <QString>
#include <QWidget>

class TGestenFilter;

class TBildschirm : public QWidget
{
    Q_OBJECT

public:
    // Every screen is drawn for this size and scaled uniformly to the real one.
    static constexpr QSize kEntwurf{1920, 1080};

    // The object name is the window's name, by which tests and screenshots find it.
    TBildschirm(const QString& name, Qt::WindowFlags flags, QWidget* parent = nullptr);

    QWidget* Buehne() const { return FBuehne; }
    const TMassstab& Massstab() const { return FMassstab; }
    TGestenFilter* GestureManager1() const { return FGesten; }

    // Gives a control its name; returns it for use in the same expression.
    template <typename T> static T* Benannt(T* widget, const QString& name)
    {
        widget->setObjectName(name);
        return widget;
    }

protected:
    // Places a control on the layout at its design rectangle (see TMassstab::Setze).
    void Setze(QWidget* widget, QRect entwurf, int schriftPixel = 0)
    {
        FMassstab.Setze(widget, entwurf, schriftPixel);
    }
    // Scales the stage and everything placed on it to an area of that size.
    void Skalieren(QSize flaeche);
    // The resize handler of a screen: runs after the frame has scaled the stage, for what
    // lies outside it.
    virtual void FormResize() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* FBuehne;
    TMassstab FMassstab{kEntwurf};
    TGestenFilter* FGesten;
};
