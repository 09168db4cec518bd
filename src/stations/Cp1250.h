#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1250, the code page of station list files. Bytes that the code page leaves undefined
// (0x81, 0x83, 0x88, 0x90, 0x98) decode to the C1 code point of the same value, as Windows does,
// so that every file reads and writes back byte for byte.
namespace Cp1250 {

QString decode(QByteArrayView bytes);

// The character of every byte, 256 entries, for a decoder that does more in the same pass.
const char16_t* characters();

// Whether every character of the text has a byte in the code page.
bool canEncode(QStringView text);

// The text's bytes; a character without a byte makes `ok` false and becomes '?'.
QByteArray encode(QStringView text, bool* ok = nullptr);

} // namespace Cp1250
