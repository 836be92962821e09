// The dialog that asks for a serial port when the settings name port number 0.
#pragma once

#include <QDialog>

class QComboBox;

class TPortAuswahl : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kHoechsterPort = 50;

    // Offers the numbers whose devices can be opened right now.
    explicit TPortAuswahl(QWidget* parent = nullptr);

    // The chosen port's number, 0 when none can be offered.
    int GewaehlteNummer() const;

    // Asks the operator; the device of the chosen port, or empty for Cancel.
    static QString Fragen(QWidget* parent = nullptr);

private:
    QComboBox* FListe;
};
