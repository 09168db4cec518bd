#include "controls/Edge3D.h"

#include "controls/OleColor.h"

#include <QPainter>

namespace {

// System colour indices of the bevel colours.
constexpr quint32 Light3D = 0x80000016;
constexpr quint32 Highlight3D = OleSystemColor::Highlight3D;
constexpr quint32 Shadow = OleSystemColor::ButtonShadow;
constexpr quint32 DarkShadow3D = OleSystemColor::DarkShadow3D;

struct Ring
{
    quint32 topLeft = 0;
    quint32 bottomRight = 0;
};

// One pixel wide: the top and left lines stop short of the far corners, which belong to the
// bottom and right lines, as on the platform's buttons.
void drawRing(QPainter& painter, const QRect& r, const Ring& ring)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QColor topLeft = OleColorToQColor(ring.topLeft);
    const QColor bottomRight = OleColorToQColor(ring.bottomRight);
    painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(r.left() + r.width() - 1, r.top(), 1, r.height()), bottomRight);
    painter.fillRect(QRect(r.left(), r.top() + r.height() - 1, r.width(), 1), bottomRight);
}

} // namespace

namespace Edge3D {

void drawEdge(QPainter& painter, const QRect& rect, int kind)
{
    // The outer ring pairs the 3D light with the dark shadow (raised) or the shadow with the
    // highlight (sunken); the inner ring pairs the highlight with the shadow (raised) or the
    // dark shadow with the 3D light (sunken). An inner ring alone takes the outermost pixels.
    QRect r = rect;
    if (kind & (RaisedOuter | SunkenOuter)) {
        drawRing(painter, r,
                 (kind & RaisedOuter) ? Ring{Light3D, DarkShadow3D} : Ring{Shadow, Highlight3D});
        r.adjust(1, 1, -1, -1);
    }
    if (kind & (RaisedInner | SunkenInner)) {
        drawRing(painter, r,
                 (kind & RaisedInner) ? Ring{Highlight3D, Shadow} : Ring{DarkShadow3D, Light3D});
    }
}

} // namespace Edge3D
