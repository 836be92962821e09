// Tells a badge reader from a person at the keyboard: both type, but a reader types a whole
// number in a burst and ends it with Enter.
#pragma once

#include <QString>

#include <optional>

class TAusweisleser
{
public:
    // A reader's keys come a few milliseconds apart; nobody types four keys that fast.
    static constexpr int kMindestzeichen = 4;
    static constexpr qint64 kHoechstabstandMs = 60;
    // Longer input is no badge number; it is dropped rather than kept growing.
    static constexpr int kHoechstzeichen = 64;

    // A printable key at the given time (the key event's milliseconds). A gap of the maximum or
    // more starts a new burst with this key; blanks end it.
    void Zeichen(QChar zeichen, qint64 zeitMs);
    // Enter: the number when the keys before it, and Enter itself, came as a burst of at least
    // the minimum length. Either way the burst is over.
    std::optional<QString> Eingabe(qint64 zeitMs);
    void Verwerfen();

private:
    QString FPuffer;
    qint64 FLetzte = 0;
};
