// The slider, the 3D frame container, the 3D line and readable list colours.
#include "base/WindowUnits.h"
#include "controls/Container3D.h"
#include "controls/Edge3D.h"
#include "controls/ReadableItemDelegate.h"
#include "controls/SliderGeometry.h"
#include "controls/ucSlider.h"
#include "controls/ucSliderTip.h"
#include "controls/z3DLine.h"

#include <QtTest>
#include <QtWidgets>

#include <algorithm>
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

// The notifications in order, as "Change 78, MouseDown 1".
QStringList g_events;
const auto take = [] { return std::exchange(g_events, {}).join(u", "); };
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
        // Writing the value it has is silent; the ends are announced after Change.
        ucSlider slider;
        slider.setOrientation(0);
        slider.resize(160, 16);
        record(slider);
        for (const auto& [n, error, raised] : {std::tuple{5, Ok, "Change 5"},
                                               {5, Ok, ""},
                                               {10, Ok, "Change 10, ArrivedLast"},
                                               {11, Bad, ""},
                                               {0, Ok, "Change 0, ArrivedFirst"},
                                               {-1, Bad, ""},
                                               {7, Ok, "Change 7"}})
            QVERIFY2(slider.setValue(n) == error && take() == QLatin1StringView(raised), raised);
        QCOMPARE(slider.thumb().left, 100.8f);

        // Halves go to the even neighbour; out of range saturates.
        for (const auto& [x, rounded] :
             {std::pair{72.5, 72}, {73.5, 74}, {std::nan(""), 0}, {1e30, IntMax}, {-1e30, IntMin}})
            QCOMPARE(nearest(x), rounded);
    }

    // The volume slider: 0..100 at 50, thin raised rail, no tip (its focus: tst_playbackdisplay).
    void mouseKeysAndAccessibility()
    {
        QWidget window;
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
        using Keys = Qt::KeyboardModifiers;
        // clang-format off
        const std::tuple<QPoint, Keys, Keys, std::vector<QPoint>, QPoint, float, const char*>
            gestures[] = {
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
        };
        // clang-format on
        for (const auto& [press, down, up, moves, release, thumb, events] : gestures) {
            QTest::mousePress(&slider, Qt::LeftButton, down, press);
            for (const QPoint to : moves)
                QTest::mouseMove(&slider, to);
            QVERIFY(!ucSliderTip::current());
            QTest::mouseRelease(&slider, Qt::LeftButton, up, release);
            QCOMPARE(slider.thumb().left, thumb);
            QCOMPARE(take(), QLatin1StringView(events));
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

        // Keys and assistive tools move the slider as a drag does.
        slider.resize(160, 16);
        for (const Qt::Key key :
             {Qt::Key_Right, Qt::Key_Up, Qt::Key_Left, Qt::Key_PageUp, Qt::Key_PageDown,
              Qt::Key_Down, Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_Left})
            QTest::keyClick(&slider, key);
        // At an end a key moves nothing and raises nothing.
        QCOMPARE(take(), u"Change 51, Change 52, Change 51, Change 61, Change 51, Change 50, "
                         u"Change 100, ArrivedLast, Change 0, ArrivedFirst"_s);

        QAccessibleValueInterface* value =
            QAccessible::queryAccessibleInterface(&slider)->valueInterface();
        QVERIFY(value);
        QCOMPARE((QVariantList{value->minimumValue(), value->maximumValue(),
                               value->minimumStepSize(), value->currentValue()}),
                 (QVariantList{0, 100, 1, 0}));
        value->setCurrentValue(37);
        value->setCurrentValue(500); // clamped
        QCOMPARE(take(), u"Change 37, Change 100, ArrivedLast"_s);
    }

    // The frame is at least 120 twips wide; the line is 30 twips thick across its longer side.
    void frameAndLine()
    {
        Container3D frame;
        frame.resize(TwipsToPixels(60), 200);
        QCOMPARE(frame.size(), QSize(TwipsToPixels(120), 200));
        QSignalSpy clicks(&frame, &Container3D::Click);
        QTest::mouseClick(&frame, Qt::LeftButton);
        QCOMPARE(clicks.size(), 1);
        // A ring is light above and left, dark below and right, and nothing outside its rectangle.
        QImage ring(7, 7, QImage::Format_ARGB32);
        ring.fill(Qt::transparent);
        {
            QPainter painter(&ring);
            Edge3D::drawEdge(painter, QRect(1, 1, 5, 5), Edge3D::RaisedOuter);
        }
        const QRgb light = ring.pixel(1, 1), dark = ring.pixel(5, 5);
        QVERIFY(light != dark && ring.pixel(5, 1) == dark && ring.pixel(1, 5) == dark);
        QVERIFY(ring.pixel(4, 1) == light && ring.pixel(6, 1) == 0 && ring.pixel(1, 6) == 0);
        z3DLine line;
        line.show(); // a hidden widget gets its resize events only when shown
        const int twips30 = TwipsToPixels(30);
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
        QTreeWidget list;
        QPalette palette = list.palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        list.setPalette(palette);
        list.setItemDelegate(new ReadableItemDelegate(list));
        list.setSelectionMode(QAbstractItemView::NoSelection); // no highlight over the colours
        for (const QColor& colour : {QColor(Qt::yellow), QColor(Qt::red)}) {
            auto* item = new QTreeWidgetItem(&list, {u"WWWWWWWW"_s});
            item->setForeground(0, colour);
            item->setFont(0, QFont(item->font(0).family(), 20, QFont::Black));
        }
        list.show();
        QApplication::setActiveWindow(&list);
        QVERIFY(QTest::qWaitForWindowActive(&list));
        // Whether a row shows pixels of the colour.
        const auto shows = [&](int row, auto colour) {
            const QImage image = list.viewport()
                                     ->grab(list.visualItemRect(list.topLevelItem(row)))
                                     .toImage()
                                     .convertToFormat(QImage::Format_RGB32);
            const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
            return std::any_of(pixels, pixels + image.width() * image.height(), colour);
        };
        for (const bool focused : {false, true}) {
            focused ? list.setFocus() : list.clearFocus();
            QTRY_COMPARE(list.hasFocus(), focused);
            QCOMPARE(shows(0, [](QRgb c) { return c == qRgb(255, 255, 0); }), !focused);
            QCOMPARE(shows(0, [](QRgb c) { return qGray(c) < 60; }), focused); // the text colour
            QVERIFY(shows(1, [](QRgb c) { return c == qRgb(255, 0, 0); }));
        }
    }
};

QTEST_MAIN(tst_controls)
#include "tst_controls.moc"
