#pragma once

#include "winsvc/WindowSystem.h"

#include <QRect>

class QWidget;

// The magnetic window manager's view of the desktop through Qt: the work area of the screen
// under the cursor, frame rectangles of top-level widgets and the pointer position. A window's
// handle is its native window id, so the same handle serves the Windows message capture.
class QtWindowSystem : public WindowSystem
{
public:
    static WindowHandle handleOf(QWidget* window);
    static QWidget* windowOf(WindowHandle hWnd);

    WinRect workArea() const override;
    bool isWindow(WindowHandle hWnd) const override;
    bool isZoomed(WindowHandle hWnd) const override;
    bool isMinimized(WindowHandle hWnd) const override;
    WinRect windowRect(WindowHandle hWnd) const override;
    WinPoint cursorPos() const override;
    void moveWindows(const std::vector<WindowPlacement>& placements) override;
};

// Conversions between Qt's rectangles and the window services' own.
WinRect toWinRect(const QRect& rect);
QRect toQRect(const WinRect& rect);
