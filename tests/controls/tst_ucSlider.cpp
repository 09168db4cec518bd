// The slider control on screen: its geometry, real mouse input, the value tip and the stored
// properties.
#include "controls/PropertySet.h"
#include "controls/ucSlider.h"
#include "controls/ucSliderTip.h"

#include <QTest>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QPixmap filled(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::green);
    return picture;
}

// The control's notifications in order, as "Change 78, MouseDown 1".
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
        QCOMPARE(volume->setMin(-5), ControlError::None);
        QCOMPARE(volume->setValue(60), ControlError::None);
        volume->setBackColor(0x0000FF);
        volume->setEnabled(false);
        QCOMPARE(volume->setMousePointer(2), ControlError::None);
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
        QCOMPARE(loaded.setValue(50), ControlError::None);
        QCOMPARE(loaded.setValue(100), ControlError::None);
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
};

QTEST_MAIN(tst_ucSlider)
#include "tst_ucSlider.moc"
