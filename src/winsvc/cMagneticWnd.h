#pragma once

#include "winsvc/MagneticSnap.h"
#include "winsvc/MessageHook.h"
#include "winsvc/WindowSystem.h"

#include <vector>

// Makes registered top-level windows magnetic: while one is dragged or resized its edges snap to
// the desktop work area and to the other registered windows within SnapWidth pixels, and the
// windows glued to it (registered with it as parent and touching it, directly or through glued
// siblings) move with it as one group. It learns of drags through its own message hook.
class cMagneticWnd : public HookOwner
{
public:
    cMagneticWnd(WindowSystem& system, MessageCapture& capture);
    ~cMagneticWnd();
    cMagneticWnd(const cMagneticWnd&) = delete;
    cMagneticWnd& operator=(const cMagneticWnd&) = delete;

    void zSubclass_Proc(bool bBefore, bool& bHandled, std::intptr_t& lReturn,
                        WindowHandle& lng_hWnd, std::uint32_t& uMsg, std::uintptr_t& wParam,
                        std::intptr_t& lParam) override;

    bool AddWindow(WindowHandle hwnd, WindowHandle hWndParent = 0);
    bool RemoveWindow(WindowHandle hwnd);
    void CheckGlueing();

    int SnapWidth() const { return m_snapWidth; }
    void setSnapWidth(int New_SnapWidth) { m_snapWidth = New_SnapWidth; }

    int Count() const { return static_cast<int>(m_windows.size()) - 1; }
    bool IsGlued(WindowHandle hwnd) const;
    WindowHandle ParentOf(WindowHandle hwnd) const;
    const MessageHook& Hook() const { return m_hook; }

private:
    void takeSnapshot(WindowHandle moving);
    void SnapSize(WindowHandle hwnd, WinRect& rect, int edge);
    void SnapMove(WindowHandle hwnd, WinRect& rect);
    void UpdateGlueing();
    int IndexOfWindow(WindowHandle hwnd) const;

    WindowSystem& m_system;
    std::vector<MagneticEntry> m_windows{1}; // slot 0 never holds a window
    std::vector<WinRect> m_rects{1};         // slot 0: the work area
    int m_snapWidth = 10;
    WinPoint m_startCursor;
    WinPoint m_dragOffset;
    MessageHook m_hook;
};
