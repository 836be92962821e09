// The see-through red error overlay shown during a measurement.
#pragma once

#include <QWidget>

class TFehlermeldung : public QWidget
{
    Q_OBJECT

public:
    explicit TFehlermeldung(QWidget* parent = nullptr);
};

// Program-wide reference, set while the window set exists.
extern TFehlermeldung* Fehlermeldung;
