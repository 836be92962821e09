// Upper-casing of names that the database compares letter for letter.
#pragma once

#include <QString>

// Only the letters a to z change; umlauts and every other character stay as they are.
QString AsciiGross(const QString& text);
