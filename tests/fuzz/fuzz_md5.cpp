// MD5 against Qt's on the same bytes, directly and through the text path of the integrity check
// and password storage (text to Windows-1252, digest, hexadecimal text).
#include "AnsiCodePage.h"
#include "Pruefen.h"
#include "ToolHashMD5.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

QByteArray QtHex(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toUpper();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
{
    const QByteArray bytes(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
    const QByteArray erwartet = QtHex(bytes);
    Pruefe(MD5DigestToHex(MD5String(bytes)) == erwartet, "MD5 der Bytes wie Qt");

    // Every byte is a character of the code page and converts back to itself, so the text path
    // digests exactly these bytes.
    const QString ansiText = VonAnsi(bytes);
    Pruefe(ZuAnsi(ansiText) == bytes, "Windows-1252 hin und zurueck");
    Pruefe(MD5HexVonText(ansiText) == QString::fromLatin1(erwartet), "MD5 des Textes wie Qt");

    // Any text: one byte per code point, and the digest is that of these bytes.
    const QString text = QString::fromUtf8(bytes);
    const QByteArray ansi = ZuAnsi(text);
    Pruefe(ansi.size() == text.toUcs4().size(), "ein Byte je Codepunkt");
    Pruefe(MD5HexVonText(text) == QString::fromLatin1(QtHex(ansi)), "MD5 beliebigen Textes wie Qt");
    return 0;
}
