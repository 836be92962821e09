// Controls of the board that plain Qt widgets do not quite cover.
#pragma once

#include "Bilder.h"

#include <QLabel>
#include <QPushButton>

// A department button: long names wrap onto a second line and shrink before they are cut.
class TAbteilungsKnopf : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// An employee's name under the photo; a name too long for the tile ends in an ellipsis.
class TNamensLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The photo of a tile; its tag is the key of the employee shown, 0 on an empty tile.
class TKachelFoto : public TBild
{
    Q_OBJECT

public:
    using TBild::TBild;

    int Tag = 0;
};
