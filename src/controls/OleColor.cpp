#include "controls/OleColor.h"

#include <QApplication>
#include <QPalette>

namespace {

// The platform colour indices mapped onto the application palette.
QColor systemColor(quint32 index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 0x05:
        return palette.color(QPalette::Base); // window
    case 0x08:
        return palette.color(QPalette::WindowText); // window text
    case 0x0D:
        return palette.color(QPalette::Highlight); // highlight
    case 0x0E:
        return palette.color(QPalette::HighlightedText); // highlight text
    case 0x0F:
        return palette.color(QPalette::Button); // button face
    case 0x10:
        return palette.color(QPalette::Mid); // button shadow
    case 0x11:
        return palette.color(QPalette::PlaceholderText); // grey text
    case 0x12:
        return palette.color(QPalette::ButtonText); // button text
    case 0x14:
        return palette.color(QPalette::Light); // 3D highlight
    case 0x15:
        return palette.color(QPalette::Shadow); // 3D dark shadow
    case 0x16:
        return palette.color(QPalette::Midlight); // 3D light
    case 0x17:
        return palette.color(QPalette::ToolTipText); // info text
    case 0x18:
        return palette.color(QPalette::ToolTipBase); // info background
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

QColor OleColorToQColor(quint32 value)
{
    if (value & 0x80000000u)
        return systemColor(value & 0xFFu);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 QColorToOleColor(const QColor& color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}
