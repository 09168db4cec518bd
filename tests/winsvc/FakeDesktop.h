#pragma once

#include "winsvc/MessageHook.h"
#include "winsvc/WindowSystem.h"

#include <map>
#include <set>
#include <vector>

// A desktop of rectangles and a cursor for the magnetic window manager, with a capture that
// lets a test send messages to hooked windows the way the platform would.
class FakeDesktop : public WindowSystem, public MessageCapture
{
public:
    WinRect workArea() const override { return m_workArea; }
    bool isWindow(WindowHandle hWnd) const override { return m_rects.count(hWnd) != 0; }
    bool isZoomed(WindowHandle hWnd) const override { return m_zoomed.count(hWnd) != 0; }
    bool isMinimized(WindowHandle hWnd) const override { return m_minimized.count(hWnd) != 0; }
    WinRect windowRect(WindowHandle hWnd) const override
    {
        const auto it = m_rects.find(hWnd);
        return it != m_rects.end() ? it->second : WinRect{};
    }
    WinPoint cursorPos() const override { return m_cursor; }
    void moveWindows(const std::vector<WindowPlacement>& placements) override;

    void install(WindowHandle hWnd, MessageHook& hook) override { m_hooks[hWnd] = &hook; }
    void uninstall(WindowHandle hWnd) override { m_hooks.erase(hWnd); }

    bool hooked(WindowHandle hWnd) const { return m_hooks.count(hWnd) != 0; }
    // Sends a message to the window; unhooked windows get the platform's default (0).
    std::intptr_t send(WindowHandle hWnd, std::uint32_t uMsg, std::uintptr_t wParam = 0,
                       std::intptr_t lParam = 0);

    // A whole drag of `hWnd`: grab at `from`, move the cursor to `to`, and return where the
    // window was placed (the proposed rectangle follows the platform's own arithmetic).
    WinRect dragStart(WindowHandle hWnd, WinPoint from);
    WinRect dragTo(WindowHandle hWnd, WinPoint to);
    void dragEnd(WindowHandle hWnd);
    WinRect sizeTo(WindowHandle hWnd, int edge, WinRect proposed);

    WinRect m_workArea{0, 0, 1000, 800};
    std::map<WindowHandle, WinRect> m_rects;
    std::set<WindowHandle> m_zoomed;
    std::set<WindowHandle> m_minimized;
    WinPoint m_cursor;
    std::vector<std::vector<WindowPlacement>> m_batches;
    int m_previousCalls = 0;

private:
    std::map<WindowHandle, MessageHook*> m_hooks;
    WinPoint m_grab;
    WinRect m_grabRect;
};
