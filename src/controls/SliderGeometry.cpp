#include "controls/SliderGeometry.h"

#include <cmath>
#include <limits>

namespace SliderGeometry {

Orientation orientationFromCode(int code)
{
    return code == 1 ? Orientation::Vertical : Orientation::Horizontal;
}

int nearest(double x)
{
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    if (std::isnan(x))
        return 0;
    double rounded = std::floor(x);
    const double fraction = x - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0))
        rounded += 1.0;
    if (rounded < low)
        return std::numeric_limits<int>::min();
    if (rounded > high)
        return std::numeric_limits<int>::max();
    return int(rounded);
}

int half(double x)
{
    return nearest(x) / 2;
}

double travel(Orientation orientation, QSize surface, const ThumbRect& thumb)
{
    if (orientation == Orientation::Horizontal)
        return double(surface.width()) - double(thumb.width);
    return double(surface.height()) - double(thumb.height);
}

std::optional<float> positionForValue(Orientation orientation, double travel, qint64 value,
                                      qint64 min, qint64 span)
{
    if (span <= 0)
        return std::nullopt;
    const double along = travel * double(value - min) / double(span);
    return float(orientation == Orientation::Horizontal ? along : travel - along);
}

std::optional<SnappedValue> valueForPosition(Orientation orientation, float position, double travel,
                                             qint64 min, qint64 span)
{
    if (travel <= 0 || span <= 0)
        return std::nullopt;
    const double along =
        orientation == Orientation::Horizontal ? double(position) : travel - double(position);
    const int value = nearest(along / travel * double(span) + double(min));
    const std::optional<float> snapped = positionForValue(orientation, travel, value, min, span);
    return SnappedValue{value, *snapped};
}

float dragPosition(double pointer, float grab, double travel)
{
    const float p = float(pointer - double(grab));
    if (p < 0)
        return 0;
    if (double(p) <= travel)
        return p;
    return float(travel);
}

ThumbRect resetThumb(Orientation orientation, const ThumbRect& thumb, QSize surface)
{
    ThumbRect result = thumb;
    result.left = 0;
    result.top = orientation == Orientation::Horizontal
                     ? 0.0f
                     : float(double(surface.height()) - double(thumb.height));
    return result;
}

Layout layoutSlider(const LayoutInput& input)
{
    const ThumbRect& thumb = input.thumb;
    const int w = nearest(thumb.width);
    const int h = nearest(thumb.height);
    const int rw = input.rail.width();
    const int rh = input.rail.height();
    const bool horizontal = input.orientation == Orientation::Horizontal;

    Layout out;
    out.thumb = thumb;
    out.surface = input.surface;
    if (input.imageRail) {
        out.fixedWidth = out.fixedHeight = true;
        if (horizontal)
            out.surface = QSize(rw + 4, thumb.height < float(rh) ? rh : h);
        else
            out.surface = QSize(thumb.width < float(rw) ? rw : w, rh + 4);
    } else if (horizontal) {
        out.fixedHeight = true;
        out.surface = QSize(input.surface.width() == 0 ? w : input.surface.width(), h);
    } else {
        out.fixedWidth = true;
        out.surface = QSize(w, input.surface.height() == 0 ? h : input.surface.height());
    }

    if (horizontal) {
        out.thumb.top = input.imageRail && thumb.height < float(rh)
                            ? float(half(double(rh) - double(thumb.height)))
                            : 0.0f;
    } else {
        out.thumb.left = input.imageRail && thumb.width < float(rw)
                             ? float(half(double(rw) - double(thumb.width)))
                             : 0.0f;
    }

    const double length = travel(input.orientation, out.surface, thumb);
    if (const auto place =
            positionForValue(input.orientation, length, input.value, input.min, input.span)) {
        if (horizontal)
            out.thumb.left = *place;
        else
            out.thumb.top = *place;
    }

    const double sw = out.surface.width();
    const double sh = out.surface.height();
    if (horizontal) {
        out.groove.top = half(double(thumb.height) - 4);
        out.groove.bottom = out.groove.top + 4;
        out.groove.left = half(thumb.width) - 2;
        out.groove.right = nearest(sw + out.groove.left - double(thumb.width) + 4);
    } else {
        out.groove.top = half(thumb.height) - 2;
        out.groove.bottom = nearest(sh + out.groove.top - double(thumb.height) + 4);
        out.groove.left = half(double(thumb.width) - 4);
        out.groove.right = out.groove.left + 4;
    }
    return out;
}

PixelRect thumbBox(const ThumbRect& thumb)
{
    PixelRect box;
    box.left = nearest(thumb.left);
    box.top = nearest(thumb.top);
    box.right = nearest(double(thumb.width) + box.left);
    box.bottom = nearest(double(thumb.height) + box.top);
    return box;
}

QPoint railImagePlace(Orientation orientation, QSize surface, QSize rail)
{
    if (orientation == Orientation::Horizontal)
        return {2, half(surface.height() - rail.height())};
    return {half(surface.width() - rail.width()), 2};
}

QPoint tipPlace(Orientation orientation, QPoint origin, const ThumbRect& thumb, QSize label)
{
    const double sx = origin.x();
    const double sy = origin.y();
    const double lw = label.width();
    const double lh = label.height();
    if (orientation == Orientation::Horizontal) {
        return {nearest(sx + thumb.left + half(double(thumb.width) - lw - 4)),
                nearest(sy + thumb.top - lh - 5)};
    }
    return {nearest(sx + thumb.left - lw - 6),
            nearest(sy + thumb.top + half(double(thumb.height) - lh - 4))};
}

QSize tipSize(QSize label)
{
    return {label.width() + 4, label.height() + 3};
}

} // namespace SliderGeometry
