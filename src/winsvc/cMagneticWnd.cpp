#include "winsvc/cMagneticWnd.h"

using namespace WinMsg;

cMagneticWnd::cMagneticWnd(WindowSystem& system, MessageCapture& capture)
    : m_system(system)
    , m_hook(*this, capture)
{}

cMagneticWnd::~cMagneticWnd()
{
    if (Count() != 0)
        m_hook.UnhookAll();
}

int cMagneticWnd::IndexOfWindow(WindowHandle hwnd) const
{
    for (std::size_t i = 1; i < m_windows.size(); ++i) {
        if (m_windows[i].hWnd == hwnd)
            return static_cast<int>(i);
    }
    return 0;
}

bool cMagneticWnd::IsGlued(WindowHandle hwnd) const
{
    const int index = IndexOfWindow(hwnd);
    return index != 0 && m_windows[static_cast<std::size_t>(index)].glued;
}

WindowHandle cMagneticWnd::ParentOf(WindowHandle hwnd) const
{
    const int index = IndexOfWindow(hwnd);
    return index != 0 ? m_windows[static_cast<std::size_t>(index)].hWndParent : 0;
}

bool cMagneticWnd::AddWindow(WindowHandle hwnd, WindowHandle hWndParent)
{
    if (hwnd == 0 || IndexOfWindow(hwnd) != 0)
        return false;
    if (!m_system.isWindow(hwnd) || (hWndParent != 0 && !m_system.isWindow(hWndParent)))
        return false;

    m_windows.push_back({hwnd, hWndParent, false});
    m_rects.emplace_back();
    UpdateGlueing();

    m_hook.HookWindow(hwnd);
    m_hook.AddHookMessage(hwnd, WM_ENTERSIZEMOVE, MessageHook::After);
    m_hook.AddHookMessage(hwnd, WM_SIZING, MessageHook::Before);
    m_hook.AddHookMessage(hwnd, WM_MOVING, MessageHook::Before);
    m_hook.AddHookMessage(hwnd, WM_EXITSIZEMOVE, MessageHook::After);
    m_hook.AddHookMessage(hwnd, WM_SYSCOMMAND, MessageHook::After);
    m_hook.AddHookMessage(hwnd, WM_COMMAND, MessageHook::After);
    return true;
}

bool cMagneticWnd::RemoveWindow(WindowHandle hwnd)
{
    const int index = IndexOfWindow(hwnd);
    if (index == 0)
        return false;
    m_windows.erase(m_windows.begin() + index);
    m_rects.pop_back();
    for (MagneticEntry& entry : m_windows) {
        if (entry.hWndParent == hwnd)
            entry.hWndParent = 0;
    }
    m_hook.UnhookWindow(hwnd);
    UpdateGlueing();
    return true;
}

void cMagneticWnd::CheckGlueing()
{
    UpdateGlueing();
}

void cMagneticWnd::UpdateGlueing()
{
    for (std::size_t i = 1; i < m_windows.size(); ++i)
        m_rects[i] = m_system.windowRect(m_windows[i].hWnd);
    computeGlueing(m_windows, m_rects);
}

void cMagneticWnd::takeSnapshot(WindowHandle moving)
{
    m_rects[0] = m_system.workArea();
    for (std::size_t i = 1; i < m_windows.size(); ++i) {
        const WindowHandle hwnd = m_windows[i].hWnd;
        m_rects[i] = m_system.isZoomed(hwnd) ? m_rects[0] : m_system.windowRect(hwnd);
        if (hwnd == moving) {
            m_startCursor = m_system.cursorPos();
            m_dragOffset = {m_rects[i].left - m_startCursor.x, m_rects[i].top - m_startCursor.y};
        }
    }
}

void cMagneticWnd::SnapSize(WindowHandle hwnd, WinRect& rect, int edge)
{
    snapSizeRect(m_windows, m_rects, hwnd, edge, m_snapWidth, rect);
}

void cMagneticWnd::SnapMove(WindowHandle hwnd, WinRect& rect)
{
    const MoveSnapInput input{.windows = m_windows,
                              .rects = m_rects,
                              .moving = hwnd,
                              .cursor = m_system.cursorPos(),
                              .startCursor = m_startCursor,
                              .dragOffset = m_dragOffset,
                              .snapWidth = m_snapWidth};
    MoveSnapResult result = snapMoveRect(input, rect);
    rect = result.rect;
    m_system.moveWindows(result.group);
}

void cMagneticWnd::zSubclass_Proc(bool /*bBefore*/, bool& bHandled, std::intptr_t& lReturn,
                                  WindowHandle& lng_hWnd, std::uint32_t& uMsg,
                                  std::uintptr_t& wParam, std::intptr_t& lParam)
{
    switch (uMsg) {
    case WM_ENTERSIZEMOVE:
        takeSnapshot(lng_hWnd);
        break;
    case WM_SIZING:
    case WM_MOVING: {
        auto* target = reinterpret_cast<WinRect*>(lParam);
        if (target == nullptr)
            break;
        WinRect rect = *target;
        if (uMsg == WM_SIZING)
            SnapSize(lng_hWnd, rect, static_cast<int>(wParam));
        else
            SnapMove(lng_hWnd, rect);
        *target = rect;
        bHandled = true;
        lReturn = 1;
        break;
    }
    case WM_EXITSIZEMOVE:
    case WM_COMMAND:
        UpdateGlueing();
        break;
    case WM_SYSCOMMAND:
        if (wParam == SC_MINIMIZE || wParam == SC_RESTORE)
            UpdateGlueing();
        break;
    default:
        break;
    }
}
