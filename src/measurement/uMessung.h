// The measurement screen: one employee's test at the ESD tester.
#pragma once

#include <QWidget>

class TFMessung : public QWidget
{
    Q_OBJECT

public:
    explicit TFMessung(QWidget* parent = nullptr);
};

// Program-wide reference, set while the window set exists.
extern TFMessung* FMessung;
