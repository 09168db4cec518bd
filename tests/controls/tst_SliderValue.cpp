// The slider's value model (the three write rules, the order of the notifications, the silent
// rewrites) and its geometry where the widget tests do not reach: rounding, the value of a
// vertical thumb position, missing travel or span, a vertical image rail and the tip's place.
#include "controls/SliderGeometry.h"
#include "controls/SliderValue.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;
using namespace SliderGeometry;

namespace {

// Every notification of a model, with the value at that moment, as "moved 5, Change 5".
QStringList g_events;
QString take()
{
    return std::exchange(g_events, {}).join(u", ");
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

} // namespace

class tst_SliderValue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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

    void changeHandlerWritingAgain()
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
    }

    void loadTakesValuesAsTheyAre()
    {
        SliderValue model;
        record(model);
        model.load(20, 5, 30);
        QCOMPARE(take(), QString());
        QCOMPARE(model.Value(), 30);
        QCOMPARE(model.span(), -15);
        // Such a set rejects every value until its range is mended.
        QCOMPARE(model.setValue(10), Bad);
        QCOMPARE(model.setMin(1), Ok);
        QCOMPARE(take(), u"moved 1, Change 1, ArrivedFirst 1"_s);
    }

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

QTEST_GUILESS_MAIN(tst_SliderValue)
#include "tst_SliderValue.moc"
