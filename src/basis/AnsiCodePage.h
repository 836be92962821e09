// Windows-1252, the 8-bit code page of the Windows stations, by a fixed table.
#pragma once

#include <QByteArray>
#include <QString>

// Text to Windows-1252 bytes; a character the code page lacks becomes '?', one per code point.
QByteArray ZuAnsi(const QString& text);

// Windows-1252 bytes to text; every byte has a character (0x81, 0x8D, 0x8F, 0x90, 0x9D map to
// the C1 controls of the same number, as Windows maps them).
QString VonAnsi(const QByteArray& bytes);
