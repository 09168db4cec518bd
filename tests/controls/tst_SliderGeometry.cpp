// The slider's geometry where the widget tests do not reach: rounding, the value of a vertical
// thumb position, missing travel or span, a vertical image rail and the tip's place.
#include "controls/SliderGeometry.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace SliderGeometry;

class tst_SliderGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rounding()
    {
        constexpr int Max = std::numeric_limits<int>::max();
        const std::pair<double, int> nearestCases[] = {
            {72.5, 72}, {73.5, 74},        {-2.5, -2},  {-3.5, -4},       {50.69, 51},
            {-0.4, 0},  {std::nan(""), 0}, {1e30, Max}, {-1e30, -Max - 1}};
        for (const auto& [x, rounded] : nearestCases)
            QCOMPARE(nearest(x), rounded);
        const std::pair<double, int> halfCases[] = {{13, 6}, {-3, -1}, {12.5, 6}, {13.5, 7}};
        for (const auto& [x, halved] : halfCases)
            QCOMPARE(half(x), halved);
    }

    void valueAndLayout()
    {
        const auto H = Orientation::Horizontal;
        const auto V = Orientation::Vertical;
        // Higher up is more: a thumb at 21 of 84 stands for 7.5, which goes to the even 8.
        const auto snapped = valueForPosition(V, 21, 84, 0, 10);
        QVERIFY(snapped && snapped->value == 8 && snapped->position == 16.8f);
        // No travel, or a loaded set with Min >= Max: no value, and the thumb stays put.
        QVERIFY(!valueForPosition(H, 0, 0, 0, 10) && !valueForPosition(V, 0, -5, 0, 10));
        QVERIFY(!valueForPosition(H, 10, 144, 5, 0) && !valueForPosition(H, 10, 144, 5, -3));
        QVERIFY(!positionForValue(H, 144, 5, 5, 0));
        LayoutInput input{.surface = {160, 16}, .thumb = {30, 0, 16, 16}, .min = 9, .span = -2};
        QCOMPARE(layoutSlider(input).thumb.left, 30.0f);

        // A vertical image rail: the roles of width and height change places.
        input = {.orientation = V,
                 .surface = {200, 30},
                 .thumb = {},
                 .rail = {20, 60},
                 .imageRail = true,
                 .value = 10};
        const Layout layout = layoutSlider(input);
        QCOMPARE(layout.surface, QSize(20, 64));
        QCOMPARE(layout.thumb.left, 2.0f);
        QCOMPARE(layout.thumb.top, 0.0f);
        QCOMPARE(railImagePlace(V, layout.surface, input.rail), QPoint(0, 2));
    }

    void tipPlace()
    {
        // Window at (100, 200), thumb at 72, text 6 x 13: the tip is 10 x 16 at (175, 182), so
        // its last row, 197, lies two rows above the thumb's first, 200. Beside a vertical
        // thumb it lies to its left, two pixels apart (right edge 97).
        QCOMPARE(tipSize({6, 13}), QSize(10, 16));
        const QPoint above =
            SliderGeometry::tipPlace(Orientation::Horizontal, {100, 200}, {72, 0, 16, 16}, {6, 13});
        const QPoint left =
            SliderGeometry::tipPlace(Orientation::Vertical, {100, 200}, {0, 42, 16, 16}, {6, 13});
        QCOMPARE(above, QPoint(175, 182));
        QCOMPARE(left, QPoint(88, 242));
    }
};

QTEST_GUILESS_MAIN(tst_SliderGeometry)
#include "tst_SliderGeometry.moc"
