#pragma once

#include <QPoint>
#include <QSize>

#include <optional>

// The slider's geometry as plain arithmetic on pixels of its drawing surface: where the thumb
// stands for a value, which value a thumb position stands for, how the control sizes itself
// and where the groove, the default thumb box, the rail image and the value tip go. The widget
// feeds these functions and draws what they return.
namespace SliderGeometry {

enum class Orientation
{
    Horizontal,
    Vertical
};

// Orientation codes as the control stores them: 1 is vertical; 0, and any other code a store
// may hold, lays out horizontally so that the thumb always has an axis to move along.
Orientation orientationFromCode(int code);

// The thumb's place and size; single precision like the picture holder that carries it.
struct ThumbRect
{
    float left = 0;
    float top = 0;
    float width = 16;
    float height = 16;

    bool operator==(const ThumbRect&) const = default;
};

// Right and bottom are exclusive.
struct PixelRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const PixelRect&) const = default;
};

// x to the nearest whole number, halves to the even neighbour; clamped to the int range.
int nearest(double x);
// nearest(x) halved, the quotient truncated toward zero.
int half(double x);

// SW − W across a horizontal surface, SH − H up a vertical one.
double travel(Orientation orientation, QSize surface, const ThumbRect& thumb);

// The thumb's left (horizontal) or top (vertical) for `value`; nothing when the span is not
// positive, which only a loaded set with Min >= Max can give: the thumb then stays put.
std::optional<float> positionForValue(Orientation orientation, double travel, qint64 value,
                                      qint64 min, qint64 span);

struct SnappedValue
{
    int value = 0;
    float position = 0; // the exact place of `value`, where the thumb snaps to
};

// The value the thumb at `position` stands for, and that value's exact place. Nothing when
// there is no travel or no positive span: the value and the thumb then stay where they are.
std::optional<SnappedValue> valueForPosition(Orientation orientation, float position, double travel,
                                             qint64 min, qint64 span);

// Where a drag puts the thumb's leading edge: the pointer less the grab offset, kept in
// 0..travel.
float dragPosition(double pointer, float grab, double travel);

// The thumb's start: left end of a horizontal slider, bottom of a vertical one.
ThumbRect resetThumb(Orientation orientation, const ThumbRect& thumb, QSize surface);

struct LayoutInput
{
    Orientation orientation = Orientation::Horizontal;
    QSize surface;          // SW x SH as the host left it
    ThumbRect thumb;        // W and H follow the thumb picture
    QSize rail{16, 17};     // RW x RH, following the rail picture
    bool imageRail = false; // the rail is drawn from its picture
    qint64 value = 0;
    qint64 min = 0;
    qint64 span = 10;
};

struct Layout
{
    QSize surface;            // the size the control takes
    bool fixedWidth = false;  // the control dictates its width
    bool fixedHeight = false; // the control dictates its height
    ThumbRect thumb;
    PixelRect groove;
};

// Sizes the control, places the thumb across and along its axis and computes the groove.
Layout layoutSlider(const LayoutInput& input);

// Where the default thumb is drawn.
PixelRect thumbBox(const ThumbRect& thumb);

// The rail picture's top-left corner.
QPoint railImagePlace(Orientation orientation, QSize surface, QSize rail);

// The value tip's top-left corner on the screen: centred above a horizontal thumb, left of a
// vertical one. `origin` is the control's top-left corner on the screen, `label` the size of
// the tip's text.
QPoint tipPlace(Orientation orientation, QPoint origin, const ThumbRect& thumb, QSize label);

// The tip window around a label of that size.
QSize tipSize(QSize label);

} // namespace SliderGeometry
