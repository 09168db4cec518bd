// The slider: its value model (the three write rules, the order of the notifications, the
// silent rewrites), its geometry (rounding, missing travel or span, image rails, the tip's place)
// and the control on screen with real mouse input, the value tip and the stored properties.
#include "controls/PropertySet.h"
#include "controls/SliderGeometry.h"
#include "controls/SliderValue.h"
#include "controls/ucSlider.h"
#include "controls/ucSliderTip.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;
using namespace SliderGeometry;

namespace {

QPixmap filled(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::green);
    return picture;
}

// The notifications in order, as "Change 78, MouseDown 1" or "moved 5, Change 5".
QStringList g_events;
QString take()
{
    return std::exchange(g_events, {}).join(u", ");
}
void record(ucSlider& slider)
{
    for (const auto& [signal, name] : {std::pair{&ucSlider::Click, "Click"},
                                       {&ucSlider::ArrivedFirst, "ArrivedFirst"},
                                       {&ucSlider::ArrivedLast, "ArrivedLast"}})
        QObject::connect(&slider, signal, [name] { g_events << QString::fromLatin1(name); });
    QObject::connect(&slider, &ucSlider::Change,
                     [&slider] { g_events << u"Change %1"_s.arg(slider.Value()); });
    for (const auto& [signal, name] :
         {std::pair{&ucSlider::MouseDown, "MouseDown"}, {&ucSlider::MouseUp, "MouseUp"}})
        QObject::connect(&slider, signal, [name](qint16& shift) {
            g_events << u"%1 %2"_s.arg(QLatin1StringView(name)).arg(shift);
        });
}

void record(SliderValue& model)
{
    for (const auto& [signal, name] : {std::pair{&SliderValue::valueMoved, "moved"},
                                       {&SliderValue::Change, "Change"},
                                       {&SliderValue::ArrivedLast, "ArrivedLast"},
                                       {&SliderValue::ArrivedFirst, "ArrivedFirst"}})
        QObject::connect(&model, signal, [&model, name] {
            g_events << u"%1 %2"_s.arg(QLatin1StringView(name)).arg(model.Value());
        });
}

constexpr ControlError Ok = ControlError::None;
constexpr ControlError Bad = ControlError::InvalidPropertyValue;

bool shown(QWidget& widget)
{
    widget.show();
    return QTest::qWaitForWindowExposed(&widget);
}

// The volume slider as the main window sets it up: horizontal, 0..100 at 50, thin raised rail,
// 160 pixels wide.
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
    return shown(*slider) ? std::move(slider) : nullptr;
}

} // namespace

class tst_ucSlider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void geometry()
    {
        const auto slider = volumeSlider();
        QVERIFY(slider);
        // Whatever height the host asks for, the slider keeps the thumb's.
        QCOMPARE(slider->size(), QSize(160, 16));
        QCOMPARE(slider->groove(), (SliderGeometry::PixelRect{6, 6, 154, 10}));
        slider->resize(200, 40);
        QCOMPARE(slider->size(), QSize(200, 16));
        QCOMPARE(slider->thumb().left, 92.0f);
        // An 11 x 21 thumb picture.
        slider->resize(100, 16);
        slider->setSliderImage(filled({11, 21}));
        QCOMPARE(slider->size(), QSize(100, 21));
        QCOMPARE(slider->groove(), (SliderGeometry::PixelRect{3, 8, 96, 12}));
        QCOMPARE(slider->thumb().left, 44.5f); // 89 × 50 / 100
        // The rail picture counts only with rail style 99; RH 8 and RH 20.
        const auto plain = volumeSlider();
        QVERIFY(plain);
        plain->setRailImage(filled({60, 8}));
        QCOMPARE(plain->size(), QSize(160, 16));
        plain->setRailStyle(ucSlider::RailImageStyle);
        QCOMPARE(plain->size(), QSize(64, 16));
        plain->setRailImage(filled({60, 20}));
        QCOMPARE(plain->size(), QSize(64, 20));
        QCOMPARE(plain->thumb().top, 2.0f); // centred on the rail
    }

    void pressAndDrag()
    {
        const auto slider = volumeSlider();
        QVERIFY(slider);
        record(*slider);
        const struct
        {
            QPoint press;
            Qt::KeyboardModifiers down, up;
            std::vector<QPoint> moves;
            QPoint release;
            float thumb;
            const char* events;
            bool enabled = true, rightClick = false;
        } gestures[] = {
            // clang-format off
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
            // clang-format on
        };
        for (const auto& g : gestures) {
            slider->setEnabled(g.enabled);
            QTest::mousePress(slider.get(), Qt::LeftButton, g.down, g.press);
            if (g.rightClick)
                QTest::mouseClick(slider.get(), Qt::RightButton, {}, g.press);
            for (const QPoint to : g.moves)
                QTest::mouseMove(slider.get(), to);
            QTest::mouseRelease(slider.get(), Qt::LeftButton, g.up, g.release);
            QCOMPARE(slider->thumb().left, g.thumb);
            QCOMPARE(take(), QLatin1StringView(g.events));
        }
    }

    void valueTip()
    {
        // The tip shows the value two rows above the thumb while it is dragged, follows each
        // change and closes on the release.
        const auto slider = volumeSlider(true);
        QVERIFY(slider);
        QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(80, 8));
        ucSliderTip* tip = ucSliderTip::current();
        QVERIFY(tip && tip->isVisible() && !tip->isActiveWindow());
        QCOMPARE(tip->text(), u"50"_s);
        QCOMPARE(tip->geometry().bottom(), slider->mapToGlobal(QPoint(0, 0)).y() - 3);
        const int before = tip->x();
        QTest::mouseMove(slider.get(), QPoint(120, 8));
        QVERIFY(ucSliderTip::current() == tip && tip->x() > before);
        QCOMPARE(tip->text(), u"78"_s);
        QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(120, 8));
        QVERIFY(!ucSliderTip::current());
    }

    void storedProperties()
    {
        const auto volume = volumeSlider();
        QVERIFY(volume);
        QCOMPARE(volume->setMin(-5), Ok);
        QCOMPARE(volume->setValue(60), Ok);
        volume->setBackColor(0x0000FF);
        volume->setEnabled(false);
        QCOMPARE(volume->setMousePointer(2), Ok);
        QCOMPARE(volume->setMousePointer(40000), ControlError::Overflow);
        volume->setSliderImage(filled({11, 21}));
        PropertySet stored;
        volume->writeProperties(stored);
        QCOMPARE(stored.names().size(), 10);
        // Loading takes the values as they are, raises nothing and stores them back the same.
        ucSlider loaded;
        record(loaded);
        loaded.readProperties(stored);
        QCOMPARE(loaded.height(), 21);
        PropertySet again;
        loaded.writeProperties(again);
        QCOMPARE(again.names(), stored.names());
        for (const QString& name : stored.names()) // the picture shows in the height
            QVERIFY2(name == u"SliderImage" || again.read(name) == stored.read(name),
                     qPrintable(name));
        // The main window spells the names in lower case, and a name it writes again replaces
        // the first. After a load, the loaded value written again is silent; another is a change.
        PropertySet lower;
        lower.write(u"Max"_s, 7);
        lower.write(u"max"_s, 100);
        lower.write(u"value"_s, 50);
        lower.write(u"Enabled"_s, true, true); // the default is left out
        QCOMPARE(lower.names(), (QStringList{u"max"_s, u"value"_s}));
        loaded.readProperties(lower);
        QCOMPARE(loaded.setValue(50), Ok);
        QCOMPARE(loaded.setValue(100), Ok);
        QCOMPARE(take(), u"Change 100, ArrivedLast"_s);
    }

    void mendsForBrokenRanges()
    {
        // A loaded range with Min >= Max, and a thumb as long as the control: the thumb and the
        // value stay where they are and no Change comes.
        PropertySet broken;
        for (const auto& [name, value] :
             {std::pair{"Orientation", 0}, {"Min", 10}, {"Max", 0}, {"Value", 3}})
            broken.write(QString::fromLatin1(name), value);
        ucSlider loaded;
        loaded.readProperties(broken);
        loaded.resize(160, 16);
        ucSlider narrow;
        narrow.setOrientation(0);
        narrow.setValue(5);
        narrow.resize(16, 16);
        for (ucSlider* slider : {&loaded, &narrow}) {
            QVERIFY(shown(*slider));
            record(*slider);
            const float left = slider->thumb().left;
            const int value = slider->Value();
            QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(8, 8));
            QTest::mouseMove(slider, QPoint(120, 8));
            QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(-60, 8));
            QVERIFY(slider->Value() == value && slider->thumb().left == left);
            QVERIFY(!take().contains(u"Change"));
        }
        // An orientation code other than 0 and 1 lays the slider out horizontally.
        loaded.setOrientation(7);
        QCOMPARE(loaded.size(), QSize(160, 16));
        QCOMPARE(loaded.Orientation(), 7);
    }

    void writeRules()
    {
        // One write ("Value 5"), what it returns and what it raises.
        struct Step
        {
            const char* write;
            ControlError error;
            const char* raised;
        };
        struct Case
        {
            std::vector<Step> steps;
            int value;
            qint64 span;
        };
        // clang-format off
        const Case cases[] = {
            // Writing the value it has is silent; the ends are announced after Change.
            {{{"Value 5", Ok, "moved 5, Change 5"}, {"Value 5", Ok, ""},
              {"Value 10", Ok, "moved 10, Change 10, ArrivedLast 10"}, {"Value 10", Ok, ""},
              {"Value 11", Bad, ""}, {"Value 0", Ok, "moved 0, Change 0, ArrivedFirst 0"},
              {"Value -1", Bad, ""}}, 0, 10},
            // Min drags the value along, up or down, and must stay below Max.
            {{{"Value 5", Ok, "moved 5, Change 5"},
              {"Min 2", Ok, "moved 2, Change 2, ArrivedFirst 2"}, {"Min 10", Bad, ""},
              {"Value 4", Ok, "moved 4, Change 4"}, {"Min 4", Ok, ""},
              {"Value 9", Ok, "moved 9, Change 9"},
              {"Min -3", Ok, "moved -3, Change -3, ArrivedFirst -3"}}, -3, 13},
            // Max leaves a value above it, which can then only come back into the range.
            {{{"Value 5", Ok, "moved 5, Change 5"}, {"Max 3", Ok, ""}, {"Max 0", Bad, ""},
              {"Value 5", Bad, ""}, {"Value 3", Ok, "moved 3, Change 3, ArrivedLast 3"}}, 3, 3},
            // The widest range does not overflow the span.
            {{{"Max 2147483647", Ok, ""}, {"Min -2147483648", Ok, nullptr}},
             std::numeric_limits<int>::min(), qint64(std::numeric_limits<int>::max()) * 2 + 1},
        };
        // clang-format on
        for (const Case& c : cases) {
            SliderValue model;
            record(model);
            for (const Step& step : c.steps) {
                const QStringList write = QString::fromLatin1(step.write).split(u' ');
                const int n = write[1].toInt();
                const ControlError error = write[0] == u"Value" ? model.setValue(n)
                                           : write[0] == u"Min" ? model.setMin(n)
                                                                : model.setMax(n);
                QVERIFY2(error == step.error, step.write);
                const QString raised = take();
                if (step.raised)
                    QVERIFY2(raised == QLatin1StringView(step.raised), step.write);
            }
            QCOMPARE(model.Value(), c.value);
            QCOMPARE(model.span(), c.span);
            QCOMPARE(model.lastNotified(), c.value);
        }
    }

    void changeHandlerWritingAgainAndLoad()
    {
        SliderValue model;
        record(model);
        // Writing the value just announced causes nothing; another value causes a nested,
        // complete change, and the outer one announces no end that the value has left.
        int changes = 0;
        QObject::connect(&model, &SliderValue::Change, [&] {
            const int write = ++changes == 2 ? 10 : model.Value();
            QCOMPARE(model.setValue(write), Ok);
        });
        QCOMPARE(model.setValue(4), Ok);
        QCOMPARE(model.setValue(0), Ok);
        QCOMPARE(take(), u"moved 4, Change 4, moved 0, Change 0, moved 10, Change 10, "
                         u"ArrivedLast 10"_s);
        QCOMPARE(changes, 3);
        QCOMPARE(model.lastNotified(), 10);

        // A load takes the values as they are, silently.
        model.load(20, 5, 30);
        QCOMPARE(take(), QString());
        QCOMPARE(model.Value(), 30);
        QCOMPARE(model.span(), -15);
        // Such a set rejects every value until its range is mended.
        QCOMPARE(model.setValue(10), Bad);
        QCOMPARE(model.setMin(1), Ok);
        QCOMPARE(take(), u"moved 1, Change 1, ArrivedFirst 1"_s);
    }

    void geometryRules()
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

        // Along its length the host sizes the slider; across, the thumb does.
        const Layout upright = layoutSlider({.orientation = V, .surface = {40, 100}, .thumb = {}});
        QVERIFY(upright.fixedWidth && !upright.fixedHeight && upright.surface == QSize(16, 100));

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

QTEST_MAIN(tst_ucSlider)
#include "tst_ucSlider.moc"
