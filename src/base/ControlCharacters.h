#pragma once

#include <QChar>
#include <QStringView>

#include <algorithm>

// The control characters (below U+0020, and U+007F) that have no place in a station's name,
// address or title: they end C strings, split lines and HTTP headers, and vanish from station
// lists on reading.
inline bool IsControlCharacter(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

inline bool HasControlCharacter(QStringView text)
{
    return std::any_of(text.begin(), text.end(), IsControlCharacter);
}
