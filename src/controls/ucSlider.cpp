#include "controls/ucSlider.h"

#include "controls/ucSliderAccessible.h"

#include "controls/MousePointer.h"

#include "controls/Edge3D.h"
#include "controls/OleColor.h"
#include "controls/PropertySet.h"
#include "controls/ucSliderTip.h"

#include <QAccessible>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOption>

#include <limits>
#include <optional>

using namespace Qt::StringLiterals;
using namespace SliderGeometry;

namespace {

// Names and defaults of the stored properties, in the order they are written.
const auto kBackColor = u"BackColor"_s;
const auto kEnabled = u"Enabled"_s;
const auto kMouseIcon = u"MouseIcon"_s;
const auto kMousePointer = u"MousePointer"_s;
const auto kSliderImage = u"SliderImage"_s;
const auto kOrientation = u"Orientation"_s;
const auto kRailImage = u"RailImage"_s;
const auto kRailStyle = u"RailStyle"_s;
const auto kShowValueTip = u"ShowValueTip"_s;
const auto kMin = u"Min"_s;
const auto kMax = u"Max"_s;
const auto kValue = u"Value"_s;

constexpr quint32 DefaultBackColor = OleSystemColor::ButtonFace;
constexpr bool DefaultEnabled = true;
constexpr int DefaultMousePointer = 0;
constexpr int DefaultOrientation = 1;
constexpr int DefaultRailStyle = 0;
constexpr bool DefaultShowValueTip = true;
constexpr int DefaultMin = 0;
constexpr int DefaultMax = 10;
constexpr int DefaultValue = 0;

constexpr int CustomPointer = 99;

QVariant pictureValue(const QPixmap& picture)
{
    return picture.isNull() ? QVariant() : QVariant::fromValue(picture);
}

QPixmap pictureFrom(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<QImage>())
        return QPixmap::fromImage(value.value<QImage>());
    return value.value<QPixmap>();
}

int intFrom(const QVariant& value, int fallback)
{
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return fallback;
    return int(number);
}

} // namespace

ucSlider::ucSlider(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Reached by Tab; a click leaves the focus where it was, as it always did.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    ucSliderAccessible::install();

    connect(&m_model, &SliderValue::valueMoved, this, [this] {
        if (!m_dragging)
            placeThumbForValue();
        redraw();
    });
    connect(&m_model, &SliderValue::Change, this, &ucSlider::Change);
    connect(&m_model, &SliderValue::Change, this, [this] {
        QAccessibleValueChangeEvent event(this, Value());
        QAccessible::updateAccessibility(&event);
    });
    connect(&m_model, &SliderValue::ArrivedLast, this, &ucSlider::ArrivedLast);
    connect(&m_model, &SliderValue::ArrivedFirst, this, &ucSlider::ArrivedFirst);

    resetThumb();
}

ucSlider::~ucSlider()
{
    ucSliderTip::closeTip();
}

void ucSlider::setEnabled(bool enabled)
{
    m_enabled = enabled;
}

void ucSlider::setBackColor(quint32 color)
{
    m_backColor = color;
    redraw();
}

ControlError ucSlider::setMousePointer(int code)
{
    if (!FitsInt16(code))
        return ControlError::Overflow;
    m_mousePointer = code;
    applyPointer();
    return ControlError::None;
}

void ucSlider::setMouseIcon(const QPixmap& icon)
{
    m_mouseIcon = icon;
    applyPointer();
}

ControlError ucSlider::setMax(int n)
{
    return m_model.setMax(n);
}

ControlError ucSlider::setMin(int n)
{
    return m_model.setMin(n);
}

ControlError ucSlider::setValue(int v)
{
    return m_model.setValue(v);
}

void ucSlider::setOrientation(int orientation)
{
    m_orientation = orientation;
    resetThumb();
    runLayout();
}

void ucSlider::setRailStyle(int style)
{
    m_railStyle = style;
    runLayout();
}

void ucSlider::setSliderImage(const QPixmap& picture)
{
    m_sliderImage = picture;
    // Without a picture the thumb keeps the size it has.
    if (!picture.isNull()) {
        const QSizeF size = picture.deviceIndependentSize();
        m_thumb.width = float(size.width());
        m_thumb.height = float(size.height());
    }
    runLayout();
}

void ucSlider::setRailImage(const QPixmap& picture)
{
    m_railImage = picture;
    if (!picture.isNull())
        m_railSize = picture.deviceIndependentSize().toSize();
    runLayout();
}

void ucSlider::setShowValueTip(bool show)
{
    m_showValueTip = show;
}

void ucSlider::readProperties(const PropertySet& properties)
{
    const QVariant backColor = properties.read(kBackColor, DefaultBackColor);
    m_backColor = quint32(backColor.toLongLong());
    const int pointer =
        intFrom(properties.read(kMousePointer, DefaultMousePointer), DefaultMousePointer);
    m_mousePointer = FitsInt16(pointer) ? pointer : DefaultMousePointer;
    m_mouseIcon = pictureFrom(properties.read(kMouseIcon));
    applyPointer();
    m_enabled = properties.read(kEnabled, DefaultEnabled).toBool();
    m_orientation = intFrom(properties.read(kOrientation, DefaultOrientation), DefaultOrientation);
    m_railStyle = intFrom(properties.read(kRailStyle, DefaultRailStyle), DefaultRailStyle);
    m_showValueTip = properties.read(kShowValueTip, DefaultShowValueTip).toBool();
    const int min = intFrom(properties.read(kMin, DefaultMin), DefaultMin);
    const int max = intFrom(properties.read(kMax, DefaultMax), DefaultMax);
    const int value = intFrom(properties.read(kValue, DefaultValue), DefaultValue);
    m_model.load(min, max, value);

    m_sliderImage = pictureFrom(properties.read(kSliderImage));
    if (!m_sliderImage.isNull()) {
        const QSizeF size = m_sliderImage.deviceIndependentSize();
        m_thumb.width = float(size.width());
        m_thumb.height = float(size.height());
    }
    m_railImage = pictureFrom(properties.read(kRailImage));
    if (!m_railImage.isNull())
        m_railSize = m_railImage.deviceIndependentSize().toSize();

    // The layout a host's sizing would run puts the thumb for the loaded value on both axes.
    runLayout();
}

void ucSlider::writeProperties(PropertySet& properties) const
{
    properties.write(kBackColor, m_backColor, DefaultBackColor);
    properties.write(kEnabled, m_enabled, DefaultEnabled);
    properties.write(kMouseIcon, pictureValue(m_mouseIcon));
    properties.write(kMousePointer, m_mousePointer, DefaultMousePointer);
    properties.write(kSliderImage, pictureValue(m_sliderImage));
    properties.write(kOrientation, m_orientation, DefaultOrientation);
    properties.write(kRailImage, pictureValue(m_railImage));
    properties.write(kRailStyle, m_railStyle, DefaultRailStyle);
    properties.write(kShowValueTip, m_showValueTip, DefaultShowValueTip);
    properties.write(kMin, m_model.Min(), DefaultMin);
    properties.write(kMax, m_model.Max(), DefaultMax);
    properties.write(kValue, m_model.Value(), DefaultValue);
}

QSize ucSlider::sizeHint() const
{
    return size();
}

void ucSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), OleColorToQColor(m_backColor));
    drawRail(painter);
    drawThumb(painter);
    if (hasFocus()) {
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.backgroundColor = OleColorToQColor(m_backColor);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
}

void ucSlider::keyPressEvent(QKeyEvent* event)
{
    const int value = Value();
    int target = value;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        target = value - 1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        target = value + 1;
        break;
    case Qt::Key_PageDown:
        target = value - 10;
        break;
    case Qt::Key_PageUp:
        target = value + 10;
        break;
    case Qt::Key_Home:
        target = Min();
        break;
    case Qt::Key_End:
        target = Max();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // Keys do what a drag to that place would, and only while a drag may start.
    if (m_enabled && !m_dragging)
        (void)setValue(std::clamp(target, Min(), Max()));
}

void ucSlider::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void ucSlider::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void ucSlider::resizeEvent(QResizeEvent*)
{
    runLayout();
}

void ucSlider::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (!m_enabled || event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    const float x = float(event->position().x());
    const float y = float(event->position().y());
    const bool onThumb = x >= m_thumb.left && x < m_thumb.left + m_thumb.width &&
                         y >= m_thumb.top && y < m_thumb.top + m_thumb.height;
    if (onThumb) {
        m_grabX = x - m_thumb.left;
        m_grabY = y - m_thumb.top;
    } else {
        // The thumb's centre jumps to the pointer.
        m_grabX = float(half(m_thumb.width));
        m_grabY = float(half(m_thumb.height));
        dragTo(event->position());
    }
    if (m_showValueTip)
        updateTip();
    qint16 shift = ShiftMask(event->modifiers());
    Q_EMIT MouseDown(shift);
}

void ucSlider::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    dragTo(event->position());
}

void ucSlider::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const QPointF pos = event->position();
    if (event->button() == Qt::LeftButton && pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 &&
        pos.y() < height())
        Q_EMIT Click();
    if (m_dragging) {
        qint16 shift = ShiftMask(event->modifiers());
        Q_EMIT MouseUp(shift);
    }
    m_dragging = false;
    ucSliderTip::closeTip();
}

void ucSlider::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like any other.
    mousePressEvent(event);
}

Orientation ucSlider::orientation() const
{
    return orientationFromCode(m_orientation);
}

bool ucSlider::imageRail() const
{
    return m_railStyle == RailImageStyle && !m_railImage.isNull();
}

void ucSlider::runLayout()
{
    // Resizing the control from here comes back through resizeEvent; this run finishes the
    // job with the new size.
    if (m_inLayout)
        return;
    const QScopedValueRollback<bool> guard(m_inLayout, true);
    LayoutInput input{.orientation = orientation(),
                      .surface = size(),
                      .thumb = m_thumb,
                      .rail = m_railSize,
                      .imageRail = imageRail(),
                      .value = m_model.Value(),
                      .min = m_model.Min(),
                      .span = m_model.span()};
    Layout layout = layoutSlider(input);
    applySize(layout);
    if (size() != layout.surface) {
        // The host holds the size: place everything for the size the control really has.
        input.surface = size();
        layout = layoutSlider(input);
    }
    m_thumb = layout.thumb;
    m_groove = layout.groove;
    redraw();
}

void ucSlider::applySize(const Layout& layout)
{
    const QSize target = layout.surface;
    if (layout.fixedWidth) {
        setMinimumWidth(target.width());
        setMaximumWidth(target.width());
    } else if (m_layoutFixedWidth) {
        setMinimumWidth(0);
        setMaximumWidth(QWIDGETSIZE_MAX);
    }
    if (layout.fixedHeight) {
        setMinimumHeight(target.height());
        setMaximumHeight(target.height());
    } else if (m_layoutFixedHeight) {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
    }
    m_layoutFixedWidth = layout.fixedWidth;
    m_layoutFixedHeight = layout.fixedHeight;
    if (size() != target)
        resize(target);
    updateGeometry();
}

void ucSlider::redraw()
{
    update();
    if (m_showValueTip && m_dragging)
        updateTip();
}

void ucSlider::placeThumbForValue()
{
    const SliderGeometry::Orientation o = orientation();
    const std::optional<float> place = positionForValue(
        o, travel(o, size(), m_thumb), m_model.Value(), m_model.Min(), m_model.span());
    if (!place)
        return;
    if (o == Orientation::Horizontal)
        m_thumb.left = *place;
    else
        m_thumb.top = *place;
}

void ucSlider::resetThumb()
{
    m_thumb = SliderGeometry::resetThumb(orientation(), m_thumb, size());
}

void ucSlider::dragTo(QPointF pointer)
{
    if (!m_dragging)
        return;
    const SliderGeometry::Orientation o = orientation();
    const bool horizontal = o == Orientation::Horizontal;
    const double length = travel(o, size(), m_thumb);
    const float position = horizontal ? dragPosition(pointer.x(), m_grabX, length)
                                      : dragPosition(pointer.y(), m_grabY, length);
    const std::optional<SnappedValue> snapped =
        valueForPosition(o, position, length, m_model.Min(), m_model.span());
    // Without travel or span no position stands for a value: the value and the thumb stay.
    if (!snapped)
        return;
    if (horizontal)
        m_thumb.left = snapped->position;
    else
        m_thumb.top = snapped->position;
    m_model.setValue(snapped->value);
}

void ucSlider::updateTip()
{
    ucSliderTip* tip = ucSliderTip::open(this);
    const QSize label = tip->setTipText(QString::number(m_model.Value()));
    tip->showAt(tipPlace(orientation(), mapToGlobal(QPoint(0, 0)), m_thumb, label), label);
}

void ucSlider::applyPointer()
{
    if (m_mousePointer == CustomPointer && !m_mouseIcon.isNull()) {
        setCursor(QCursor(m_mouseIcon));
        return;
    }
    if (const std::optional<Qt::CursorShape> shape = StandardCursorShape(m_mousePointer))
        setCursor(*shape);
    else
        unsetCursor();
}

void ucSlider::drawRail(QPainter& painter) const
{
    if (m_railStyle == RailImageStyle) {
        if (!m_railImage.isNull())
            painter.drawPixmap(railImagePlace(orientation(), size(), m_railSize), m_railImage);
        return;
    }
    int kind = 0;
    switch (m_railStyle) {
    case RailSunken:
        kind = Edge3D::Sunken;
        break;
    case RailRaised:
        kind = Edge3D::Raised;
        break;
    case RailThinSunken:
        kind = Edge3D::SunkenOuter;
        break;
    case RailThinRaised:
        kind = Edge3D::RaisedInner;
        break;
    default:
        return;
    }
    const PixelRect& g = m_groove;
    Edge3D::drawEdge(painter, QRect(g.left, g.top, g.right - g.left, g.bottom - g.top), kind);
}

void ucSlider::drawThumb(QPainter& painter) const
{
    if (!m_sliderImage.isNull()) {
        painter.drawPixmap(QPoint(nearest(m_thumb.left), nearest(m_thumb.top)), m_sliderImage);
        return;
    }
    const PixelRect box = thumbBox(m_thumb);
    const QRect rect(box.left, box.top, box.right - box.left, box.bottom - box.top);
    painter.fillRect(rect, OleColorToQColor(OleSystemColor::ButtonFace));
    Edge3D::drawEdge(painter, rect, Edge3D::Raised);
}
