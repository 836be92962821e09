// MD5 after RFC 1321; the working state is wiped after each computation, since it may hold
// salted secrets.
#include "ToolHashMD5.h"

#include "AnsiCodePage.h"

#include <algorithm>
#include <cstring>

namespace {

struct TMD5Zustand
{
    std::uint32_t state[4];
    std::uint64_t bitAnzahl;
    std::uint8_t puffer[64];
};

constexpr std::uint32_t kKonstanten[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr unsigned kRotationen[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                      5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                      4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                      6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

// A plain memset before the end of an object's life may be optimised away.
void SicherNullen(void* ziel, std::size_t laenge)
{
    volatile auto* p = static_cast<volatile std::uint8_t*>(ziel);
    while (laenge-- > 0)
        *p++ = 0;
}

std::uint32_t Rotiere(std::uint32_t wert, unsigned anzahl)
{
    return (wert << anzahl) | (wert >> (32u - anzahl));
}

void Verdichte(std::uint32_t state[4], const std::uint8_t block[64])
{
    std::uint32_t x[16];
    for (unsigned i = 0; i < 16; ++i) {
        x[i] = std::uint32_t(block[i * 4]) | std::uint32_t(block[i * 4 + 1]) << 8 |
               std::uint32_t(block[i * 4 + 2]) << 16 | std::uint32_t(block[i * 4 + 3]) << 24;
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (unsigned i = 0; i < 64; ++i) {
        std::uint32_t f;
        unsigned g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (b & d) | (c & ~d);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const std::uint32_t neu = b + Rotiere(a + f + kKonstanten[i] + x[g], kRotationen[i]);
        a = d;
        d = c;
        c = b;
        b = neu;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    SicherNullen(x, sizeof x);
}

void Fuege(TMD5Zustand& z, const std::uint8_t* daten, std::size_t laenge)
{
    auto belegt = static_cast<std::size_t>((z.bitAnzahl / 8) % 64);
    z.bitAnzahl += std::uint64_t(laenge) * 8;
    while (laenge > 0) {
        const std::size_t teil = std::min(laenge, 64 - belegt);
        std::memcpy(z.puffer + belegt, daten, teil);
        belegt += teil;
        daten += teil;
        laenge -= teil;
        if (belegt == 64) {
            Verdichte(z.state, z.puffer);
            belegt = 0;
        }
    }
}

} // namespace

TMD5Digest MD5String(const QByteArray& daten)
{
    TMD5Zustand z{{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476}, 0, {}};
    Fuege(z, reinterpret_cast<const std::uint8_t*>(daten.constData()),
          static_cast<std::size_t>(daten.size()));

    // Padding: one 1-bit, zeros to 56 bytes modulo 64, then the bit count little-endian.
    const std::uint64_t bitAnzahl = z.bitAnzahl;
    std::uint8_t schluss[72] = {0x80};
    const auto belegt = static_cast<std::size_t>((bitAnzahl / 8) % 64);
    const std::size_t fuellung = belegt < 56 ? 56 - belegt : 120 - belegt;
    for (unsigned i = 0; i < 8; ++i)
        schluss[fuellung + i] = static_cast<std::uint8_t>(bitAnzahl >> (8 * i));
    Fuege(z, schluss, fuellung + 8);

    TMD5Digest digest;
    for (unsigned i = 0; i < 16; ++i)
        digest[i] = static_cast<std::uint8_t>(z.state[i / 4] >> (8 * (i % 4)));
    SicherNullen(&z, sizeof z);
    return digest;
}

QByteArray MD5DigestToHex(const TMD5Digest& digest)
{
    static constexpr char kZiffern[] = "0123456789ABCDEF";
    QByteArray hex(32, '0');
    for (std::size_t i = 0; i < digest.size(); ++i) {
        hex[static_cast<qsizetype>(2 * i)] = kZiffern[digest[i] >> 4];
        hex[static_cast<qsizetype>(2 * i + 1)] = kZiffern[digest[i] & 0x0F];
    }
    return hex;
}

QString MD5HexVonText(const QString& text)
{
    QByteArray ansi = ZuAnsi(text);
    const QString hex = QString::fromLatin1(MD5DigestToHex(MD5String(ansi)));
    SicherNullen(ansi.data(), static_cast<std::size_t>(ansi.size()));
    return hex;
}
