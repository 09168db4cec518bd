#include "controls/Container3D.h"

#include "controls/MousePointer.h"

#include "base/WindowUnits.h"
#include "controls/OleColor.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr int MinimumSizeTwips = 120;
constexpr int AutoSizeInsetTwips = 30;
constexpr int MouseWatchInterval = 50; // ms

const QString KeyEnabled = u"Enabled"_s;
const QString KeyMouseIcon = u"MouseIcon"_s;
const QString KeyMousePointer = u"MousePointer"_s;
const QString KeyCtrlEffect = u"CtrlEffect"_s;
const QString KeyBackColor = u"BackColor"_s;
const QString KeyAutoSize = u"AutoSize"_s;
const QString KeyBackStyle = u"BackStyle"_s;

// The border parts of an edge: outer raised 1, outer sunken 2, inner raised 4, inner sunken 8.
constexpr int RaisedOuter = 1;
constexpr int SunkenOuter = 2;
constexpr int RaisedInner = 4;
constexpr int SunkenInner = 8;
constexpr int EdgeOfEffect[6] = {0,
                                 0,
                                 RaisedOuter | RaisedInner,
                                 SunkenOuter | SunkenInner,
                                 RaisedOuter | SunkenInner,
                                 SunkenOuter | RaisedInner};

constexpr quint32 Light3D = 0x80000016;

Container3D::PropertyError overflow(const QString& property)
{
    return {6, u"Container3D."_s + property, u"Overflow"_s};
}

// One ring of a frame: top and left in one colour, right and bottom in another, `inset`
// pixels inside the rectangle.
void drawRing(QPainter& painter, const QRect& r, int inset, quint32 topLeft, quint32 bottomRight)
{
    const int left = r.left() + inset;
    const int top = r.top() + inset;
    const int right = r.right() - inset;
    const int bottom = r.bottom() - inset;
    if (right < left || bottom < top)
        return;
    painter.setPen(OleColorToQColor(topLeft));
    painter.drawLine(left, top, right, top);
    painter.drawLine(left, top, left, bottom);
    painter.setPen(OleColorToQColor(bottomRight));
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(left, bottom, right, bottom);
}

void drawEdge(QPainter& painter, const QRect& r, int edge)
{
    if (edge & RaisedOuter)
        drawRing(painter, r, 0, Light3D, OleSystemColor::DarkShadow3D);
    else if (edge & SunkenOuter)
        drawRing(painter, r, 0, OleSystemColor::ButtonShadow, OleSystemColor::Highlight3D);
    if (edge & RaisedInner)
        drawRing(painter, r, 1, OleSystemColor::Highlight3D, OleSystemColor::ButtonShadow);
    else if (edge & SunkenInner)
        drawRing(painter, r, 1, OleSystemColor::DarkShadow3D, Light3D);
}

short buttonsOf(Qt::MouseButtons buttons)
{
    short out = 0;
    if (buttons & Qt::LeftButton)
        out |= 1;
    if (buttons & Qt::RightButton)
        out |= 2;
    if (buttons & Qt::MiddleButton)
        out |= 4;
    return out;
}

float twipsOf(qreal pixels)
{
    return float(pixels * TwipsPerPixel());
}

template <typename T> T valueOr(const QVariantMap& bag, const QString& key, T fallback)
{
    const auto it = bag.constFind(key);
    if (it == bag.constEnd() || !it->canConvert<T>())
        return fallback;
    return it->value<T>();
}

} // namespace

Container3DProperties Container3DProperties::load(const QVariantMap& bag)
{
    Container3DProperties p;
    p.enabled = valueOr(bag, KeyEnabled, p.enabled);
    p.mouseIcon = valueOr(bag, KeyMouseIcon, p.mouseIcon);
    p.mousePointer = valueOr(bag, KeyMousePointer, p.mousePointer);
    p.ctrlEffect = valueOr(bag, KeyCtrlEffect, p.ctrlEffect);
    p.backColor = valueOr(bag, KeyBackColor, p.backColor);
    p.autoSize = valueOr(bag, KeyAutoSize, p.autoSize);
    p.backStyle = valueOr(bag, KeyBackStyle, p.backStyle);
    return p;
}

QVariantMap Container3DProperties::save() const
{
    const Container3DProperties d;
    QVariantMap bag;
    if (enabled != d.enabled)
        bag.insert(KeyEnabled, enabled);
    if (!mouseIcon.isNull())
        bag.insert(KeyMouseIcon, mouseIcon);
    if (mousePointer != d.mousePointer)
        bag.insert(KeyMousePointer, mousePointer);
    if (ctrlEffect != d.ctrlEffect)
        bag.insert(KeyCtrlEffect, ctrlEffect);
    if (backColor != d.backColor)
        bag.insert(KeyBackColor, backColor);
    if (autoSize != d.autoSize)
        bag.insert(KeyAutoSize, autoSize);
    if (backStyle != d.backStyle)
        bag.insert(KeyBackStyle, backStyle);
    return bag;
}

Container3D::Container3D(QWidget* parent)
    : QWidget(parent)
    , m_tmrMouseEnter(new QTimer(this))
{
    // Assistive tools see the frame as a grouping of the controls inside, named by its host.
    static const bool grouped = [] {
        QAccessible::installFactory([](const QString& className, QObject* object) {
            auto* frame = qobject_cast<Container3D*>(object);
            return className == QLatin1StringView("Container3D") && frame
                       ? static_cast<QAccessibleInterface*>(
                             new QAccessibleWidget(frame, QAccessible::Grouping))
                       : nullptr;
        });
        return true;
    }();
    (void)grouped;
    m_tmrMouseEnter->setObjectName(u"tmrMouseEnter"_s);
    m_tmrMouseEnter->setInterval(MouseWatchInterval);
    connect(m_tmrMouseEnter, &QTimer::timeout, this, &Container3D::tmrMouseEnter_Timer);
    setMouseTracking(true);
    setAutoFillBackground(false);
    const int minimum = TwipsToPixels(MinimumSizeTwips);
    setMinimumSize(minimum, minimum);
}

Container3D::~Container3D() = default;

QSize Container3D::sizeHint() const
{
    const int minimum = TwipsToPixels(MinimumSizeTwips);
    return QWidget::sizeHint().expandedTo(QSize(minimum, minimum));
}

void Container3D::setMouseIcon(const QPixmap& icon)
{
    m_mouseIcon = icon;
    applyMousePointer();
    Q_EMIT PropertyChanged(KeyMouseIcon);
}

Container3D::PropertyError Container3D::setMousePointer(int pointer)
{
    if (!FitsInt16(pointer))
        return overflow(KeyMousePointer);
    m_mousePointer = pointer;
    applyMousePointer();
    Q_EMIT PropertyChanged(KeyMousePointer);
    return {};
}

Container3D::PropertyError Container3D::outOfBounds()
{
    return {514, u"Container3D.CtrlEffect"_s, u"Index Out Of Bounds"_s};
}

Container3D::PropertyError Container3D::setCtrlEffect(int effect)
{
    if (effect < 0 || effect > 5)
        return outOfBounds();
    m_ctrlEffect = effect;
    Q_EMIT PropertyChanged(KeyCtrlEffect);
    redraw(false);
    return {};
}

void Container3D::setBackColor(quint32 colour)
{
    m_backColor = colour;
    Q_EMIT PropertyChanged(KeyBackColor);
    redraw(false);
}

Container3D::PropertyError Container3D::setAutoSize(int autoSize)
{
    if (autoSize < 0 || autoSize > 1)
        return outOfBounds();
    m_autoSize = autoSize;
    Q_EMIT PropertyChanged(KeyAutoSize);
    redraw(false);
    return {};
}

Container3D::PropertyError Container3D::setBackStyle(int style)
{
    if (!FitsInt16(style))
        return overflow(KeyBackStyle);
    m_backStyle = style;
    Q_EMIT PropertyChanged(KeyBackStyle);
    update();
    return {};
}

void Container3D::ReadProperties(const QVariantMap& bag)
{
    const Container3DProperties p = Container3DProperties::load(bag);
    setEnabled(p.enabled);
    m_mouseIcon = p.mouseIcon;
    m_mousePointer = FitsInt16(p.mousePointer) ? p.mousePointer : 0;
    m_ctrlEffect = (p.ctrlEffect >= 0 && p.ctrlEffect <= 5) ? p.ctrlEffect : 1;
    m_backColor = p.backColor;
    m_autoSize = (p.autoSize == 0 || p.autoSize == 1) ? p.autoSize : 0;
    m_backStyle = FitsInt16(p.backStyle) ? p.backStyle : 1;
    applyMousePointer();
    redraw(false);
}

QVariantMap Container3D::WriteProperties() const
{
    Container3DProperties p;
    p.enabled = isEnabled();
    p.mouseIcon = m_mouseIcon;
    p.mousePointer = m_mousePointer;
    p.ctrlEffect = m_ctrlEffect;
    p.backColor = m_backColor;
    p.autoSize = m_autoSize;
    p.backStyle = m_backStyle;
    return p.save();
}

void Container3D::applyMousePointer()
{
    if (m_mousePointer == 0)
        unsetCursor();
    else if (m_mousePointer == 99 && !m_mouseIcon.isNull())
        setCursor(QCursor(m_mouseIcon));
    else
        setCursor(StandardCursorShape(m_mousePointer).value_or(Qt::ArrowCursor));
}

void Container3D::redraw(bool repaintOnly)
{
    if (!repaintOnly && m_autoSize == 1)
        placeContainedControl();
    update();
}

void Container3D::placeContainedControl()
{
    const QList<QWidget*> children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (children.size() != 1)
        return;
    // The whole placement is in pixels of this surface, so the control fills the inside
    // within the frame whatever the screen's resolution.
    const int inset = TwipsToPixels(AutoSizeInsetTwips);
    children.front()->setGeometry(inset, inset, qMax(0, width() - 2 * inset),
                                  qMax(0, height() - 2 * inset));
}

void Container3D::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_backStyle != 0)
        painter.fillRect(rect(), OleColorToQColor(m_backColor));
    const int w = width();
    const int h = height();
    if (m_ctrlEffect == 1) {
        painter.setPen(Qt::white);
        painter.drawLine(0, 0, w - 1, 0);
        painter.drawLine(0, 0, 0, h - 1);
        painter.setPen(OleColorToQColor(OleSystemColor::ButtonShadow));
        painter.drawLine(w - 1, 0, w - 1, h - 1);
        painter.drawLine(0, h - 1, w - 1, h - 1);
    } else if (m_ctrlEffect >= 2 && m_ctrlEffect <= 5) {
        drawEdge(painter, rect(), EdgeOfEffect[m_ctrlEffect]);
    }
}

void Container3D::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int minimum = TwipsToPixels(MinimumSizeTwips);
    if (height() < minimum || width() < minimum) {
        resize(qMax(width(), minimum), qMax(height(), minimum));
        return; // the resize that follows redraws
    }
    redraw(false);
}

void Container3D::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        Q_EMIT PropertyChanged(KeyEnabled);
}

void Container3D::mousePressEvent(QMouseEvent* event)
{
    m_pressedInside = true;
    Q_EMIT MouseDown(buttonsOf(event->button()), ShiftMask(event->modifiers()),
                     twipsOf(event->position().x()), twipsOf(event->position().y()));
}

void Container3D::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_tmrMouseEnter->isActive()) {
        Q_EMIT MouseEnter();
        m_tmrMouseEnter->start();
    }
    Q_EMIT MouseMove(buttonsOf(event->buttons()), ShiftMask(event->modifiers()),
                     twipsOf(event->position().x()), twipsOf(event->position().y()));
}

void Container3D::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressedInside && rect().contains(event->position().toPoint());
    m_pressedInside = false;
    Q_EMIT MouseUp(buttonsOf(event->button()), ShiftMask(event->modifiers()),
                   twipsOf(event->position().x()), twipsOf(event->position().y()));
    if (click)
        Q_EMIT Click();
}

void Container3D::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is the double click itself; its release is a
    // MouseUp without a Click.
    Q_UNUSED(event);
    m_pressedInside = false;
    Q_EMIT DblClick();
}

void Container3D::tmrMouseEnter_Timer()
{
    if (QApplication::widgetAt(QCursor::pos()) != this) {
        m_tmrMouseEnter->stop();
        Q_EMIT MouseExit();
    }
}
