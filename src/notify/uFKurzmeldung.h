// The short confirmation message that shows for one second and vanishes by itself.
#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

class TFKurzmeldung : public QWidget
{
    Q_OBJECT

public:
    // Centred on hauptfenster when given (it stays a window of its own). While it exists it
    // shows every short confirmation of the program.
    explicit TFKurzmeldung(QWidget* hauptfenster = nullptr);
    ~TFKurzmeldung() override;

    static constexpr int kAnzeigeMs = 1000;
    static constexpr int kDeckkraft = 230; // of 255

    // Shows the message and returns at once; a message still showing is replaced and the
    // full display time starts again.
    void Start(const QString& Titel, const QString& Text1);

    void Timer1Timer();

    QTimer Timer1;

private:
    QLabel* lbl0;
    QLabel* lbl1;
};
