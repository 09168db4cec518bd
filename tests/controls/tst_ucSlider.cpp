// The slider: write rules, rounding, and the control on screen under real mouse input.
#include "controls/PropertySet.h"
#include "controls/SliderGeometry.h"
#include "controls/ucSlider.h"
#include "controls/ucSliderTip.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

using namespace Qt::StringLiterals;
using namespace SliderGeometry;

namespace {

constexpr ControlError Ok = ControlError::None, Bad = ControlError::InvalidPropertyValue;
constexpr int IntMax = std::numeric_limits<int>::max();
constexpr auto H = Orientation::Horizontal, V = Orientation::Vertical;

// The notifications in order, as "Change 78, MouseDown 1".
QStringList g_events;
QString take()
{
    return std::exchange(g_events, {}).join(u", ");
}
void record(ucSlider& s)
{
    QObject::connect(&s, &ucSlider::Change, [&s] { g_events << u"Change %1"_s.arg(s.Value()); });
    for (const auto& [signal, name] : {std::pair{&ucSlider::Click, "Click"},
                                       {&ucSlider::ArrivedFirst, "ArrivedFirst"},
                                       {&ucSlider::ArrivedLast, "ArrivedLast"}})
        QObject::connect(&s, signal, [name] { g_events << QString::fromLatin1(name); });
    QObject::connect(&s, &ucSlider::MouseDown,
                     [](qint16& k) { g_events << u"MouseDown %1"_s.arg(k); });
    QObject::connect(&s, &ucSlider::MouseUp, [](qint16& k) { g_events << u"MouseUp %1"_s.arg(k); });
}

// The main window's volume slider: horizontal, 0..100 at 50, thin raised rail, 160 wide.
std::unique_ptr<ucSlider> volumeSlider(bool valueTip = false)
{
    auto slider = std::make_unique<ucSlider>();
    slider->setOrientation(0);
    slider->setRailStyle(ucSlider::RailThinRaised);
    slider->setMax(100);
    slider->setValue(50);
    slider->setShowValueTip(valueTip);
    slider->resize(160, 30);
    slider->move(100, 200);
    record(*slider);
    slider->show();
    return QTest::qWaitForWindowExposed(slider.get()) ? std::move(slider) : nullptr;
}

} // namespace

class tst_ucSlider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valueRules()
    {
        // Writes of Value ('v'), Min ('n') or Max ('x'); the thumb's place at the end.
        using Step = std::tuple<char, int, ControlError, const char*>;
        const std::pair<std::vector<Step>, float> cases[] = {
            // clang-format off
            // Writing the value it has is silent; the ends are announced after Change.
            {{{'v', 5, Ok, "Change 5"}, {'v', 5, Ok, ""}, {'v', 10, Ok, "Change 10, ArrivedLast"},
              {'v', 10, Ok, ""}, {'v', 11, Bad, ""}, {'v', 0, Ok, "Change 0, ArrivedFirst"},
              {'v', -1, Bad, ""}, {'v', 7, Ok, "Change 7"}}, 100.8f},
            // Min drags the value along, up or down, and must stay below Max.
            {{{'v', 5, Ok, "Change 5"}, {'n', 2, Ok, "Change 2, ArrivedFirst"}, {'n', 10, Bad, ""},
              {'v', 4, Ok, "Change 4"}, {'n', 4, Ok, ""}, {'v', 9, Ok, "Change 9"},
              {'n', -3, Ok, "Change -3, ArrivedFirst"}, {'v', 10, Ok, "Change 10, ArrivedLast"}}, 144},
            // Max leaves a value above it, which can then only come back into the range.
            {{{'v', 5, Ok, "Change 5"}, {'x', 3, Ok, ""}, {'x', 0, Bad, ""}, {'v', 5, Bad, ""},
              {'v', 3, Ok, "Change 3, ArrivedLast"}}, 144},
            // The widest range does not overflow.
            {{{'x', IntMax, Ok, ""}, {'n', -IntMax - 1, Ok, "Change -2147483648, ArrivedFirst"},
              {'v', 0, Ok, "Change 0"}}, 72},
            // clang-format on
        };
        for (const auto& [steps, thumb] : cases) {
            ucSlider slider;
            slider.setOrientation(0);
            slider.resize(160, 16);
            record(slider);
            for (const auto& [what, n, error, raised] : steps) {
                const ControlError got = what == 'v'   ? slider.setValue(n)
                                         : what == 'n' ? slider.setMin(n)
                                                       : slider.setMax(n);
                QVERIFY2(got == error && take() == QLatin1StringView(raised), raised);
            }
            QCOMPARE(slider.thumb().left, thumb);
        }

        // A Change handler's write: the outer change announces no end the value has left.
        ucSlider slider;
        record(slider);
        int changes = 0;
        QObject::connect(&slider, &ucSlider::Change,
                         [&] { slider.setValue(++changes == 2 ? 10 : slider.Value()); });
        slider.setValue(4);
        slider.setValue(0);
        QCOMPARE(take(), u"Change 4, Change 0, Change 10, ArrivedLast"_s);

        const std::pair<double, int> nearestCases[] = {
            {72.5, 72}, {73.5, 74},        {-2.5, -2},     {-3.5, -4},          {50.69, 51},
            {-0.4, 0},  {std::nan(""), 0}, {1e30, IntMax}, {-1e30, -IntMax - 1}};
        for (const auto& [x, rounded] : nearestCases)
            QCOMPARE(nearest(x), rounded);
        for (const auto& [x, halved] : {std::pair{13.0, 6}, {-3.0, -1}, {12.5, 6}, {13.5, 7}})
            QCOMPARE(half(x), halved);

        // Higher up is more: a thumb at 21 of 84 stands for 7.5, which goes to the even 8.
        const auto snapped = valueForPosition(V, 21, 84, 0, 10);
        QVERIFY(snapped && snapped->value == 8 && snapped->position == 16.8f);
        // A loaded set with Min = Max: no value, and the thumb stays put.
        QVERIFY(!valueForPosition(H, 10, 144, 5, 0) && !positionForValue(H, 144, 5, 5, 0));
        // Upright, the host sizes the length and the thumb the width; a rail picture swaps roles.
        const Layout along = layoutSlider({.orientation = V, .surface = {40, 100}, .thumb = {}});
        QVERIFY(along.fixedWidth && !along.fixedHeight && along.surface == QSize(16, 100));
        LayoutInput upright{.orientation = V, .surface = {}, .thumb = {}, .rail = {20, 60}};
        upright.imageRail = true;
        const Layout up = layoutSlider(upright);
        QVERIFY(up.surface == QSize(20, 64) && up.thumb.left == 2 && up.thumb.top == 48);
    }

    void pressAndDrag()
    {
        const auto slider = volumeSlider();
        QVERIFY(slider);
        // clang-format off
        const struct {
            QPoint press;
            Qt::KeyboardModifiers down, up;
            std::vector<QPoint> moves;
            QPoint release;
            float thumb;
            const char* events;
            bool enabled = true, rightClick = false;
        } gestures[] = {
            // Pressed on the thumb's first pixel, in its top row: grabbed, nothing moves.
            {{72, 0}, {}, {}, {}, {72, 0}, 72.0f, "MouseDown 0, Click, MouseUp 0"},
            // Grabbed 8 pixels into the thumb: 81 is 51, 82 (51.4) no change; released outside.
            {{80, 8}, {}, {}, {{81, 8}, {82, 8}, {-30, 8}}, {-30, 8}, 0.0f,
             "MouseDown 0, Change 51, Change 0, ArrivedFirst, MouseUp 0"},
            // A press on the rail jumps there before MouseDown; the shift state goes along.
            {{120, 8}, Qt::ShiftModifier, Qt::ControlModifier, {}, {120, 8}, 112.32f,
             "Change 78, MouseDown 1, Click, MouseUp 2"},
            // Dragged past the end and on: Max once.
            {{120, 8}, {}, {}, {{1000, 8}, {1200, -40}, {900, 8}}, {159, 15}, 144.0f,
             "MouseDown 0, Change 100, ArrivedLast, Click, MouseUp 0"},
            // A disabled slider does not move but still raises Click.
            {{20, 8}, {}, {}, {{30, 8}}, {30, 8}, 144.0f, "Click", false},
            // A right release during a left drag ends the drag.
            {{120, 8}, {}, {}, {{20, 8}}, {20, 8}, 112.32f,
             "Change 78, MouseDown 0, MouseUp 0, Click", true, true},
        };
        // clang-format on
        for (const auto& g : gestures) {
            slider->setEnabled(g.enabled);
            QTest::mousePress(slider.get(), Qt::LeftButton, g.down, g.press);
            if (g.rightClick)
                QTest::mouseClick(slider.get(), Qt::RightButton, {}, g.press);
            for (const QPoint to : g.moves)
                QTest::mouseMove(slider.get(), to);
            QVERIFY(!ucSliderTip::current()); // the main window's slider shows no tip
            QTest::mouseRelease(slider.get(), Qt::LeftButton, g.up, g.release);
            QCOMPARE(slider->thumb().left, g.thumb);
            QCOMPARE(take(), QLatin1StringView(g.events));
        }

        // The tip: two rows above the thumb while it is dragged, following each change.
        const auto tipped = volumeSlider(true);
        QVERIFY(tipped);
        QTest::mousePress(tipped.get(), Qt::LeftButton, {}, QPoint(80, 8));
        ucSliderTip* tip = ucSliderTip::current();
        QVERIFY(tip && tip->isVisible() && !tip->isActiveWindow() && tip->text() == u"50");
        QCOMPARE(tip->geometry().bottom(), tipped->mapToGlobal(QPoint(0, 0)).y() - 3);
        const int before = tip->x();
        QTest::mouseMove(tipped.get(), QPoint(120, 8));
        QVERIFY(ucSliderTip::current() == tip && tip->x() > before && tip->text() == u"78");
        QTest::mouseRelease(tipped.get(), Qt::LeftButton, {}, QPoint(120, 8));
        QVERIFY(!ucSliderTip::current());

        // Whatever height the host asks for, the slider keeps the thumb's.
        tipped->setValue(50);
        QVERIFY(tipped->size() == QSize(160, 16) && tipped->groove() == (PixelRect{6, 6, 154, 10}));
        tipped->resize(200, 40);
        QVERIFY(tipped->size() == QSize(200, 16) && tipped->thumb().left == 92);
        // An 11 x 21 thumb picture: 89 × 50 / 100.
        tipped->resize(100, 16);
        tipped->setSliderImage(QPixmap(11, 21));
        QCOMPARE(tipped->size(), QSize(100, 21));
        QVERIFY(tipped->groove() == (PixelRect{3, 8, 96, 12}) && tipped->thumb().left == 44.5f);
        // A rail picture counts with rail style 99 only; the thumb is centred on it.
        slider->setRailImage(QPixmap(60, 20));
        QCOMPARE(slider->size(), QSize(160, 16));
        slider->setRailStyle(ucSlider::RailImageStyle);
        QVERIFY(slider->size() == QSize(64, 20) && slider->thumb().top == 2);
        take();
    }

    void loadedBrokenRanges()
    {
        // A loaded Min >= Max, or a thumb as long as the control: the mouse changes nothing.
        PropertySet broken;
        const std::pair<const char*, int> written[] = {
            {"Enabled", 0}, {"orientation", 0}, {"MIN", 10}, {"Max", 7}, {"value", 3}, {"max", 0}};
        for (const auto& [name, value] : written)
            broken.write(QString::fromLatin1(name), value);
        broken.write(u"enabled"_s, true, true); // a default takes the name out
        QCOMPARE(broken.names(), (QStringList{u"orientation"_s, u"MIN"_s, u"max"_s, u"value"_s}));
        ucSlider mended, narrow;
        mended.readProperties(broken);
        mended.resize(160, 16);
        QVERIFY(mended.Orientation() == 0 && mended.Max() == 0 && mended.Value() == 3);
        narrow.setOrientation(0);
        narrow.setValue(5);
        narrow.resize(16, 16);
        for (ucSlider* s : {&mended, &narrow}) {
            record(*s);
            s->show();
            QVERIFY(QTest::qWaitForWindowExposed(s));
            const float left = s->thumb().left;
            const int value = s->Value();
            QTest::mousePress(s, Qt::LeftButton, {}, QPoint(8, 8));
            QTest::mouseMove(s, QPoint(120, 8));
            QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(-60, 8));
            QVERIFY(s->Value() == value && s->thumb().left == left && !take().contains(u"Change"));
        }
        QVERIFY(mended.setValue(5) == Bad && mended.setMin(-1) == Ok);
        QCOMPARE(take(), u"Change -1, ArrivedFirst"_s);
    }
};

QTEST_MAIN(tst_ucSlider)
#include "tst_ucSlider.moc"
