#include "winsvc/WindowDragCapture.h"

#include "winsvc/QtWindowSystem.h"

#include <QEvent>
#include <QMouseEvent>
#include <QSizeGrip>
#include <QWidget>
#include <QWindowStateChangeEvent>

using namespace WinMsg;

namespace {

// Applies a frame rectangle to a top-level window; the edge opposite the one being dragged
// stays where it is when the window's size limits cut the rectangle.
void applyFrame(QWidget* window, const QRect& frame, bool sizing, int edge)
{
    if (!sizing) {
        window->move(frame.topLeft());
        return;
    }
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    const int extraW = outer.width() - inner.width();
    const int extraH = outer.height() - inner.height();
    const QSize wanted(frame.width() - extraW, frame.height() - extraH);
    const QSize size = wanted.expandedTo(window->minimumSize()).boundedTo(window->maximumSize());
    const bool fromLeft = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    const bool fromTop = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    const int left = fromLeft ? frame.right() + 1 - (size.width() + extraW) : frame.left();
    const int top = fromTop ? frame.bottom() + 1 - (size.height() + extraH) : frame.top();
    window->resize(size);
    window->move(left, top);
}

} // namespace

WindowDragCapture::WindowDragCapture(QObject* parent)
    : QObject(parent)
{}

WindowDragCapture::~WindowDragCapture() = default;

void WindowDragCapture::install(WindowHandle hWnd, MessageHook& hook)
{
    m_hooks.insert(hWnd, &hook);
    if (QWidget* window = QtWindowSystem::windowOf(hWnd)) {
        if (!m_minimized.contains(window)) {
            m_minimized.insert(window, window->isMinimized());
            window->installEventFilter(this);
            connect(window, &QObject::destroyed, this,
                    [this](QObject* gone) { m_minimized.remove(gone); });
        }
    }
}

void WindowDragCapture::uninstall(WindowHandle hWnd)
{
    m_hooks.remove(hWnd);
}

void WindowDragCapture::addDragHandle(QWidget* handle)
{
    if (!handle)
        return;
    m_sources.insert(handle, false);
    handle->installEventFilter(this);
    connect(handle, &QObject::destroyed, this, [this](QObject* gone) { m_sources.remove(gone); });
}

void WindowDragCapture::addSizeGrip(QSizeGrip* grip)
{
    if (!grip)
        return;
    m_sources.insert(grip, true);
    grip->installEventFilter(this);
    connect(grip, &QObject::destroyed, this, [this](QObject* gone) { m_sources.remove(gone); });
}

std::intptr_t WindowDragCapture::send(QWidget* window, std::uint32_t uMsg, std::uintptr_t wParam,
                                      std::intptr_t lParam)
{
    const WindowHandle hWnd = QtWindowSystem::handleOf(window);
    MessageHook* hook = m_hooks.value(hWnd);
    if (!hook)
        return 0;
    // What the window does by itself happens outside: the proposed rectangle is applied after
    // the hook has had its say.
    return hook->Dispatch({hWnd, uMsg, wParam, lParam},
                          [](const WindowMessage&) -> std::intptr_t { return 0; });
}

bool WindowDragCapture::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && m_minimized.contains(watched)) {
        watchState(static_cast<QWidget*>(watched), event);
        return false;
    }
    const auto source = m_sources.constFind(watched);
    if (source == m_sources.constEnd())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return handleMouse(static_cast<QWidget*>(watched), event, source.value());
    default:
        return false;
    }
}

bool WindowDragCapture::handleMouse(QWidget* source, QEvent* event, bool sizing)
{
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    QWidget* window = source->window();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (mouse->button() != Qt::LeftButton || m_drag.window)
            return false;
        if (window->isMaximized() || window->isFullScreen() || !window->isWindow())
            return false;
        int edge = 0;
        if (sizing) {
            // The grip's corner: the side of the window it sits on.
            const QPoint centre = source->mapTo(window, source->rect().center());
            const bool left = centre.x() < window->width() / 2;
            const bool top = centre.y() < window->height() / 2;
            edge = top ? (left ? WMSZ_TOPLEFT : WMSZ_TOPRIGHT)
                       : (left ? WMSZ_BOTTOMLEFT : WMSZ_BOTTOMRIGHT);
        }
        begin(window, global, sizing, edge);
        return true;
    }
    case QEvent::MouseMove:
        if (!m_drag.window || !(mouse->buttons() & Qt::LeftButton))
            return sizing; // the grip does no resizing of its own
        follow(global);
        return true;
    case QEvent::MouseButtonRelease:
        if (!m_drag.window || mouse->button() != Qt::LeftButton)
            return sizing;
        follow(global);
        end();
        return true;
    default:
        return false;
    }
}

void WindowDragCapture::begin(QWidget* window, QPoint global, bool sizing, int edge)
{
    m_drag = Drag{window, sizing, edge, global, window->frameGeometry()};
    send(window, WM_ENTERSIZEMOVE, 0, 0);
}

void WindowDragCapture::follow(QPoint global)
{
    QWidget* window = m_drag.window;
    if (!window)
        return;
    const QPoint delta = global - m_drag.grab;
    QRect frame = m_drag.startFrame;
    if (m_drag.sizing) {
        const int e = m_drag.edge;
        if (e == WMSZ_LEFT || e == WMSZ_TOPLEFT || e == WMSZ_BOTTOMLEFT)
            frame.setLeft(frame.left() + delta.x());
        if (e == WMSZ_RIGHT || e == WMSZ_TOPRIGHT || e == WMSZ_BOTTOMRIGHT)
            frame.setRight(frame.right() + delta.x());
        if (e == WMSZ_TOP || e == WMSZ_TOPLEFT || e == WMSZ_TOPRIGHT)
            frame.setTop(frame.top() + delta.y());
        if (e == WMSZ_BOTTOM || e == WMSZ_BOTTOMLEFT || e == WMSZ_BOTTOMRIGHT)
            frame.setBottom(frame.bottom() + delta.y());
    } else {
        frame.translate(delta);
    }
    WinRect proposed = toWinRect(frame);
    send(window, m_drag.sizing ? WM_SIZING : WM_MOVING,
         static_cast<std::uintptr_t>(m_drag.sizing ? m_drag.edge : 0),
         reinterpret_cast<std::intptr_t>(&proposed));
    // The handler may have ended the drag or closed the window meanwhile.
    if (m_drag.window == window)
        applyFrame(window, toQRect(proposed), m_drag.sizing, m_drag.edge);
}

void WindowDragCapture::end()
{
    QWidget* window = m_drag.window;
    m_drag = Drag{};
    if (window)
        send(window, WM_EXITSIZEMOVE, 0, 0);
}

void WindowDragCapture::watchState(QWidget* window, QEvent* event)
{
    Q_UNUSED(event);
    const bool was = m_minimized.value(window);
    const bool now = window->isMinimized();
    m_minimized.insert(window, now);
    if (was != now)
        send(window, WM_SYSCOMMAND, now ? SC_MINIMIZE : SC_RESTORE, 0);
}
