// The slider's geometry: rounding, layout, value and position mapping, and the tip's place.
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

char* toString(const PixelRect& r)
{
    return QTest::toString(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
}

} // namespace SliderGeometry

class tst_SliderGeometry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundingHalvesToEven();
    void volumeSliderExample();
    void verticalSlider();
    void thumbPicture();
    void imageRail();
    void noTravelOrNoSpanKeepsThumbAndValue();
    void tipPlace();
};

void tst_SliderGeometry::roundingHalvesToEven()
{
    QCOMPARE(nearest(72.5), 72);
    QCOMPARE(nearest(73.5), 74);
    QCOMPARE(nearest(-2.5), -2);
    QCOMPARE(nearest(-3.5), -4);
    QCOMPARE(nearest(50.69), 51);
    QCOMPARE(nearest(-0.4), 0);
    QCOMPARE(nearest(std::nan("")), 0);
    QCOMPARE(nearest(1e30), std::numeric_limits<int>::max());
    QCOMPARE(nearest(-1e30), std::numeric_limits<int>::min());

    QCOMPARE(half(13), 6);
    QCOMPARE(half(-3), -1);
    QCOMPARE(half(12.5), 6);
    QCOMPARE(half(13.5), 7);
}

void tst_SliderGeometry::volumeSliderExample()
{
    // Horizontal, 16 x 16 thumb, 160 wide, 0..100 at 50; the host gave it 30 pixels of height.
    const LayoutInput input{.orientation = Orientation::Horizontal,
                            .surface = {160, 30},
                            .thumb = {},
                            .value = 50,
                            .min = 0,
                            .span = 100};
    const Layout layout = layoutSlider(input);
    QCOMPARE(layout.surface, QSize(160, 16));
    QVERIFY(layout.fixedHeight);
    QVERIFY(!layout.fixedWidth);
    QCOMPARE(layout.thumb, (ThumbRect{72, 0, 16, 16}));
    QCOMPARE(layout.groove, (PixelRect{6, 6, 154, 10}));
    QCOMPARE(thumbBox(layout.thumb), (PixelRect{72, 0, 88, 16}));

    // Dragged to L = 73 the thumb stands for 51 and snaps onto 51's place.
    const double length = travel(Orientation::Horizontal, layout.surface, layout.thumb);
    QCOMPARE(length, 144.0);
    const auto snapped = valueForPosition(Orientation::Horizontal, 73, length, 0, 100);
    QVERIFY(snapped);
    QCOMPARE(snapped->value, 51);
    QCOMPARE(snapped->position, 73.44f);
    QCOMPARE(thumbBox({snapped->position, 0, 16, 16}).left, 73);

    // The ends.
    QCOMPARE(*positionForValue(Orientation::Horizontal, length, 0, 0, 100), 0.0f);
    QCOMPARE(*positionForValue(Orientation::Horizontal, length, 100, 0, 100), 144.0f);
    QCOMPARE(valueForPosition(Orientation::Horizontal, 144, length, 0, 100)->value, 100);

    // A width of 0 becomes the thumb's width.
    LayoutInput empty = input;
    empty.surface = {0, 0};
    QCOMPARE(layoutSlider(empty).surface, QSize(16, 16));
}

void tst_SliderGeometry::verticalSlider()
{
    LayoutInput input{.orientation = Orientation::Vertical,
                      .surface = {40, 100},
                      .thumb = {},
                      .value = 0,
                      .min = 0,
                      .span = 10};
    Layout layout = layoutSlider(input);
    QCOMPARE(layout.surface, QSize(16, 100));
    QVERIFY(layout.fixedWidth);
    QVERIFY(!layout.fixedHeight);
    QCOMPARE(layout.thumb, (ThumbRect{0, 84, 16, 16}));
    QCOMPARE(layout.groove, (PixelRect{6, 6, 10, 94}));

    input.value = 10;
    QCOMPARE(layoutSlider(input).thumb.top, 0.0f);
    input.value = 5;
    QCOMPARE(layoutSlider(input).thumb.top, 42.0f);

    // Higher up is more: a thumb at 21 of 84 stands for 7.5, rounded to the even 8.
    const auto snapped = valueForPosition(Orientation::Vertical, 21, 84, 0, 10);
    QCOMPARE(snapped->value, 8);
    QCOMPARE(snapped->position, 16.8f);

    // A height of 0 becomes the thumb's height; the thumb starts at the bottom.
    input.surface = {0, 0};
    QCOMPARE(layoutSlider(input).surface, QSize(16, 16));
    QCOMPARE(resetThumb(Orientation::Vertical, {5, 5, 16, 16}, {16, 100}),
             (ThumbRect{0, 84, 16, 16}));
    QCOMPARE(resetThumb(Orientation::Horizontal, {5, 5, 16, 16}, {160, 16}),
             (ThumbRect{0, 0, 16, 16}));
}

void tst_SliderGeometry::thumbPicture()
{
    const LayoutInput input{.orientation = Orientation::Horizontal,
                            .surface = {100, 16},
                            .thumb = {0, 0, 11, 21},
                            .value = 0,
                            .min = 0,
                            .span = 10};
    const Layout layout = layoutSlider(input);
    QCOMPARE(layout.surface, QSize(100, 21));
    QCOMPARE(layout.groove, (PixelRect{3, 8, 96, 12}));
}

void tst_SliderGeometry::imageRail()
{
    LayoutInput input{.orientation = Orientation::Horizontal,
                      .surface = {200, 30},
                      .thumb = {},
                      .rail = {60, 8},
                      .imageRail = true,
                      .value = 10,
                      .min = 0,
                      .span = 10};
    Layout layout = layoutSlider(input);
    QCOMPARE(layout.surface, QSize(64, 16));
    QVERIFY(layout.fixedWidth && layout.fixedHeight);
    QCOMPARE(layout.thumb, (ThumbRect{48, 0, 16, 16}));
    QCOMPARE(railImagePlace(Orientation::Horizontal, layout.surface, input.rail), QPoint(2, 4));

    input.rail = {60, 20};
    layout = layoutSlider(input);
    QCOMPARE(layout.surface, QSize(64, 20));
    QCOMPARE(layout.thumb.top, 2.0f);
    QCOMPARE(railImagePlace(Orientation::Horizontal, layout.surface, input.rail), QPoint(2, 0));

    // Vertically the roles of width and height change places.
    input.orientation = Orientation::Vertical;
    input.rail = {20, 60};
    layout = layoutSlider(input);
    QCOMPARE(layout.surface, QSize(20, 64));
    QCOMPARE(layout.thumb, (ThumbRect{2, 0, 16, 16}));
    QCOMPARE(railImagePlace(Orientation::Vertical, layout.surface, input.rail), QPoint(0, 2));
}

void tst_SliderGeometry::noTravelOrNoSpanKeepsThumbAndValue()
{
    // A thumb as long as the control has nowhere to go: no value comes out.
    QVERIFY(!valueForPosition(Orientation::Horizontal, 0, 0, 0, 10));
    QVERIFY(!valueForPosition(Orientation::Vertical, 0, 0, 0, 10));
    QVERIFY(!valueForPosition(Orientation::Horizontal, 0, -5, 0, 10));
    // A loaded set with Min >= Max has no span to divide by.
    QVERIFY(!valueForPosition(Orientation::Horizontal, 10, 144, 5, 0));
    QVERIFY(!valueForPosition(Orientation::Horizontal, 10, 144, 5, -3));
    QVERIFY(!positionForValue(Orientation::Horizontal, 144, 5, 5, 0));

    // The layout then leaves the thumb where it stood along the axis.
    const LayoutInput input{.orientation = Orientation::Horizontal,
                            .surface = {160, 16},
                            .thumb = {30, 0, 16, 16},
                            .value = 7,
                            .min = 9,
                            .span = -2};
    QCOMPARE(layoutSlider(input).thumb.left, 30.0f);
}

void tst_SliderGeometry::tipPlace()
{
    // Window at (100, 200), thumb at 72, text 6 wide and 13 high: the tip is 10 x 16 at
    // (175, 182), so its last row, 197, lies two rows above the thumb's first, 200.
    const ThumbRect thumb{72, 0, 16, 16};
    const QPoint place =
        SliderGeometry::tipPlace(Orientation::Horizontal, {100, 200}, thumb, {6, 13});
    QCOMPARE(place, QPoint(175, 182));
    QCOMPARE(tipSize({6, 13}), QSize(10, 16));

    // Beside a vertical thumb the tip lies to its left, two pixels apart.
    const ThumbRect upright{0, 42, 16, 16};
    const QPoint left =
        SliderGeometry::tipPlace(Orientation::Vertical, {100, 200}, upright, {6, 13});
    QCOMPARE(left, QPoint(88, 242));
    QCOMPARE(left.x() + tipSize({6, 13}).width() - 1, 100 - 3);
}

QTEST_GUILESS_MAIN(tst_SliderGeometry)
#include "tst_SliderGeometry.moc"
