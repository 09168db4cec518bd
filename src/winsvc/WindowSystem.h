#pragma once

#include "winsvc/WindowTypes.h"

#include <vector>

// A window moved to a new top-left corner, keeping its size.
struct WindowPlacement
{
    WindowHandle hWnd = 0;
    WinPoint topLeft;
    constexpr bool operator==(const WindowPlacement&) const = default;
};

// What the magnetic window manager needs to know about the desktop and its windows, and the one
// thing it does to them: move several windows at once. Production: QtWindowSystem (or Win32);
// tests: a fake desktop of rectangles and a cursor.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // The usable part of the desktop, without task bars and panels.
    virtual WinRect workArea() const = 0;
    virtual bool isWindow(WindowHandle hWnd) const = 0;
    virtual bool isZoomed(WindowHandle hWnd) const = 0;
    virtual bool isMinimized(WindowHandle hWnd) const = 0;
    // Outer rectangle, frame included, in screen pixels.
    virtual WinRect windowRect(WindowHandle hWnd) const = 0;
    virtual WinPoint cursorPos() const = 0;
    // Moves all the windows as one batch; called even with an empty list.
    virtual void moveWindows(const std::vector<WindowPlacement>& placements) = 0;
};
