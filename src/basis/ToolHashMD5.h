// MD5 digests (RFC 1321) rendered as 32 upper-case hexadecimal digits.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

using TMD5Digest = std::array<std::uint8_t, 16>;

// Digest of exactly these bytes; a zero byte is data, not an end mark.
TMD5Digest MD5String(const QByteArray& daten);

// The 16 bytes in order, each as two upper-case hexadecimal digits, high half first.
QByteArray MD5DigestToHex(const TMD5Digest& digest);

// The calling pattern of integrity check and password storage: text to Windows-1252,
// digest, hexadecimal text. Stored digests of the Windows stations match it.
QString MD5HexVonText(const QString& text);
