#pragma once

#ifdef _WIN32

#include "winsvc/MessageHook.h"
#include "winsvc/WindowSystem.h"

// Catches a window's messages by putting a window procedure of our own in front of the one its
// HWND has. Every subclassed window shares that procedure, which finds the window's hook by its
// handle, so no code is generated at run time.
class Win32MessageCapture : public MessageCapture
{
public:
    void install(WindowHandle hWnd, MessageHook& hook) override;
    void uninstall(WindowHandle hWnd) override;
};

// The desktop in the platform's own (physical) pixels, which is what the window messages carry.
class Win32WindowSystem : public WindowSystem
{
public:
    WinRect workArea() const override;
    bool isWindow(WindowHandle hWnd) const override;
    bool isZoomed(WindowHandle hWnd) const override;
    bool isMinimized(WindowHandle hWnd) const override;
    WinRect windowRect(WindowHandle hWnd) const override;
    WinPoint cursorPos() const override;
    void moveWindows(const std::vector<WindowPlacement>& placements) override;
};

#endif
