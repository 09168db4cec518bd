// The message hook and the magnetic window manager on real Win32 windows, dragged through the
// system's own move and size loop. Runs under Wine; the exit code counts the failed checks.
#include "winsvc/MessageHook.h"
#include "winsvc/Win32MessageCapture.h"
#include "winsvc/cMagneticWnd.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <tuple>

namespace {

int g_checks = 0, g_failures = 0;
// What reached the windows' own procedures, the hook's handler and the subclass on top, in order.
std::string g_log;

void report(bool ok, int line, const std::string& what)
{
    ++g_checks;
    if (!ok && ++g_failures)
        std::printf("FAIL line %d: %s\n", line, what.c_str());
}
#define CHECK(cond) report((cond), __LINE__, #cond)

void note(const char* what)
{
    g_log += (g_log.empty() ? "" : " ") + std::string(what);
}

constexpr UINT MsgHooked = WM_APP + 1;

// Answers the test message with 101 and notes the moving and sizing messages.
LRESULT CALLBACK windowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == MsgHooked)
        return note("proc"), 101;
    if (uMsg == WM_ENTERSIZEMOVE || uMsg == WM_EXITSIZEMOVE)
        note(uMsg == WM_ENTERSIZEMOVE ? "enter" : "exit");
    else if (uMsg == WM_MOVING || uMsg == WM_SIZING)
        note("moved by the window");
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

// A procedure put in front of whatever a window has, as another part of a program would.
WNDPROC g_underOuter = nullptr;
LRESULT CALLBACK outerProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == MsgHooked)
        note("outer");
    return CallWindowProcW(g_underOuter, hWnd, uMsg, wParam, lParam);
}

void pump()
{
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
        DispatchMessageW(&msg);
}

// A shown top-level window with the given outer rectangle.
HWND makeWindow(RECT r)
{
    static const ATOM windowClass = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"skylistener test window";
        return RegisterClassW(&wc);
    }();
    HWND hWnd = CreateWindowExW(0, MAKEINTATOM(windowClass), L"skylistener", WS_OVERLAPPEDWINDOW,
                                r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    pump();
    return hWnd;
}

const auto procOf = [](HWND hWnd) { return GetWindowLongPtrW(hWnd, GWLP_WNDPROC); };

// Sends `message` and checks what it returned and what was noted on its way.
void sends(int line, HWND window, UINT message, LRESULT result, const char* log)
{
    g_log.clear();
    const LRESULT got = SendMessageW(window, message, 0, 0);
    report(got == result && g_log == log, line,
           "returned " + std::to_string(got) + " after \"" + g_log + '"');
}
#define SENDS(...) sends(__LINE__, __VA_ARGS__)

// Notes every handled phase and leaves the rest to the test's handler.
struct RecordingOwner : HookOwner
{
    void zSubclass_Proc(bool bBefore, bool&, std::intptr_t& lReturn, WindowHandle& hWnd,
                        std::uint32_t&, std::uintptr_t&, std::intptr_t&) override
    {
        note(bBefore ? "before" : "after");
        if (handler)
            handler(bBefore, lReturn, hWnd);
    }
    std::function<void(bool, std::intptr_t&, WindowHandle)> handler;
};

// A drag the way a user makes it: SC_MOVE or SC_SIZE starts the system's loop at `from`; timer
// ticks inside it move the cursor to `to` in two steps, then let the button up.
HWND g_dragged = nullptr;
POINT g_from, g_to;
int g_step = 0;

void CALLBACK dragStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (++g_step <= 2) {
        SetCursorPos(g_from.x + (g_to.x - g_from.x) * g_step / 2,
                     g_from.y + (g_to.y - g_from.y) * g_step / 2);
        PostMessageW(g_dragged, WM_MOUSEMOVE, 0, 0);
    } else {
        PostMessageW(g_dragged, WM_LBUTTONUP, 0, 0);
        KillTimer(nullptr, timer);
    }
}

void drag(HWND window, WPARAM command, POINT from, POINT to)
{
    g_dragged = window, g_from = from, g_to = to, g_step = 0;
    SetCursorPos(from.x, from.y);
    PostMessageW(window, WM_SYSCOMMAND, command, MAKELPARAM(from.x, from.y));
    SetTimer(nullptr, 0, 5, dragStep);
    for (const ULONGLONG end = GetTickCount64() + 10000; g_step <= 2 && GetTickCount64() < end;
         MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT))
        pump();
    CHECK(g_step > 2);
    pump();
}

void hookSubclassesTheWindow()
{
    HWND window = makeWindow({100, 100, 400, 300});
    const LONG_PTR original = procOf(window);
    Win32MessageCapture capture;
    RecordingOwner owner;
    MessageHook hook(owner, capture);
    const WindowHandle h = reinterpret_cast<WindowHandle>(window);
    hook.HookWindow(h);
    hook.AddHookMessage(h, MsgHooked, MessageHook::Before | MessageHook::After);
    // The after phase sees and may change what the previous procedure returned.
    owner.handler = [](bool bBefore, std::intptr_t& lReturn, WindowHandle) {
        lReturn += bBefore ? 0 : 1000;
    };
    SENDS(window, MsgHooked, 1101, "before proc after");
    owner.handler = nullptr;
    hook.UnhookWindow(h);
    CHECK(procOf(window) == original);

    // Unhooked under another subclass, the hook passes messages on and cuts no one off.
    hook.HookWindow(h);
    hook.AddHookMessage(h, MsgHooked, MessageHook::Before | MessageHook::After);
    g_underOuter = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&outerProc)));
    hook.UnhookWindow(h);
    SENDS(window, MsgHooked, 101, "outer proc");
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_underOuter));
    // Unhooked by its own handler, the message still reaches the window, and no after phase.
    hook.HookWindow(h);
    hook.AddHookMessage(h, MsgHooked, MessageHook::Before | MessageHook::After);
    owner.handler = [&hook](bool, std::intptr_t&, WindowHandle hWnd) { hook.UnhookWindow(hWnd); };
    SENDS(window, MsgHooked, 101, "before proc");
    CHECK(procOf(window) == original && !hook.IsHooked(h));

    // A destroyed window frees its record, after its handler has seen the last message.
    owner.handler = nullptr;
    hook.HookWindow(h);
    hook.AddHookMessage(h, WM_NCDESTROY, MessageHook::After);
    g_log.clear();
    DestroyWindow(window);
    CHECK(g_log == "after" && !hook.IsHooked(h));
}

void dragsSnapToTheWorkArea()
{
    // The work area as SPI_GETWORKAREA gives it, also where it is not the whole screen.
    RECT desktop{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0);
    RECT a{desktop.left + 100, desktop.top, desktop.right, desktop.bottom};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &a, 0);
    const RECT s{a.left + 300, 300, a.left + 600, 500};
    const POINT caption{s.left + 50, s.top + 10};
    const std::tuple<WPARAM, POINT, POINT, RECT> rows[] = {
        // Moved by the caption: the left edge 9 px from the work area's snaps.
        {SC_MOVE | HTCAPTION, caption, {a.left + 59, s.top + 30}, {a.left, 320, a.left + 300, 520}},
        // Sizing moves only the dragged edges.
        {SC_SIZE | WMSZ_BOTTOMRIGHT,
         {s.right - 1, s.bottom - 1},
         {a.right - 10, a.bottom - 10},
         {s.left, s.top, a.right, a.bottom}},
    };
    for (const auto& [command, from, to, expected] : rows) {
        Win32WindowSystem system;
        Win32MessageCapture capture;
        cMagneticWnd manager(system, capture);
        HWND window = makeWindow(s);
        manager.AddWindow(reinterpret_cast<WindowHandle>(window));
        g_log.clear();
        drag(window, command, from, to);
        RECT r{};
        GetWindowRect(window, &r);
        CHECK(EqualRect(&r, &expected));
        // The manager took every WM_MOVING and WM_SIZING before the window saw it.
        report(g_log == "enter exit", __LINE__, "noted \"" + g_log + '"');
        DestroyWindow(window);
    }
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &desktop, 0);
}

} // namespace

int main()
{
    hookSubclassesTheWindow();
    dragsSnapToTheWorkArea();
    std::printf("%d checks, %d failed\n", g_checks, g_failures);
    return g_failures;
}
