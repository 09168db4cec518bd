#include "controls/z3DLine.h"

#include "base/WindowUnits.h"
#include "controls/Decorative.h"
#include "controls/OleColor.h"

#include <QPainter>
#include <QResizeEvent>

namespace {

constexpr int ThicknessTwips = 30;
constexpr int LightOffsetTwips = 10;

// On a coarse screen the two lines still stand side by side, one pixel each at least.
int lightOffset()
{
    return qMax(1, TwipsToPixels(LightOffsetTwips));
}

int thickness()
{
    return qMax(lightOffset() + 1, TwipsToPixels(ThicknessTwips));
}

} // namespace

z3DLine::z3DLine(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    MarkDecorative(*this);
}

QSize z3DLine::sizeHint() const
{
    return QSize(thickness(), thickness());
}

QSize z3DLine::minimumSizeHint() const
{
    return QSize(thickness(), thickness());
}

void z3DLine::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    const bool horizontal = w > h;
    if (horizontal != m_horizontal) {
        m_horizontal = horizontal;
        // In a layout the thin side stays fixed, the long side follows the layout.
        setSizePolicy(horizontal ? QSizePolicy::Expanding : QSizePolicy::Fixed,
                      horizontal ? QSizePolicy::Fixed : QSizePolicy::Expanding);
        updateGeometry();
    }
    if (horizontal && h != thickness())
        resize(w, thickness());
    else if (!horizontal && w != thickness())
        resize(thickness(), h);
    update();
}

void z3DLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int offset = lightOffset();
    const QColor dark = OleColorToQColor(OleSystemColor::ButtonShadow);
    const QColor light = OleColorToQColor(OleSystemColor::Highlight3D);
    if (m_horizontal) {
        painter.setPen(dark);
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(light);
        painter.drawLine(0, offset, width() - 1, offset);
    } else {
        painter.setPen(dark);
        painter.drawLine(0, 0, 0, height() - 1);
        painter.setPen(light);
        painter.drawLine(offset, 0, offset, height() - 1);
    }
}
