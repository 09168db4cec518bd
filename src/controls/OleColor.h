#pragma once

#include <QColor>

// Colours as the program stores them: 0x00BBGGRR with red in the lowest byte, or a system
// colour (top bit set, the platform's colour index below it), resolved from the palette.
QColor OleColorToQColor(quint32 value);
quint32 QColorToOleColor(const QColor& color);

// The system colours the program uses.
namespace OleSystemColor {
inline constexpr quint32 WindowText = 0x80000008;
inline constexpr quint32 ButtonFace = 0x8000000F;
inline constexpr quint32 ButtonShadow = 0x80000010;
inline constexpr quint32 Highlight3D = 0x80000014;
inline constexpr quint32 DarkShadow3D = 0x80000015;
inline constexpr quint32 InfoBackground = 0x80000018;
} // namespace OleSystemColor
