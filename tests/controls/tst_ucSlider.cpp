// The slider control on screen: drawing, real mouse input, the value tip and the stored
// properties.
#include "controls/PropertySet.h"
#include "controls/ucSlider.h"
#include "controls/ucSliderTip.h"

#include <QApplication>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QRgb back = qRgb(255, 0, 0), face = qRgb(0xc0, 0xc0, 0xc0), highlight = qRgb(255, 255, 255),
           light = qRgb(0xe0, 0xe0, 0xe0), shadow = qRgb(0x80, 0x80, 0x80),
           darkShadow = qRgb(0x20, 0x20, 0x20), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255);

// Compares pixels {x, y, colour} of the control's picture.
void checkPixels(QWidget& widget, std::initializer_list<std::tuple<int, int, QRgb>> pixels)
{
    const QImage image = widget.grab().toImage();
    for (const auto& [x, y, colour] : pixels)
        QVERIFY2((image.pixel(x, y) | 0xff000000u) == colour,
                 qPrintable(u"%1, %2"_s.arg(x).arg(y)));
}

QPixmap filled(QSize size, QRgb colour)
{
    QPixmap picture(size);
    picture.fill(QColor(colour));
    return picture;
}

// Records the control's notifications in order, as "Change 78, MouseDown 1".
class Recorder
{
public:
    explicit Recorder(ucSlider& slider)
    {
        const auto note = [this](QString what) { return [this, what] { m_events << what; }; };
        QObject::connect(&slider, &ucSlider::Click, note(u"Click"_s));
        QObject::connect(&slider, &ucSlider::ArrivedFirst, note(u"ArrivedFirst"_s));
        QObject::connect(&slider, &ucSlider::ArrivedLast, note(u"ArrivedLast"_s));
        QObject::connect(&slider, &ucSlider::Change,
                         [this, &slider] { m_events << u"Change %1"_s.arg(slider.Value()); });
        QObject::connect(&slider, &ucSlider::MouseDown,
                         [this](qint16& shift) { m_events << u"MouseDown %1"_s.arg(shift); });
        QObject::connect(&slider, &ucSlider::MouseUp,
                         [this](qint16& shift) { m_events << u"MouseUp %1"_s.arg(shift); });
    }
    QString take() { return std::exchange(m_events, {}).join(u", "); }

private:
    QStringList m_events;
};

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
    slider->setBackColor(0x0000FF); // red, so that every drawn pixel stands out
    slider->resize(160, 30);
    slider->move(100, 200);
    return shown(*slider) ? std::move(slider) : nullptr;
}

} // namespace

class tst_ucSlider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Button, QColor(face));
        palette.setColor(QPalette::Light, QColor(highlight));
        palette.setColor(QPalette::Midlight, QColor(light));
        palette.setColor(QPalette::Mid, QColor(shadow));
        palette.setColor(QPalette::Shadow, QColor(darkShadow));
        QApplication::setPalette(palette);
    }

    void drawing()
    {
        const auto slider = volumeSlider();
        QVERIFY(slider);
        QCOMPARE(slider->size(), QSize(160, 16));
        QCOMPARE(slider->groove(), (SliderGeometry::PixelRect{6, 6, 154, 10}));
        // The thumb box 72..88, face inside a raised edge of two rings, over the thin raised
        // rail: highlight above and left, shadow below and right.
        checkPixels(*slider, {{72, 0, light},
                              {87, 0, darkShadow},
                              {73, 1, highlight},
                              {86, 1, shadow},
                              {80, 8, face},
                              {71, 0, back},
                              {88, 15, back},
                              {6, 6, highlight},
                              {7, 7, back},
                              {153, 9, shadow},
                              {154, 6, back}});
        slider->setRailStyle(ucSlider::RailNone);
        checkPixels(*slider, {{6, 6, back}, {153, 9, back}});
        // Whatever height the host asks for, the slider keeps the thumb's.
        slider->resize(200, 40);
        QCOMPARE(slider->size(), QSize(200, 16));
        QCOMPARE(slider->thumb().left, 92.0f);

        // An 11 x 21 thumb picture.
        slider->resize(100, 16);
        slider->setSliderImage(filled({11, 21}, green));
        QCOMPARE(slider->size(), QSize(100, 21));
        QCOMPARE(slider->groove(), (SliderGeometry::PixelRect{3, 8, 96, 12}));
        QCOMPARE(slider->thumb().left, 44.5f); // 89 × 50 / 100
        checkPixels(*slider, {{44, 0, green}, {54, 20, green}, {55, 20, back}});

        // The rail picture counts only with rail style 99; RH 8 and RH 20.
        const auto plain = volumeSlider();
        QVERIFY(plain);
        plain->setRailImage(filled({60, 8}, blue));
        QCOMPARE(plain->size(), QSize(160, 16));
        plain->setRailStyle(ucSlider::RailImageStyle);
        QCOMPARE(plain->size(), QSize(64, 16));
        checkPixels(*plain, {{2, 4, blue}, {61, 11, blue}, {2, 3, back}, {2, 12, back}});
        plain->setRailImage(filled({60, 20}, blue));
        QCOMPARE(plain->size(), QSize(64, 20));
        QCOMPARE(plain->thumb().top, 2.0f); // centred on the rail
        checkPixels(*plain, {{2, 0, blue}, {24, 2, light}});
    }

    void pressAndDrag()
    {
        const auto slider = volumeSlider();
        QVERIFY(slider);
        Recorder events(*slider);
        // Grabbed 8 pixels into the thumb and dragged to L = 73: 51, snapped onto 73.44.
        QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(80, 8));
        QTest::mouseMove(slider.get(), QPoint(81, 8));
        QCOMPARE(slider->thumb().left, 73.44f);
        QTest::mouseMove(slider.get(), QPoint(82, 8)); // 74 / 144 × 100 = 51.4: no change
        QTest::mouseMove(slider.get(), QPoint(-30, 8));
        QCOMPARE(slider->thumb().left, 0.0f);
        QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(-30, 8)); // outside: no Click
        QCOMPARE(events.take(), u"MouseDown 0, Change 51, Change 0, ArrivedFirst, MouseUp 0"_s);

        // A press on the rail at x = 120 jumps there before MouseDown; the shift state goes along.
        QTest::mousePress(slider.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(120, 8));
        QCOMPARE(slider->thumb().left, 112.32f);
        QTest::mouseRelease(slider.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(120, 8));
        QCOMPARE(events.take(), u"Change 78, MouseDown 1, Click, MouseUp 2"_s);

        // Dragged past the end and on: Max once.
        QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(120, 8));
        for (const QPoint to : {QPoint(1000, 8), QPoint(1200, -40), QPoint(900, 8)})
            QTest::mouseMove(slider.get(), to);
        QCOMPARE(slider->thumb().left, 144.0f);
        QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(159, 15));
        QCOMPARE(events.take(), u"MouseDown 0, Change 100, ArrivedLast, Click, MouseUp 0"_s);

        // A disabled slider does not move but still raises Click.
        slider->setEnabled(false);
        QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(20, 8));
        QTest::mouseMove(slider.get(), QPoint(30, 8));
        QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(30, 8));
        QCOMPARE(events.take(), u"Click"_s);

        // A right release during a left drag ends the drag.
        slider->setEnabled(true);
        QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(120, 8));
        QTest::mouseClick(slider.get(), Qt::RightButton, {}, QPoint(120, 8));
        QTest::mouseMove(slider.get(), QPoint(20, 8));
        QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(20, 8));
        QCOMPARE(events.take(), u"Change 78, MouseDown 0, MouseUp 0, Click"_s);
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
        volume->setEnabled(false);
        QCOMPARE(volume->setMousePointer(2), ControlError::None);
        QCOMPARE(volume->setMousePointer(40000), ControlError::Overflow);
        volume->setSliderImage(filled({11, 21}, green));
        PropertySet stored;
        volume->writeProperties(stored);
        QCOMPARE(stored.names(), (QStringList{u"BackColor"_s, u"Enabled"_s, u"MousePointer"_s,
                                              u"SliderImage"_s, u"Orientation"_s, u"RailStyle"_s,
                                              u"ShowValueTip"_s, u"Min"_s, u"Max"_s, u"Value"_s}));
        // Loading takes the values as they are, raises nothing and stores them back the same.
        ucSlider loaded;
        Recorder events(loaded);
        loaded.readProperties(stored);
        QCOMPARE(loaded.height(), 21);
        PropertySet again;
        loaded.writeProperties(again);
        QCOMPARE(again.names(), stored.names());
        for (const QString& name : {u"BackColor"_s, u"MousePointer"_s, u"Min"_s, u"Value"_s})
            QCOMPARE(again.read(name), stored.read(name));
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
        QCOMPARE(events.take(), u"Change 100, ArrivedLast"_s);
    }

    void mendsForBrokenRanges()
    {
        // A loaded range with Min >= Max, and a thumb as long as the control: the thumb and the
        // value stay where they are and no Change comes.
        PropertySet broken;
        broken.write(u"Orientation"_s, 0);
        broken.write(u"Min"_s, 10);
        broken.write(u"Max"_s, 0);
        broken.write(u"Value"_s, 3);
        ucSlider loaded;
        loaded.readProperties(broken);
        loaded.resize(160, 16);
        ucSlider narrow;
        narrow.setOrientation(0);
        narrow.setValue(5);
        narrow.resize(16, 16);
        for (ucSlider* slider : {&loaded, &narrow}) {
            QVERIFY(shown(*slider));
            Recorder events(*slider);
            const float left = slider->thumb().left;
            const int value = slider->Value();
            QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(8, 8));
            QTest::mouseMove(slider, QPoint(120, 8));
            QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(-60, 8));
            QVERIFY(slider->Value() == value && slider->thumb().left == left);
            QVERIFY(!events.take().contains(u"Change"));
        }
        // An orientation code other than 0 and 1 lays the slider out horizontally.
        loaded.setOrientation(7);
        QCOMPARE(loaded.size(), QSize(160, 16));
        QCOMPARE(loaded.Orientation(), 7);
    }
};

QTEST_MAIN(tst_ucSlider)
#include "tst_ucSlider.moc"
