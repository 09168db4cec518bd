// The slider control on screen: drawing, real mouse input, the value tip and the stored
// properties.
#include "controls/OleColor.h"
#include "controls/PropertySet.h"
#include "controls/ucSlider.h"
#include "controls/ucSliderTip.h"

#include <QApplication>
#include <QMetaProperty>
#include <QPainter>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 kBack = 0x000000FF; // red, so that every drawn pixel stands out

QRgb colorOf(quint32 ole)
{
    return OleColorToQColor(ole).rgb();
}

const QRgb back = qRgb(255, 0, 0);
const QRgb face = qRgb(0xc0, 0xc0, 0xc0);
const QRgb highlight = qRgb(0xff, 0xff, 0xff);
const QRgb light = qRgb(0xe0, 0xe0, 0xe0);
const QRgb shadow = qRgb(0x80, 0x80, 0x80);
const QRgb darkShadow = qRgb(0x20, 0x20, 0x20);

QRgb pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xff000000u;
}

QImage render(ucSlider& slider)
{
    return slider.grab().toImage();
}

QPixmap filled(QSize size, QColor color)
{
    QPixmap picture(size);
    picture.fill(color);
    return picture;
}

// Records the control's notifications in order.
class Recorder
{
public:
    explicit Recorder(ucSlider& slider)
    {
        QObject::connect(&slider, &ucSlider::Click, [this] { m_events << u"Click"_s; });
        QObject::connect(&slider, &ucSlider::ArrivedFirst,
                         [this] { m_events << u"ArrivedFirst"_s; });
        QObject::connect(&slider, &ucSlider::ArrivedLast, [this] { m_events << u"ArrivedLast"_s; });
        QObject::connect(&slider, &ucSlider::Change, [this, &slider] {
            m_events << u"Change "_s + QString::number(slider.Value());
        });
        QObject::connect(&slider, &ucSlider::MouseDown, [this](qint16& shift) {
            m_events << u"MouseDown "_s + QString::number(shift);
        });
        QObject::connect(&slider, &ucSlider::MouseUp, [this](qint16& shift) {
            m_events << u"MouseUp "_s + QString::number(shift);
        });
    }

    QStringList take() { return std::exchange(m_events, {}); }

private:
    QStringList m_events;
};

// Counts the paints a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

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
    slider->setBackColor(kBack);
    slider->resize(160, 30);
    slider->move(100, 200);
    slider->show();
    if (!QTest::qWaitForWindowExposed(slider.get()))
        return nullptr;
    return slider;
}

} // namespace

class tst_ucSlider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void drawsTheVolumeSlider();
    void railStyles();
    void thumbPictureAndRailImage();
    void verticalSlider();
    void pressOnTheRailJumps();
    void dragSnapsToWholeValues();
    void dragPastTheEnd();
    void disabledAndOtherButtons();
    void valueTip();
    void redrawsOnlyOnChange();
    void storedProperties();
    void degenerateRangesAndOrientations();
    void mousePointer();
};

void tst_ucSlider::initTestCase()
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Button, QColor(face));
    palette.setColor(QPalette::Light, QColor(highlight));
    palette.setColor(QPalette::Midlight, QColor(light));
    palette.setColor(QPalette::Mid, QColor(shadow));
    palette.setColor(QPalette::Shadow, QColor(darkShadow));
    QApplication::setPalette(palette);
    QCOMPARE(colorOf(OleSystemColor::ButtonFace), face);
}

void tst_ucSlider::drawsTheVolumeSlider()
{
    const auto slider = volumeSlider();
    QVERIFY(slider);
    QCOMPARE(slider->size(), QSize(160, 16));
    QCOMPARE(slider->thumb().left, 72.0f);
    QCOMPARE(slider->thumb().top, 0.0f);
    QCOMPARE(slider->groove(), (SliderGeometry::PixelRect{6, 6, 154, 10}));

    const QImage image = render(*slider);
    // The thin raised rail: highlight above and left, shadow below and right.
    QCOMPARE(pixel(image, 6, 6), highlight);
    QCOMPARE(pixel(image, 40, 6), highlight);
    QCOMPARE(pixel(image, 6, 8), highlight);
    QCOMPARE(pixel(image, 153, 6), shadow);
    QCOMPARE(pixel(image, 40, 9), shadow);
    QCOMPARE(pixel(image, 40, 7), back);
    QCOMPARE(pixel(image, 5, 6), back);
    QCOMPARE(pixel(image, 154, 6), back);
    QCOMPARE(pixel(image, 40, 5), back);

    // The thumb box (72, 0, 88, 16): face inside a raised edge of two rings.
    QCOMPARE(pixel(image, 72, 0), light);
    QCOMPARE(pixel(image, 72, 14), light);
    QCOMPARE(pixel(image, 87, 0), darkShadow);
    QCOMPARE(pixel(image, 72, 15), darkShadow);
    QCOMPARE(pixel(image, 87, 15), darkShadow);
    QCOMPARE(pixel(image, 73, 1), highlight);
    QCOMPARE(pixel(image, 86, 1), shadow);
    QCOMPARE(pixel(image, 73, 14), shadow);
    QCOMPARE(pixel(image, 80, 8), face);
    QCOMPARE(pixel(image, 71, 0), back);
    QCOMPARE(pixel(image, 88, 15), back);

    // Whatever height the host asks for, the slider keeps the thumb's.
    slider->resize(200, 40);
    QCOMPARE(slider->size(), QSize(200, 16));
    QCOMPARE(slider->thumb().left, 92.0f);
}

void tst_ucSlider::railStyles()
{
    const auto slider = volumeSlider();
    QVERIFY(slider);
    struct Case
    {
        int style;
        QRgb outer;    // (6, 6)
        QRgb inner;    // (7, 7)
        QRgb outerFar; // (153, 9)
    };
    const Case cases[] = {
        {ucSlider::RailSunken, shadow, darkShadow, highlight},
        {ucSlider::RailRaised, light, highlight, darkShadow},
        {ucSlider::RailThinSunken, shadow, back, highlight},
        {ucSlider::RailThinRaised, highlight, back, shadow},
        {ucSlider::RailNone, back, back, back},
        {7, back, back, back},
        {ucSlider::RailImageStyle, back, back, back}, // no rail picture
    };
    for (const Case& c : cases) {
        slider->setRailStyle(c.style);
        QCOMPARE(slider->size(), QSize(160, 16));
        const QImage image = render(*slider);
        QCOMPARE(pixel(image, 6, 6), c.outer);
        QCOMPARE(pixel(image, 7, 7), c.inner);
        QCOMPARE(pixel(image, 153, 9), c.outerFar);
        QCOMPARE(pixel(image, 80, 8), face); // the thumb is drawn whatever the rail
    }
    // The sunken rail's inner ring: dark shadow above, 3D light below.
    slider->setRailStyle(ucSlider::RailSunken);
    QCOMPARE(pixel(render(*slider), 40, 8), light);
}

void tst_ucSlider::thumbPictureAndRailImage()
{
    const auto slider = volumeSlider();
    QVERIFY(slider);
    const QRgb green = qRgb(0, 255, 0);
    const QRgb blue = qRgb(0, 0, 255);

    slider->resize(100, 16);
    slider->setSliderImage(filled({11, 21}, QColor(green)));
    QCOMPARE(slider->size(), QSize(100, 21));
    QCOMPARE(slider->groove(), (SliderGeometry::PixelRect{3, 8, 96, 12}));
    QCOMPARE(slider->thumb().left, 44.5f); // 89 × 50 / 100
    QImage image = render(*slider);
    QCOMPARE(pixel(image, 44, 0), green);
    QCOMPARE(pixel(image, 54, 20), green);
    QCOMPARE(pixel(image, 55, 20), back);

    // Without a picture the thumb keeps its size and is drawn as a box again.
    slider->setSliderImage(QPixmap());
    QCOMPARE(slider->size(), QSize(100, 21));
    QCOMPARE(pixel(render(*slider), 49, 10), face);

    auto plain = volumeSlider();
    QVERIFY(plain);
    plain->setRailImage(filled({60, 8}, QColor(blue)));
    QCOMPARE(plain->size(), QSize(160, 16)); // only the rail style 99 uses the picture
    plain->setRailStyle(ucSlider::RailImageStyle);
    QCOMPARE(plain->size(), QSize(64, 16));
    QCOMPARE(plain->thumb().top, 0.0f);
    QCOMPARE(plain->thumb().left, 24.0f);
    image = render(*plain);
    QCOMPARE(pixel(image, 2, 4), blue);
    QCOMPARE(pixel(image, 61, 11), blue);
    QCOMPARE(pixel(image, 2, 3), back);
    QCOMPARE(pixel(image, 2, 12), back);
    QCOMPARE(pixel(image, 1, 4), back);

    plain->setRailImage(filled({60, 20}, QColor(blue)));
    QCOMPARE(plain->size(), QSize(64, 20));
    QCOMPARE(plain->thumb().top, 2.0f);
    image = render(*plain);
    QCOMPARE(pixel(image, 2, 0), blue);
    QCOMPARE(pixel(image, 24, 2), light); // the thumb box over the rail
    QCOMPARE(pixel(image, 30, 1), blue);
}

void tst_ucSlider::verticalSlider()
{
    ucSlider slider;
    QCOMPARE(slider.Orientation(), 1);
    slider.setBackColor(kBack);
    slider.resize(40, 100);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QCOMPARE(slider.size(), QSize(16, 100));
    QCOMPARE(slider.thumb().top, 84.0f);
    QCOMPARE(slider.setValue(5), ControlError::None);
    QCOMPARE(slider.thumb().top, 42.0f);
    QCOMPARE(slider.setValue(10), ControlError::None);
    QCOMPARE(slider.thumb().top, 0.0f);

    // A press near the bottom brings the thumb's centre there: the lowest value.
    Recorder events(slider);
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(8, 95));
    QCOMPARE(slider.Value(), 0);
    QCOMPARE(slider.thumb().top, 84.0f);
    QTest::mouseMove(&slider, QPoint(8, 50));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(8, 50));
    QCOMPARE(slider.Value(), 5); // (84 − 42) / 84 × 10
    QCOMPARE(events.take(), (QStringList{u"Change 0"_s, u"ArrivedFirst"_s, u"MouseDown 0"_s,
                                         u"Change 5"_s, u"Click"_s, u"MouseUp 0"_s}));

    // Turning it horizontal sets the height to the thumb's and keeps the width.
    slider.setOrientation(0);
    QCOMPARE(slider.size(), QSize(16, 16));
    slider.resize(120, 50);
    QCOMPARE(slider.size(), QSize(120, 16));
    QCOMPARE(slider.thumb().left, 52.0f);
}

void tst_ucSlider::pressOnTheRailJumps()
{
    const auto slider = volumeSlider();
    QVERIFY(slider);
    Recorder events(*slider);
    QTest::mousePress(slider.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(120, 8));
    QCOMPARE(slider->Value(), 78);
    QCOMPARE(slider->thumb().left, 112.32f);
    QCOMPARE(events.take(), (QStringList{u"Change 78"_s, u"MouseDown 1"_s}));
    QVERIFY(slider->isDragging());
    QTest::mouseRelease(slider.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(120, 8));
    QCOMPARE(events.take(), (QStringList{u"Click"_s, u"MouseUp 2"_s}));
    QVERIFY(!slider->isDragging());
}

void tst_ucSlider::dragSnapsToWholeValues()
{
    const auto slider = volumeSlider();
    QVERIFY(slider);
    Recorder events(*slider);

    // Grabbed at (80, 8), 8 pixels into the thumb.
    QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(80, 8));
    QCOMPARE(events.take(), (QStringList{u"MouseDown 0"_s}));
    QCOMPARE(slider->Value(), 50);

    QTest::mouseMove(slider.get(), QPoint(81, 8));
    QCOMPARE(slider->Value(), 51);
    QCOMPARE(slider->thumb().left, 73.44f);
    QCOMPARE(events.take(), (QStringList{u"Change 51"_s}));
    QImage image = render(*slider);
    QCOMPARE(pixel(image, 73, 0), light);
    QCOMPARE(pixel(image, 72, 0), back);
    QCOMPARE(pixel(image, 88, 15), darkShadow);

    // Moving across the same value raises nothing.
    QTest::mouseMove(slider.get(), QPoint(82, 8)); // 74 / 144 × 100 = 51.4
    QCOMPARE(slider->Value(), 51);
    QVERIFY(events.take().isEmpty());

    QTest::mouseMove(slider.get(), QPoint(-30, 8));
    QCOMPARE(slider->Value(), 0);
    QCOMPARE(slider->thumb().left, 0.0f);
    QCOMPARE(events.take(), (QStringList{u"Change 0"_s, u"ArrivedFirst"_s}));

    QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(-30, 8));
    QCOMPARE(events.take(), (QStringList{u"MouseUp 0"_s})); // outside: no Click
}

void tst_ucSlider::dragPastTheEnd()
{
    const auto slider = volumeSlider();
    QVERIFY(slider);
    Recorder events(*slider);
    QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(80, 8));
    QTest::mouseMove(slider.get(), QPoint(1000, 8));
    QTest::mouseMove(slider.get(), QPoint(1200, -40));
    QTest::mouseMove(slider.get(), QPoint(900, 8));
    QCOMPARE(slider->Value(), 100);
    QCOMPARE(slider->thumb().left, 144.0f);
    QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(159, 15));
    QCOMPARE(events.take(), (QStringList{u"MouseDown 0"_s, u"Change 100"_s, u"ArrivedLast"_s,
                                         u"Click"_s, u"MouseUp 0"_s}));
}

void tst_ucSlider::disabledAndOtherButtons()
{
    const auto slider = volumeSlider();
    QVERIFY(slider);
    Recorder events(*slider);

    slider->setEnabled(false);
    QVERIFY(!slider->Enabled());
    QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(120, 8));
    QTest::mouseMove(slider.get(), QPoint(130, 8));
    QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(130, 8));
    QCOMPARE(slider->Value(), 50);
    QCOMPARE(events.take(), (QStringList{u"Click"_s}));

    slider->setEnabled(true);
    QTest::mousePress(slider.get(), Qt::RightButton, {}, QPoint(120, 8));
    QTest::mouseRelease(slider.get(), Qt::RightButton, {}, QPoint(120, 8));
    QCOMPARE(slider->Value(), 50);
    QVERIFY(events.take().isEmpty());

    // A right release during a left drag ends the drag.
    QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(120, 8));
    QTest::mousePress(slider.get(), Qt::RightButton, {}, QPoint(120, 8));
    QTest::mouseRelease(slider.get(), Qt::RightButton, {}, QPoint(120, 8));
    QVERIFY(!slider->isDragging());
    QTest::mouseMove(slider.get(), QPoint(20, 8));
    QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(20, 8));
    QCOMPARE(slider->Value(), 78);
    QCOMPARE(events.take(),
             (QStringList{u"Change 78"_s, u"MouseDown 0"_s, u"MouseUp 0"_s, u"Click"_s}));
}

void tst_ucSlider::valueTip()
{
    const auto slider = volumeSlider(true);
    QVERIFY(slider);
    QVERIFY(!ucSliderTip::current());
    const QPoint origin = slider->mapToGlobal(QPoint(0, 0));

    QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(80, 8));
    ucSliderTip* tip = ucSliderTip::current();
    QVERIFY(tip);
    QVERIFY(tip->isVisible());
    QVERIFY(!tip->isActiveWindow());
    QCOMPARE(tip->text(), u"50"_s);
    const QFontMetrics metrics(tip->font());
    const QSize label(metrics.horizontalAdvance(u"50"_s), metrics.height());
    QCOMPARE(tip->size(), QSize(label.width() + 4, label.height() + 3));
    QCOMPARE(tip->geometry().topLeft(),
             SliderGeometry::tipPlace(SliderGeometry::Orientation::Horizontal, origin,
                                      slider->thumb(), label));
    // Two rows of gap above the thumb.
    QCOMPARE(tip->geometry().bottom(), origin.y() - 3);

    // The frame: highlight above and left, dark shadow below and right.
    const QImage frame = tip->grab().toImage();
    const int w = tip->width();
    const int h = tip->height();
    QCOMPARE(pixel(frame, 0, 0), colorOf(OleSystemColor::Highlight3D));
    QCOMPARE(pixel(frame, 0, h - 2), colorOf(OleSystemColor::Highlight3D));
    QCOMPARE(pixel(frame, w - 1, 0), colorOf(OleSystemColor::DarkShadow3D));
    QCOMPARE(pixel(frame, 0, h - 1), colorOf(OleSystemColor::DarkShadow3D));
    QCOMPARE(pixel(frame, 1, h - 2), colorOf(OleSystemColor::InfoBackground));

    // Each change of the value moves the same tip along.
    const int before = tip->x();
    QTest::mouseMove(slider.get(), QPoint(120, 8));
    QCOMPARE(ucSliderTip::current(), tip);
    QCOMPARE(tip->text(), u"78"_s);
    QVERIFY(tip->x() > before);

    QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(120, 8));
    QVERIFY(!ucSliderTip::current());

    // One tip for all sliders: another slider's release or destruction closes it.
    auto other = volumeSlider(false);
    QVERIFY(other);
    QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(10, 8));
    QVERIFY(ucSliderTip::current());
    QTest::mousePress(other.get(), Qt::LeftButton, {}, QPoint(80, 8));
    QVERIFY(ucSliderTip::current()); // the tip of the first slider stays up
    other.reset();
    QVERIFY(!ucSliderTip::current());
    QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(10, 8));

    // A tip that is off shows nothing.
    slider->setShowValueTip(false);
    QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(120, 8));
    QVERIFY(!ucSliderTip::current());
    QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(120, 8));
}

void tst_ucSlider::redrawsOnlyOnChange()
{
    const auto slider = volumeSlider();
    QVERIFY(slider);
    PaintCounter counter;
    slider->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    QCOMPARE(slider->setValue(50), ControlError::None);
    slider->setEnabled(false);
    QCOMPARE(slider->setMax(40), ControlError::None); // Value 50 stays above Max
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 0);
    QCOMPARE(slider->Value(), 50);
    QCOMPARE(slider->thumb().left, 72.0f);

    QCOMPARE(slider->setValue(40), ControlError::None);
    QCOMPARE(slider->thumb().left, 144.0f);
    QCoreApplication::processEvents();
    QVERIFY(counter.paints > 0);

    // A rejected write changes nothing.
    QCOMPARE(slider->setValue(41), ControlError::InvalidPropertyValue);
    QCOMPARE(slider->setMin(40), ControlError::InvalidPropertyValue);
    QCOMPARE(slider->Value(), 40);
    QCOMPARE(slider->Min(), 0);
}

void tst_ucSlider::storedProperties()
{
    // An untouched instance has nothing but defaults to store.
    ucSlider fresh;
    PropertySet stored;
    fresh.writeProperties(stored);
    QVERIFY(stored.isEmpty());

    const auto volume = volumeSlider();
    QVERIFY(volume);
    QCOMPARE(volume->setMin(-5), ControlError::None);
    QCOMPARE(volume->setValue(60), ControlError::None);
    volume->setEnabled(false);
    QCOMPARE(volume->setMousePointer(2), ControlError::None);
    volume->setSliderImage(filled({11, 21}, Qt::green));
    volume->writeProperties(stored);
    QCOMPARE(stored.names(), (QStringList{u"BackColor"_s, u"Enabled"_s, u"MousePointer"_s,
                                          u"SliderImage"_s, u"Orientation"_s, u"RailStyle"_s,
                                          u"ShowValueTip"_s, u"Min"_s, u"Max"_s, u"Value"_s}));

    // Loading takes the values as they are and raises nothing.
    ucSlider loaded;
    Recorder events(loaded);
    loaded.readProperties(stored);
    QVERIFY(events.take().isEmpty());
    QCOMPARE(loaded.BackColor(), kBack);
    QCOMPARE(loaded.Enabled(), false);
    QCOMPARE(loaded.MousePointer(), 2);
    QCOMPARE(loaded.SliderImage().size(), QSize(11, 21));
    QCOMPARE(loaded.Orientation(), 0);
    QCOMPARE(loaded.RailStyle(), 3);
    QCOMPARE(loaded.ShowValueTip(), false);
    QCOMPARE(loaded.Min(), -5);
    QCOMPARE(loaded.Max(), 100);
    QCOMPARE(loaded.Value(), 60);
    QCOMPARE(loaded.height(), 21);
    PropertySet again;
    loaded.writeProperties(again);
    QCOMPARE(again.names(), stored.names());
    QCOMPARE(again.read(u"Value").toInt(), 60);

    // The main window's set spells the names in lower case.
    PropertySet lower;
    lower.write(u"orientation"_s, 0);
    lower.write(u"railstyle"_s, 3);
    lower.write(u"showvaluetip"_s, false);
    lower.write(u"max"_s, 100);
    lower.write(u"value"_s, 50);
    ucSlider host;
    host.readProperties(lower);
    QCOMPARE(host.Orientation(), 0);
    QCOMPARE(host.RailStyle(), 3);
    QVERIFY(!host.ShowValueTip());
    QCOMPARE(host.Max(), 100);
    QCOMPARE(host.Value(), 50);
    QVERIFY(host.Enabled());
    // A value equal to the last loaded one is silent; another is a change.
    Recorder hostEvents(host);
    QCOMPARE(host.setValue(50), ControlError::None);
    QCOMPARE(host.setValue(100), ControlError::None);
    QCOMPARE(hostEvents.take(), (QStringList{u"Change 100"_s, u"ArrivedLast"_s}));

    // A set saved from a new instance and loaded back gives the new instance's state.
    ucSlider reloaded;
    reloaded.readProperties(stored);
    reloaded.readProperties(PropertySet());
    QCOMPARE(reloaded.BackColor(), fresh.BackColor());
    QCOMPARE(reloaded.Enabled(), fresh.Enabled());
    QCOMPARE(reloaded.MousePointer(), fresh.MousePointer());
    QCOMPARE(reloaded.Orientation(), fresh.Orientation());
    QCOMPARE(reloaded.RailStyle(), fresh.RailStyle());
    QCOMPARE(reloaded.ShowValueTip(), fresh.ShowValueTip());
    QCOMPARE(reloaded.Min(), fresh.Min());
    QCOMPARE(reloaded.Max(), fresh.Max());
    QCOMPARE(reloaded.Value(), fresh.Value());
    QVERIFY(reloaded.SliderImage().isNull());

    // Value is the control's default property.
    const QMetaProperty user = host.metaObject()->userProperty();
    QCOMPARE(user.name(), "Value");
    QVERIFY(user.write(&host, 30));
    QCOMPARE(host.Value(), 30);
    QCOMPARE(user.read(&host).toInt(), 30);
}

void tst_ucSlider::degenerateRangesAndOrientations()
{
    // A loaded range with Min >= Max: the thumb and the value stay where they are.
    PropertySet broken;
    broken.write(u"Orientation"_s, 0);
    broken.write(u"Min"_s, 10);
    broken.write(u"Max"_s, 0);
    broken.write(u"Value"_s, 3);
    ucSlider slider;
    slider.readProperties(broken);
    slider.resize(160, 16);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    Recorder events(slider);
    const float left = slider.thumb().left;
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(120, 8));
    QTest::mouseMove(&slider, QPoint(40, 8));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(40, 8));
    QCOMPARE(slider.Value(), 3);
    QCOMPARE(slider.thumb().left, left);
    QCOMPARE(events.take(), (QStringList{u"MouseDown 0"_s, u"Click"_s, u"MouseUp 0"_s}));

    // No travel: a thumb as long as the control keeps its value.
    ucSlider narrow;
    narrow.setOrientation(0);
    QCOMPARE(narrow.setValue(5), ControlError::None);
    narrow.resize(16, 16);
    narrow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&narrow));
    Recorder narrowEvents(narrow);
    QTest::mousePress(&narrow, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseMove(&narrow, QPoint(60, 8));
    QTest::mouseMove(&narrow, QPoint(-60, 8));
    QTest::mouseRelease(&narrow, Qt::LeftButton, {}, QPoint(-60, 8));
    QCOMPARE(narrow.Value(), 5);
    QCOMPARE(narrow.thumb().left, 0.0f);
    QCOMPARE(narrowEvents.take(), (QStringList{u"MouseDown 0"_s, u"MouseUp 0"_s}));

    // An orientation code other than 0 and 1 is kept, and the slider works horizontally.
    ucSlider odd;
    odd.setOrientation(7);
    QCOMPARE(odd.setMax(100), ControlError::None);
    odd.resize(160, 40);
    odd.show();
    QVERIFY(QTest::qWaitForWindowExposed(&odd));
    QCOMPARE(odd.Orientation(), 7);
    QCOMPARE(odd.size(), QSize(160, 16));
    QTest::mousePress(&odd, Qt::LeftButton, {}, QPoint(120, 8));
    QTest::mouseRelease(&odd, Qt::LeftButton, {}, QPoint(120, 8));
    QCOMPARE(odd.Value(), 78);
    PropertySet saved;
    odd.writeProperties(saved);
    QCOMPARE(saved.read(u"Orientation").toInt(), 7);
}

void tst_ucSlider::mousePointer()
{
    ucSlider slider;
    QCOMPARE(slider.setMousePointer(11), ControlError::None);
    QCOMPARE(slider.cursor().shape(), Qt::WaitCursor);
    QCOMPARE(slider.setMousePointer(40000), ControlError::Overflow);
    QCOMPARE(slider.setMousePointer(-40000), ControlError::Overflow);
    QCOMPARE(slider.MousePointer(), 11);
    QCOMPARE(slider.cursor().shape(), Qt::WaitCursor);

    slider.setMouseIcon(filled({16, 16}, Qt::black));
    QCOMPARE(slider.setMousePointer(99), ControlError::None);
    QCOMPARE(slider.cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(slider.setMousePointer(0), ControlError::None);
    QCOMPARE(slider.cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(tst_ucSlider)
#include "tst_ucSlider.moc"
