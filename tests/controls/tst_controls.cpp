// The slider, the 3D frame container, the 3D line and readable list colours: write rules, stored
// values, sizes, mouse.
#include "base/WindowUnits.h"
#include "controls/Container3D.h"
#include "controls/PropertySet.h"
#include "controls/ReadableItemDelegate.h"
#include "controls/SliderGeometry.h"
#include "controls/ucSlider.h"
#include "controls/ucSliderTip.h"
#include "controls/z3DLine.h"

#include <QtTest>
#include <QtWidgets>

#include <cmath>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;
using namespace SliderGeometry;

namespace {

constexpr ControlError Ok = ControlError::None, Bad = ControlError::InvalidPropertyValue;
constexpr int IntMax = std::numeric_limits<int>::max(), IntMin = std::numeric_limits<int>::min();
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

} // namespace

class tst_controls : public QObject
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
              {'v', 11, Bad, ""}, {'v', 0, Ok, "Change 0, ArrivedFirst"}, {'v', -1, Bad, ""},
              {'v', 7, Ok, "Change 7"}}, 100.8f},
            // Min drags the value along and stays below Max, which leaves a value above it.
            {{{'v', 5, Ok, "Change 5"}, {'n', 2, Ok, "Change 2, ArrivedFirst"}, {'n', 10, Bad, ""},
              {'v', 9, Ok, "Change 9"}, {'x', 3, Ok, ""}, {'x', 2, Bad, ""}, {'v', 5, Bad, ""},
              {'v', 3, Ok, "Change 3, ArrivedLast"}}, 144},
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

        // Halves go to the even neighbour; out of range saturates.
        for (const auto& [x, rounded] :
             {std::pair{72.5, 72}, {73.5, 74}, {std::nan(""), 0}, {1e30, IntMax}, {-1e30, IntMin}})
            QCOMPARE(nearest(x), rounded);
        // Min = Max: no value, and the thumb stays put.
        QVERIFY(!valueForPosition(H, 10, 144, 5, 0) && !positionForValue(H, 144, 5, 5, 0));
        // A rail picture fixes both sides; upright, the thumb is centred across it.
        LayoutInput upright{.orientation = V, .surface = {}, .thumb = {}, .rail = {20, 60}};
        upright.imageRail = true;
        const Layout up = layoutSlider(upright);
        QVERIFY(up.fixedWidth && up.fixedHeight && up.surface == QSize(20, 64) &&
                up.thumb.left == 2);

        // Stored names in any case; the whole int range is kept, a wider number gives the default.
        PropertySet stored;
        stored.write(u"MIN"_s, qint64(IntMin));
        stored.write(u"vAlue"_s, -5);
        stored.write(u"Max"_s, qint64(IntMax) + 1);
        ucSlider slider;
        slider.readProperties(stored);
        QVERIFY(slider.Min() == IntMin && slider.Value() == -5 && slider.Max() == ucSlider().Max());
    }

    // The volume slider (0..100 at 50, thin raised rail, no tip) after a control taking the focus.
    void mouseKeysAndAccessibility()
    {
        QWidget window;
        auto* before = new QLabel(u"x"_s, &window);
        before->setFocusPolicy(Qt::StrongFocus);
        ucSlider& slider = *new ucSlider(&window);
        slider.setOrientation(0);
        slider.setRailStyle(ucSlider::RailThinRaised);
        slider.setMax(100);
        slider.setValue(50);
        slider.setShowValueTip(false);
        slider.setGeometry(0, 20, 160, 30);
        record(slider);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // clang-format off
        const struct {
            QPoint press;
            Qt::KeyboardModifiers down, up;
            std::vector<QPoint> moves;
            QPoint release;
            float thumb;
            const char* events;
            bool rightClick = false;
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
            // A right release during a left drag ends the drag.
            {{120, 8}, {}, {}, {{20, 8}}, {20, 8}, 112.32f,
             "Change 78, MouseDown 0, MouseUp 0, Click", true},
        };
        // clang-format on
        for (const auto& g : gestures) {
            QTest::mousePress(&slider, Qt::LeftButton, g.down, g.press);
            if (g.rightClick)
                QTest::mouseClick(&slider, Qt::RightButton, {}, g.press);
            for (const QPoint to : g.moves)
                QTest::mouseMove(&slider, to);
            QVERIFY(!ucSliderTip::current());
            QTest::mouseRelease(&slider, Qt::LeftButton, g.up, g.release);
            QCOMPARE(slider.thumb().left, g.thumb);
            QCOMPARE(take(), QLatin1StringView(g.events));
        }

        // Whatever height the host asks for, the slider keeps the thumb's.
        slider.setValue(50);
        QVERIFY(slider.size() == QSize(160, 16) && slider.groove() == (PixelRect{6, 6, 154, 10}));
        slider.resize(200, 40);
        QVERIFY(slider.size() == QSize(200, 16) && slider.thumb().left == 92);
        // No wider than its thumb, as the window's layout may make it: the mouse changes nothing.
        slider.resize(16, 16);
        take();
        QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(5, 8));
        QTest::mouseMove(&slider, QPoint(100, 8));
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(100, 8));
        QVERIFY(slider.Value() == 50 && !take().contains(u"Change"));

        // Keys and assistive tools move the slider as a drag does; a click takes no focus.
        slider.resize(160, 16);
        before->setFocus();
        QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(74, 8)); // on the thumb
        QCOMPARE(QApplication::focusWidget(), before);
        take();
        QTest::keyClick(before, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), &slider);
        for (const Qt::Key key :
             {Qt::Key_Right, Qt::Key_Up, Qt::Key_Left, Qt::Key_PageUp, Qt::Key_PageDown,
              Qt::Key_Down, Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_Left})
            QTest::keyClick(&slider, key);
        // At an end a key moves nothing and raises nothing.
        QCOMPARE(take(), u"Change 51, Change 52, Change 51, Change 61, Change 51, Change 50, "
                         u"Change 100, ArrivedLast, Change 0, ArrivedFirst"_s);

        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&slider);
        QVERIFY(accessible && accessible->role() == QAccessible::Slider);
        QAccessibleValueInterface* value = accessible->valueInterface();
        QVERIFY(value);
        QCOMPARE((QVariantList{value->minimumValue(), value->maximumValue(),
                               value->minimumStepSize(), value->currentValue()}),
                 (QVariantList{0, 100, 1, 0}));
        value->setCurrentValue(37);
        value->setCurrentValue(500); // clamped
        QCOMPARE(take(), u"Change 37, Change 100, ArrivedLast"_s);
        QCOMPARE(slider.thumb().left, 144.0f);
    }

    void frameAndLine()
    {
        Container3D c;
        c.ReadProperties({{u"CtrlEffect"_s, 9}, {u"AutoSize"_s, 2}}); // damaged: defaults
        QVERIFY(c.WriteProperties().isEmpty());
        c.resize(TwipsToPixels(60), 200);
        QCOMPARE(c.size(), QSize(TwipsToPixels(120), 200)); // its minimum width
        // With AutoSize its one control lies 30 twips in from every side.
        auto* child = new QLabel(&c);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        QVERIFY(!c.setAutoSize(1));
        const int twips30 = TwipsToPixels(30);
        QCOMPARE(child->geometry(),
                 QRect(twips30, twips30, c.width() - 2 * twips30, 200 - 2 * twips30));

        // A click needs the press and the release inside.
        QSignalSpy clicks(&c, &Container3D::Click);
        QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(-5, 2));
        QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(clicks.size(), 1);

        // The line keeps its thickness of 30 twips across its longer side.
        z3DLine line;
        line.show(); // a hidden widget gets its resize events only when shown
        for (const auto& [size, kept] : {std::pair{QSize(300, 40), QSize(300, twips30)},
                                         {QSize(40, 300), QSize(twips30, 300)},
                                         {QSize(40, 40), QSize(twips30, 40)}}) {
            line.resize(size);
            QCOMPARE(line.size(), kept);
        }
    }

    // While the list has the keyboard, a text colour too close to its background gives way to
    // the palette's text colour; a readable one stays, and without the keyboard every one does.
    void readableColours()
    {
        QCOMPARE(std::lround(ContrastRatio(Qt::black, Qt::white)), 21);
        QCOMPARE(ContrastRatio(Qt::yellow, Qt::yellow), 1.0);
        QWidget window;
        auto* list = new QTreeWidget(&window);
        auto* other = new QLineEdit(&window);
        (new QVBoxLayout(&window))->addWidget(list);
        window.layout()->addWidget(other);
        QPalette palette = list->palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        list->setPalette(palette);
        list->setItemDelegate(new ReadableItemDelegate(*list));
        list->setSelectionMode(QAbstractItemView::NoSelection); // no highlight over the colours
        for (const QColor& colour : {QColor(Qt::yellow), QColor(Qt::red)}) {
            auto* item = new QTreeWidgetItem(list, {u"WWWWWWWW"_s});
            item->setForeground(0, colour);
            item->setFont(0, QFont(item->font(0).family(), 20, QFont::Black));
        }
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // Whether a row shows pixels of the colour.
        const auto shows = [&](int row, auto colour) {
            const QRect rect = list->visualItemRect(list->topLevelItem(row));
            const QImage image = list->viewport()->grab(rect).toImage();
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (colour(image.pixel(x, y)))
                        return true;
            return false;
        };
        for (const bool focused : {false, true}) {
            (focused ? static_cast<QWidget*>(list) : other)->setFocus();
            QTRY_COMPARE(list->hasFocus(), focused);
            const auto yellow = [](QRgb c) { return c == qRgb(255, 255, 0); };
            const auto dark = [](QRgb c) { return qGray(c) < 60; };
            QCOMPARE(shows(0, yellow), !focused);
            QCOMPARE(shows(0, dark), focused);
            QVERIFY(shows(1, [](QRgb c) { return c == qRgb(255, 0, 0); }));
        }
    }
};

QTEST_MAIN(tst_controls)
#include "tst_controls.moc"
