#include "winsvc/QtWindowSystem.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

WinRect toWinRect(const QRect& rect)
{
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QRect toQRect(const WinRect& rect)
{
    return {rect.left, rect.top, rect.width(), rect.height()};
}

WindowHandle QtWindowSystem::handleOf(QWidget* window)
{
    return window ? static_cast<WindowHandle>(window->window()->winId()) : 0;
}

QWidget* QtWindowSystem::windowOf(WindowHandle hWnd)
{
    QWidget* widget = hWnd != 0 ? QWidget::find(static_cast<WId>(hWnd)) : nullptr;
    return widget && widget->isWindow() ? widget : nullptr;
}

WinRect QtWindowSystem::workArea() const
{
    // The screen the user is dragging on; a single work area for all screens would snap to
    // edges far away on another monitor.
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? toWinRect(screen->availableGeometry()) : WinRect{};
}

bool QtWindowSystem::isWindow(WindowHandle hWnd) const
{
    return windowOf(hWnd) != nullptr;
}

bool QtWindowSystem::isZoomed(WindowHandle hWnd) const
{
    const QWidget* window = windowOf(hWnd);
    return window && window->isMaximized();
}

bool QtWindowSystem::isMinimized(WindowHandle hWnd) const
{
    const QWidget* window = windowOf(hWnd);
    return window && window->isMinimized();
}

WinRect QtWindowSystem::windowRect(WindowHandle hWnd) const
{
    const QWidget* window = windowOf(hWnd);
    return window ? toWinRect(window->frameGeometry()) : WinRect{};
}

WinPoint QtWindowSystem::cursorPos() const
{
    const QPoint pos = QCursor::pos();
    return {pos.x(), pos.y()};
}

void QtWindowSystem::moveWindows(const std::vector<WindowPlacement>& placements)
{
    for (const WindowPlacement& placement : placements) {
        if (QWidget* window = windowOf(placement.hWnd))
            window->move(placement.topLeft.x, placement.topLeft.y);
    }
}
