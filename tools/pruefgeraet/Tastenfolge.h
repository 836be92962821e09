// Types a text into another program's window the way a USB badge reader does: the reader is a
// keyboard, so the station only ever sees key presses in its focused window. X11 only (XTest).
#pragma once

#include <QString>

// Gives the visible top-level window titled fenstertitel the input focus, then presses and
// releases a key for each character of text (digits, ASCII letters and punctuation), abstandMs
// between two events, and Return at the end. False with a short German reason in fehler when
// there is no display, no XTest, no such window or a character without a key; then nothing
// has been typed.
bool AlsTastenSenden(const QString& fenstertitel, const QString& text, int abstandMs,
                     QString& fehler);
