// The keyed byte-stream cipher of the enciphered settings values.
#pragma once

#include <QString>

#include <cstdint>

// The one start key in use; every caller passes it.
constexpr std::uint16_t kStartSchluessel = 0xB7E3;

// Hexadecimal text (either letter case, two digits per byte) to plain text (the bytes read as
// UTF-8, invalid sequences as U+FFFD). An odd last digit is ignored; a pair that is not two
// hexadecimal digits makes the result empty. Never fails otherwise.
QString Entschluesseln(const QString& geheim, std::uint16_t startSchluessel);

// The inverse: plain text as UTF-8, enciphered, written as upper-case hexadecimal digits.
QString Verschluesseln(const QString& klartext, std::uint16_t startSchluessel);
