// The panel that asks for the PIN on the on-screen keyboard before the program ends.
#pragma once

#include "EndePin.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class TTouchKeyboard;

// Lies over the main window's cards; shown only while it asks. No nested event loop: the answer
// arrives as the Enter of the field.
class TPinAbfrage : public QWidget
{
    Q_OBJECT

public:
    explicit TPinAbfrage(QWidget* parent);

    // Asks for the PIN; danach runs after the right one. Three wrong ones, or Abbrechen, close
    // the panel and leave the station as it was.
    void Fragen(TEndePin* pin, std::function<void()> danach);
    // The Enter of the field: checks what was typed.
    void edPinEnter();
    void btnAbbrechenClick();

    QLabel* lblPin;
    QLineEdit* edPin;
    TTouchKeyboard* TouchKeyboard1;
    QPushButton* btnAbbrechen;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void Schliessen();

    TEndePin* FPin = nullptr;
    std::function<void()> FDanach;
};
