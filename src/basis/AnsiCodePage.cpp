// Windows-1252 by our own table, so digests and files do not depend on the machine's locale.
#include "AnsiCodePage.h"

#include <QList>

#include <array>

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kObereSteuerzeichen = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kErsatzzeichen = '?';

char ZeichenZuAnsi(char32_t zeichen)
{
    if (zeichen < 0x80 || (zeichen >= 0xA0 && zeichen <= 0xFF))
        return static_cast<char>(zeichen);
    for (std::size_t i = 0; i < kObereSteuerzeichen.size(); ++i) {
        if (kObereSteuerzeichen[i] == zeichen)
            return static_cast<char>(0x80 + i);
    }
    return kErsatzzeichen;
}

} // namespace

QByteArray ZuAnsi(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const char32_t zeichen : text.toUcs4())
        bytes.append(ZeichenZuAnsi(zeichen));
    return bytes;
}

QString VonAnsi(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char roh : bytes) {
        const auto b = static_cast<unsigned char>(roh);
        if (b >= 0x80 && b < 0xA0)
            text.append(QChar(kObereSteuerzeichen[b - 0x80u]));
        else
            text.append(QChar(char16_t(b)));
    }
    return text;
}
