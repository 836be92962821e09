// The on-screen keyboard of the measurement screen: German keys that type into the focused field.
#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QWidget>

class TTastaturTaste;

// The keys lay themselves out from the current size, so the screen may scale the keyboard
// uniformly. Neither it nor its keys take the focus: a tap becomes a key press and a key release
// sent to the focused widget, where that widget's event filters see them.
class TTouchKeyboard : public QWidget
{
    Q_OBJECT

public:
    explicit TTouchKeyboard(QWidget* parent = nullptr);

    // The size the measurement screen places it at; every key is finger-sized there.
    static constexpr QSize kEntwurfsgroesse{1569, 521};

    // Shift is latched for the next character (either Shift key, released by the next key).
    bool Umschaltung() const { return FUmschaltung; }

    QSize sizeHint() const override { return kEntwurfsgroesse; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TTastaturTaste* NeueTaste(const QString& name, const QString& aufschrift, int zeile,
                              qreal spalte, qreal breite);
    void Zeichenreihe(int zeile, qreal spalte, QStringView reihe, QStringView umschaltReihe,
                      QStringView namen);
    void Antippen(const TTastaturTaste* taste);
    void Umschalten(bool an);

    QList<TTastaturTaste*> FTasten;
    bool FUmschaltung = false;
};
