// The see-through red error overlay shown during a measurement.
#pragma once

#include <QLabel>
#include <QWidget>

class TBild;

class TFehlermeldung : public QWidget
{
    Q_OBJECT

public:
    // Centred on hauptfenster when given (it stays a window of its own).
    explicit TFehlermeldung(QWidget* hauptfenster = nullptr);

    static constexpr int kDeckkraft = 240; // of 255

    // Shows the texts and returns at once; a message still showing is replaced and brought
    // to the front. It stays until its close mark is tapped.
    void Start(const QString& Text1, const QString& Text2, const QString& Errorcode);

    void Image1Click();
    void Image1DblClick() { Image1Click(); }

    // The region that takes taps: the card and its shadow.
    static QRegion Kartenbereich();

private:
    QLabel* lblText1;
    QLabel* lblText2;
    QLabel* lblErrorcode;
    TBild* Image1;
};
