// The short confirmation message that shows for about a second.
#pragma once

#include <QWidget>

class TFKurzmeldung : public QWidget
{
    Q_OBJECT

public:
    explicit TFKurzmeldung(QWidget* parent = nullptr);
};

// Program-wide reference, set while the window set exists.
extern TFKurzmeldung* FKurzmeldung;
