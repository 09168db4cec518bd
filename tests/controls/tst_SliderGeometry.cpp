// The slider's geometry where the widget cannot show it: rounding, the value a thumb position
// stands for, layouts the widget tests do not reach, and the tip's place.
#include "controls/SliderGeometry.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace SliderGeometry;

namespace SliderGeometry {

char* toString(const ThumbRect& r)
{
    return QTest::toString(QRectF(r.left, r.top, r.width, r.height));
}

} // namespace SliderGeometry

class tst_SliderGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rounding()
    {
        constexpr int Max = std::numeric_limits<int>::max();
        constexpr int Min = std::numeric_limits<int>::min();
        const std::pair<double, int> nearestCases[] = {
            {72.5, 72}, {73.5, 74},        {-2.5, -2},  {-3.5, -4},  {50.69, 51},
            {-0.4, 0},  {std::nan(""), 0}, {1e30, Max}, {-1e30, Min}};
        for (const auto& [x, rounded] : nearestCases)
            QCOMPARE(nearest(x), rounded);
        const std::pair<double, int> halfCases[] = {{13, 6}, {-3, -1}, {12.5, 6}, {13.5, 7}};
        for (const auto& [x, halved] : halfCases)
            QCOMPARE(half(x), halved);
    }

    void valueForPosition()
    {
        struct Case
        {
            Orientation orientation;
            float position;
            double travel;
            qint64 min, span;
            std::optional<SnappedValue> expected;
        };
        const auto H = Orientation::Horizontal;
        const auto V = Orientation::Vertical;
        const Case cases[] = {
            {V, 21, 84, 0, 10, SnappedValue{8, 16.8f}}, // higher up is more; 7.5 goes to 8
            {H, 0, 0, 0, 10, std::nullopt},             // no travel
            {V, 0, -5, 0, 10, std::nullopt},
            {H, 10, 144, 5, 0, std::nullopt}, // a loaded set with Min >= Max
            {H, 10, 144, 5, -3, std::nullopt},
        };
        for (const Case& c : cases) {
            const auto got = SliderGeometry::valueForPosition(c.orientation, c.position, c.travel,
                                                              c.min, c.span);
            QCOMPARE(got.has_value(), c.expected.has_value());
            if (got) {
                QCOMPARE(got->value, c.expected->value);
                QCOMPARE(got->position, c.expected->position);
            }
        }
        QVERIFY(!positionForValue(H, 144, 5, 5, 0));
    }

    void layoutsBeyondTheWidgetTests()
    {
        // A size of 0 becomes the thumb's; the vertical thumb starts at the bottom.
        LayoutInput input{.orientation = Orientation::Vertical, .surface = {0, 0}, .thumb = {}};
        QCOMPARE(layoutSlider(input).surface, QSize(16, 16));
        QCOMPARE(resetThumb(Orientation::Vertical, {5, 5, 16, 16}, {16, 100}),
                 (ThumbRect{0, 84, 16, 16}));

        // A vertical image rail: the roles of width and height change places.
        input = {.orientation = Orientation::Vertical,
                 .surface = {200, 30},
                 .thumb = {},
                 .rail = {20, 60},
                 .imageRail = true,
                 .value = 10};
        const Layout layout = layoutSlider(input);
        QCOMPARE(layout.surface, QSize(20, 64));
        QCOMPARE(layout.thumb, (ThumbRect{2, 0, 16, 16}));
        QCOMPARE(railImagePlace(Orientation::Vertical, layout.surface, input.rail), QPoint(0, 2));

        // Without a span the thumb stays where it stood along the axis.
        input = {.surface = {160, 16}, .thumb = {30, 0, 16, 16}, .value = 7, .min = 9, .span = -2};
        QCOMPARE(layoutSlider(input).thumb.left, 30.0f);
    }

    void tipPlace()
    {
        // Window at (100, 200), thumb at 72, text 6 x 13: the tip is 10 x 16 at (175, 182), so
        // its last row, 197, lies two rows above the thumb's first, 200.
        QCOMPARE(tipSize({6, 13}), QSize(10, 16));
        QCOMPARE(
            SliderGeometry::tipPlace(Orientation::Horizontal, {100, 200}, {72, 0, 16, 16}, {6, 13}),
            QPoint(175, 182));
        // Beside a vertical thumb the tip lies to its left, two pixels apart (right edge 97).
        QCOMPARE(
            SliderGeometry::tipPlace(Orientation::Vertical, {100, 200}, {0, 42, 16, 16}, {6, 13}),
            QPoint(88, 242));
    }
};

QTEST_GUILESS_MAIN(tst_SliderGeometry)
#include "tst_SliderGeometry.moc"
