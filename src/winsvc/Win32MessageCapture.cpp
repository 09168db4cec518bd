#include "winsvc/Win32MessageCapture.h"

#ifdef _WIN32

#include <windows.h>

#include <map>

namespace {

static_assert(sizeof(RECT) == sizeof(WinRect), "a message's rectangle is read as a WinRect");

struct Subclass
{
    WNDPROC previous = nullptr;
    MessageHook* hook = nullptr; // nullptr: unhooked, but still in the chain (see uninstall)
};

std::map<HWND, Subclass>& subclasses()
{
    static std::map<HWND, Subclass> table;
    return table;
}

HWND toHwnd(WindowHandle handle)
{
    return reinterpret_cast<HWND>(handle);
}

LRESULT CALLBACK hookedWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const auto it = subclasses().find(hWnd);
    if (it == subclasses().end())
        return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    // Copied before the call: the handler may unhook the window, which drops its entry.
    const WNDPROC previous = it->second.previous;
    MessageHook* const hook = it->second.hook;

    LRESULT result = 0;
    if (hook == nullptr) {
        result = CallWindowProcW(previous, hWnd, uMsg, wParam, lParam);
    } else {
        const WindowMessage message{reinterpret_cast<WindowHandle>(hWnd), uMsg, wParam, lParam};
        result = hook->Dispatch(message, [previous](const WindowMessage& m) -> std::intptr_t {
            return CallWindowProcW(previous, toHwnd(m.hWnd), m.uMsg, static_cast<WPARAM>(m.wParam),
                                   static_cast<LPARAM>(m.lParam));
        });
    }
    if (uMsg == WM_NCDESTROY) {
        // The handle dies with this message: its hook forgets it too, so that the record is
        // free again and a later window that gets the same handle is subclassed afresh.
        if (const auto gone = subclasses().find(hWnd);
            gone != subclasses().end() && gone->second.hook)
            gone->second.hook->UnhookWindow(reinterpret_cast<WindowHandle>(hWnd));
        subclasses().erase(hWnd);
    }
    return result;
}

} // namespace

void Win32MessageCapture::install(WindowHandle handle, MessageHook& hook)
{
    const HWND hWnd = toHwnd(handle);
    if (const auto it = subclasses().find(hWnd); it != subclasses().end()) {
        it->second.hook = &hook;
        return;
    }
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&hookedWindowProc)));
    if (previous != nullptr)
        subclasses()[hWnd] = Subclass{previous, &hook};
}

void Win32MessageCapture::uninstall(WindowHandle handle)
{
    const HWND hWnd = toHwnd(handle);
    const auto it = subclasses().find(hWnd);
    if (it == subclasses().end())
        return;
    if (GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&hookedWindowProc)) {
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
        subclasses().erase(it);
    } else {
        // Someone put a procedure in front of ours since and still calls it: taking ours out
        // would cut theirs off, so ours stays as a plain pass-through.
        it->second.hook = nullptr;
    }
}

WinRect Win32WindowSystem::workArea() const
{
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return {r.left, r.top, r.right, r.bottom};
}

bool Win32WindowSystem::isWindow(WindowHandle hWnd) const
{
    return hWnd != 0 && IsWindow(toHwnd(hWnd));
}

bool Win32WindowSystem::isZoomed(WindowHandle hWnd) const
{
    return IsZoomed(toHwnd(hWnd));
}

bool Win32WindowSystem::isMinimized(WindowHandle hWnd) const
{
    return IsIconic(toHwnd(hWnd));
}

WinRect Win32WindowSystem::windowRect(WindowHandle hWnd) const
{
    RECT r{};
    GetWindowRect(toHwnd(hWnd), &r);
    return {r.left, r.top, r.right, r.bottom};
}

WinPoint Win32WindowSystem::cursorPos() const
{
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

void Win32WindowSystem::moveWindows(const std::vector<WindowPlacement>& placements)
{
    HDWP batch = BeginDeferWindowPos(1);
    for (const WindowPlacement& p : placements) {
        if (batch != nullptr)
            batch = DeferWindowPos(batch, toHwnd(p.hWnd), nullptr, p.topLeft.x, p.topLeft.y, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch != nullptr)
        EndDeferWindowPos(batch);
}

#endif
