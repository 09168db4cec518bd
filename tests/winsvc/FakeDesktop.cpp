#include "FakeDesktop.h"

using namespace WinMsg;

void FakeDesktop::moveWindows(const std::vector<WindowPlacement>& placements)
{
    m_batches.push_back(placements);
    for (const WindowPlacement& p : placements) {
        WinRect& r = m_rects[p.hWnd];
        r = {p.topLeft.x, p.topLeft.y, p.topLeft.x + r.width(), p.topLeft.y + r.height()};
    }
}

std::intptr_t FakeDesktop::send(WindowHandle hWnd, std::uint32_t uMsg, std::uintptr_t wParam,
                                std::intptr_t lParam)
{
    const auto previous = [this](const WindowMessage&) -> std::intptr_t {
        ++m_previousCalls;
        return 0;
    };
    const auto it = m_hooks.find(hWnd);
    if (it == m_hooks.end())
        return previous({});
    return it->second->Dispatch({hWnd, uMsg, wParam, lParam}, previous);
}

WinRect FakeDesktop::dragStart(WindowHandle hWnd, WinPoint from)
{
    m_cursor = from;
    m_grab = from;
    m_grabRect = m_rects[hWnd];
    send(hWnd, WM_ENTERSIZEMOVE);
    return m_rects[hWnd];
}

WinRect FakeDesktop::dragTo(WindowHandle hWnd, WinPoint to)
{
    m_cursor = to;
    const int dx = to.x - m_grab.x;
    const int dy = to.y - m_grab.y;
    WinRect proposed{m_grabRect.left + dx, m_grabRect.top + dy, m_grabRect.right + dx,
                     m_grabRect.bottom + dy};
    send(hWnd, WM_MOVING, 0, reinterpret_cast<std::intptr_t>(&proposed));
    m_rects[hWnd] = proposed;
    return proposed;
}

void FakeDesktop::dragEnd(WindowHandle hWnd)
{
    send(hWnd, WM_EXITSIZEMOVE);
}

WinRect FakeDesktop::sizeTo(WindowHandle hWnd, int edge, WinRect proposed)
{
    send(hWnd, WM_SIZING, static_cast<std::uintptr_t>(edge),
         reinterpret_cast<std::intptr_t>(&proposed));
    m_rects[hWnd] = proposed;
    return proposed;
}
