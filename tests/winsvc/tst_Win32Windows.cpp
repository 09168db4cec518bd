// The window services on real Win32 windows: the message hook subclasses live windows, and the
// magnetic window manager snaps and glues them through the messages the system's own move and
// size loop sends while the cursor is dragged. Runs on Windows or under Wine; the exit code is
// the number of failed checks.
#include "winsvc/MessageHook.h"
#include "winsvc/Win32MessageCapture.h"
#include "winsvc/cMagneticWnd.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

int g_checks = 0;
int g_failures = 0;
const char* g_case = "";

void report(bool ok, int line, const std::string& what)
{
    ++g_checks;
    if (ok)
        return;
    ++g_failures;
    std::printf("FAIL %s (line %d): %s\n", g_case, line, what.c_str());
}

std::string text(long long value)
{
    return std::to_string(value);
}
std::string text(const std::string& value)
{
    return '"' + value + '"';
}
std::string text(const RECT& r)
{
    return '{' + text(r.left) + ", " + text(r.top) + ", " + text(r.right) + ", " + text(r.bottom) +
           '}';
}
bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b);
}

#define CHECK(cond) report((cond), __LINE__, #cond)
#define CHECK_EQ(actual, expected)                                                                 \
    do {                                                                                           \
        const auto a_ = (actual);                                                                  \
        const auto e_ = (expected);                                                                \
        report(a_ == e_, __LINE__, #actual " is " + text(a_) + ", expected " + text(e_));          \
    } while (false)

constexpr UINT MsgBefore = WM_APP + 1;
constexpr UINT MsgAfter = WM_APP + 2;
constexpr UINT MsgOther = WM_APP + 3;

// What reached the windows' own procedures, the hook's handler and the subclass on top, in order.
std::string g_log;

void note(const char* what)
{
    g_log += g_log.empty() ? "" : " ";
    g_log += what;
}

// The windows' own procedure: answers the test messages with a value of its own and notes the
// moving and sizing messages that reach it.
LRESULT CALLBACK windowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case MsgBefore:
    case MsgAfter:
    case MsgOther:
        note("proc");
        return 100 + (uMsg - WM_APP);
    case WM_ENTERSIZEMOVE:
        note("enter");
        break;
    case WM_MOVING:
        note("moving");
        break;
    case WM_SIZING:
        note("sizing");
        break;
    case WM_EXITSIZEMOVE:
        note("exit");
        break;
    case WM_WINDOWPOSCHANGED:
        if (const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            !(pos->flags & SWP_NOMOVE) && GetWindowLongPtrW(hWnd, GWLP_USERDATA) != 0)
            note(reinterpret_cast<const char*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA)));
        break;
    default:
        break;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

// A procedure put in front of whatever a window has, as another part of a program would.
WNDPROC g_underOuter = nullptr;
LRESULT CALLBACK outerProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == MsgBefore || uMsg == WM_MOVING)
        note("outer");
    const LRESULT result = CallWindowProcW(g_underOuter, hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_MOVING)
        note("outer-done");
    return result;
}

// Handles messages until the queue is empty, so that every window is where it was put.
void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A shown top-level window with the given outer rectangle; `name` is noted when it moves.
HWND makeWindow(RECT r, const char* name = nullptr)
{
    static const ATOM windowClass = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"skylistener test window";
        return RegisterClassW(&wc);
    }();
    HWND hWnd = CreateWindowExW(0, MAKEINTATOM(windowClass), L"skylistener", WS_OVERLAPPEDWINDOW,
                                r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    pump();
    if (name)
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(name));
    return hWnd;
}

RECT windowRect(HWND hWnd)
{
    RECT r{};
    GetWindowRect(hWnd, &r);
    return r;
}

WindowHandle handle(HWND hWnd)
{
    return reinterpret_cast<WindowHandle>(hWnd);
}

RECT shifted(RECT r, int dx, int dy)
{
    OffsetRect(&r, dx, dy);
    return r;
}

// Notes every handled phase and leaves the rest to the test.
struct RecordingOwner : HookOwner
{
    void zSubclass_Proc(bool bBefore, bool& bHandled, std::intptr_t& lReturn,
                        WindowHandle& lng_hWnd, std::uint32_t&, std::uintptr_t&,
                        std::intptr_t&) override
    {
        note(bBefore ? "before" : "after");
        if (handler)
            handler(bBefore, bHandled, lReturn, lng_hWnd);
    }
    std::function<void(bool, bool&, std::intptr_t&, WindowHandle)> handler;
};

// One drag by the system's own move or size loop, the way a user makes it: the WM_SYSCOMMAND
// starts the loop with the cursor at `from`; on every timer tick inside the loop the cursor goes
// to the next point and the mouse move the loop waits for is posted; then the button comes up.
struct Drag
{
    HWND window = nullptr;
    std::vector<POINT> path;
    std::size_t next = 0;
    bool released = false;
};
Drag g_drag;

void CALLBACK dragStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (g_drag.next < g_drag.path.size()) {
        const POINT p = g_drag.path[g_drag.next++];
        SetCursorPos(p.x, p.y);
        PostMessageW(g_drag.window, WM_MOUSEMOVE, 0, 0);
    } else if (!g_drag.released) {
        g_drag.released = true;
        PostMessageW(g_drag.window, WM_LBUTTONUP, 0, 0);
        KillTimer(nullptr, timer);
    }
}

// `command` is SC_MOVE | HTCAPTION or SC_SIZE | WMSZ_*.
void drag(HWND window, WPARAM command, POINT from, std::vector<POINT> path)
{
    g_drag = Drag{window, std::move(path)};
    SetCursorPos(from.x, from.y);
    PostMessageW(window, WM_SYSCOMMAND, command, MAKELPARAM(from.x, from.y));
    SetTimer(nullptr, 0, 5, dragStep);
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!g_drag.released && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        pump();
    }
    CHECK(g_drag.released);
    pump();
}

// The cursor's way from `from` to `to` in steps of about 40 px, as a hand would move it.
std::vector<POINT> path(POINT from, POINT to)
{
    const int steps = std::max(
        2, static_cast<int>(std::max(std::abs(to.x - from.x), std::abs(to.y - from.y)) / 40));
    std::vector<POINT> points;
    for (int i = 1; i <= steps; ++i)
        points.push_back(
            {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    return points;
}

RECT workArea()
{
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

void hookOrderAndHandling()
{
    g_case = "hook order and handling";
    HWND window = makeWindow({100, 100, 400, 300});
    const LONG_PTR original = GetWindowLongPtrW(window, GWLP_WNDPROC);
    Win32MessageCapture capture;
    RecordingOwner owner;
    MessageHook hook(owner, capture);
    const WindowHandle h = handle(window);
    hook.HookWindow(h);
    hook.AddHookMessage(h, MsgBefore, MessageHook::Before);
    hook.AddHookMessage(h, MsgAfter, MessageHook::After);
    // The after phase sees and may change what the previous procedure returned.
    owner.handler = [](bool bBefore, bool&, std::intptr_t& lReturn, WindowHandle) {
        if (!bBefore)
            lReturn += 1000;
    };
    const struct
    {
        UINT message;
        const char* log;
        LRESULT result;
    } rows[] = {
        {MsgBefore, "before proc", 101},
        {MsgAfter, "proc after", 1102},
        {MsgOther, "proc", 103},
    };
    for (const auto& row : rows) {
        g_log.clear();
        CHECK_EQ(SendMessageW(window, row.message, 0, 0), row.result);
        CHECK_EQ(g_log, std::string(row.log));
    }

    // Handled before, a message never reaches the window's own procedure.
    owner.handler = [](bool bBefore, bool& bHandled, std::intptr_t& lReturn, WindowHandle) {
        if (bBefore) {
            bHandled = true;
            lReturn = 7;
        }
    };
    g_log.clear();
    CHECK_EQ(SendMessageW(window, MsgBefore, 0, 0), 7);
    CHECK_EQ(g_log, std::string("before"));

    hook.UnhookWindow(h);
    CHECK_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
    g_log.clear();
    CHECK_EQ(SendMessageW(window, MsgBefore, 0, 0), 101);
    CHECK_EQ(g_log, std::string("proc"));
    DestroyWindow(window);
}

void unhookUnderAnotherSubclass()
{
    g_case = "unhook under another subclass";
    HWND window = makeWindow({100, 100, 400, 300});
    const LONG_PTR original = GetWindowLongPtrW(window, GWLP_WNDPROC);
    Win32MessageCapture capture;
    RecordingOwner owner;
    MessageHook hook(owner, capture);
    const WindowHandle h = handle(window);
    hook.HookWindow(h);
    hook.AddHookMessage(h, MsgBefore, MessageHook::Before);

    // Unhooked under another subclass, the hook lets messages through and cuts no one off.
    g_underOuter = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&outerProc)));
    hook.UnhookWindow(h);
    CHECK_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&outerProc));
    g_log.clear();
    CHECK_EQ(SendMessageW(window, MsgBefore, 0, 0), 101);
    CHECK_EQ(g_log, std::string("outer proc"));

    // The other subclass leaves; hooked again, the window is handled again, and the last unhook
    // gives it back its own procedure.
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_underOuter));
    g_log.clear();
    SendMessageW(window, MsgBefore, 0, 0);
    CHECK_EQ(g_log, std::string("proc"));
    hook.HookWindow(h);
    hook.AddHookMessage(h, MsgBefore, MessageHook::Before);
    g_log.clear();
    SendMessageW(window, MsgBefore, 0, 0);
    CHECK_EQ(g_log, std::string("before proc"));
    hook.UnhookWindow(h);
    CHECK_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
    DestroyWindow(window);
}

void unhookInsideHandlerAndDestroy()
{
    g_case = "unhook inside the handler, destroyed window";
    HWND window = makeWindow({100, 100, 400, 300});
    const LONG_PTR original = GetWindowLongPtrW(window, GWLP_WNDPROC);
    Win32MessageCapture capture;
    RecordingOwner owner;
    MessageHook hook(owner, capture);
    const WindowHandle h = handle(window);
    hook.HookWindow(h);
    hook.AddHookMessage(h, MsgBefore, MessageHook::Before | MessageHook::After);

    // Unhooked by its own handler, the message still reaches the window, the after phase no
    // longer runs, and the window has its own procedure back.
    owner.handler = [&hook](bool, bool&, std::intptr_t&, WindowHandle hWnd) {
        hook.UnhookWindow(hWnd);
    };
    g_log.clear();
    CHECK_EQ(SendMessageW(window, MsgBefore, 0, 0), 101);
    CHECK_EQ(g_log, std::string("before proc"));
    CHECK_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
    CHECK(!hook.IsHooked(h));

    // A destroyed window leaves no record behind; its handler still sees the last message, and
    // the freed record serves the next window.
    owner.handler = nullptr;
    const int index = hook.HookWindow(h);
    hook.AddHookMessage(h, WM_NCDESTROY, MessageHook::After);
    g_log.clear();
    DestroyWindow(window);
    CHECK_EQ(g_log, std::string("after"));
    CHECK(!hook.IsHooked(h));
    HWND next = makeWindow({100, 100, 400, 300});
    CHECK_EQ(hook.HookWindow(handle(next)), index);
    hook.AddHookMessage(handle(next), MsgBefore, MessageHook::Before);
    g_log.clear();
    SendMessageW(next, MsgBefore, 0, 0);
    CHECK_EQ(g_log, std::string("before proc"));
    DestroyWindow(next);
}

void dragSnapsToWorkArea()
{
    g_case = "drag snaps to the work area";
    const RECT desktop = workArea();
    // Distance of the left edge from the work area's left edge at the end of the drag.
    const struct
    {
        int shiftWorkArea;
        int distance;
        int expectedDistance;
    } rows[] = {{0, 9, 0}, {0, 10, 10}, {0, 12, 12}, {100, 9, 0}, {100, 12, 12}};
    for (const auto& row : rows) {
        RECT area = desktop;
        area.left += row.shiftWorkArea;
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0);
        Win32WindowSystem system;
        Win32MessageCapture capture;
        cMagneticWnd manager(system, capture);
        const RECT start{area.left + 300, 300, area.left + 600, 500};
        HWND window = makeWindow(start);
        manager.AddWindow(handle(window));

        // Grabbed by the caption 50 px from the left edge, dragged left and a little down.
        const POINT from{start.left + 50, start.top + 10};
        const int x = area.left + row.distance;
        g_log.clear();
        drag(window, SC_MOVE | HTCAPTION, from, path(from, {x + 50, from.y + 20}));
        CHECK_EQ(windowRect(window),
                 shifted(start, area.left + row.expectedDistance - start.left, 20));
        // The manager took every WM_MOVING before the window saw it.
        CHECK_EQ(g_log, std::string("enter exit"));
        DestroyWindow(window);
    }
    SystemParametersInfoW(SPI_SETWORKAREA, 0, const_cast<RECT*>(&desktop), 0);
}

void sizingSnaps()
{
    g_case = "sizing snaps to the work area";
    const RECT area = workArea();
    const RECT start{area.right - 500, area.bottom - 400, area.right - 200, area.bottom - 200};
    const struct
    {
        WPARAM edge;
        POINT from;
        POINT to;
        RECT expected;
    } rows[] = {
        // The left edge dragged to 9 px from the work area's: only the left edge moves.
        {WMSZ_LEFT,
         {start.left, start.top + 50},
         {area.left + 9, start.top + 60},
         {area.left, start.top, start.right, start.bottom}},
        {WMSZ_LEFT,
         {start.left, start.top + 50},
         {area.left + 12, start.top + 60},
         {area.left + 12, start.top, start.right, start.bottom}},
        // The bottom-right corner to 9 px inside the corner of the work area snaps both.
        {WMSZ_BOTTOMRIGHT,
         {start.right - 1, start.bottom - 1},
         {area.right - 10, area.bottom - 10},
         {start.left, start.top, area.right, area.bottom}},
    };
    for (const auto& row : rows) {
        Win32WindowSystem system;
        Win32MessageCapture capture;
        cMagneticWnd manager(system, capture);
        HWND window = makeWindow(start);
        manager.AddWindow(handle(window));
        g_log.clear();
        drag(window, SC_SIZE | row.edge, row.from, path(row.from, row.to));
        CHECK_EQ(windowRect(window), row.expected);
        CHECK_EQ(g_log, std::string("enter exit"));
        DestroyWindow(window);
    }
}

void gluedWindowsMoveWithTheirParent()
{
    g_case = "glued windows move with their parent";
    Win32WindowSystem system;
    Win32MessageCapture capture;
    cMagneticWnd manager(system, capture);
    const RECT parentStart{300, 300, 600, 500};
    const RECT childStart{600, 300, 750, 400};   // touches the parent's right edge
    const RECT siblingStart{650, 400, 800, 480}; // touches only the child
    const RECT looseStart{900, 100, 1050, 200};  // touches nothing
    HWND parent = makeWindow(parentStart);
    HWND child = makeWindow(childStart, "child");
    HWND sibling = makeWindow(siblingStart, "sibling");
    HWND loose = makeWindow(looseStart, "loose");
    manager.AddWindow(handle(parent));
    manager.AddWindow(handle(child), handle(parent));
    manager.AddWindow(handle(sibling), handle(parent));
    manager.AddWindow(handle(loose), handle(parent));
    CHECK(manager.IsGlued(handle(child)) && manager.IsGlued(handle(sibling)));
    CHECK(!manager.IsGlued(handle(loose)));

    // Another procedure on top of the manager's marks where the parent's WM_MOVING begins and
    // ends: the glued windows move inside it, together, in registration order.
    g_underOuter = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&outerProc)));
    const RECT area = workArea();
    const POINT from{parentStart.left + 50, parentStart.top + 10};
    g_log.clear();
    drag(parent, SC_MOVE | HTCAPTION, from, {{from.x - 150, from.y}, {area.left + 9 + 50, from.y}});
    CHECK_EQ(g_log, std::string("enter outer child sibling outer-done outer child sibling "
                                "outer-done exit"));
    // The parent snapped to the work area's left edge; the glued ones kept their offsets.
    const int dx = area.left - parentStart.left;
    CHECK_EQ(windowRect(parent), shifted(parentStart, dx, 0));
    CHECK_EQ(windowRect(child), shifted(childStart, dx, 0));
    CHECK_EQ(windowRect(sibling), shifted(siblingStart, dx, 0));
    CHECK_EQ(windowRect(loose), looseStart);
    for (HWND hWnd : {parent, child, sibling, loose})
        DestroyWindow(hWnd);
}

void minimiseAndRestore()
{
    g_case = "minimise and restore";
    Win32WindowSystem system;
    Win32MessageCapture capture;
    cMagneticWnd manager(system, capture);
    HWND parent = makeWindow({300, 300, 600, 500});
    HWND child = makeWindow({600, 300, 750, 400});
    manager.AddWindow(handle(parent));
    manager.AddWindow(handle(child), handle(parent));
    CHECK(manager.IsGlued(handle(child)));

    // The manager looks at the windows once the system has carried the command out: a
    // minimised parent no longer touches its child, a restored one does again.
    SendMessageW(parent, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pump();
    CHECK(IsIconic(parent));
    CHECK(!manager.IsGlued(handle(child)));
    SendMessageW(parent, WM_SYSCOMMAND, SC_RESTORE, 0);
    pump();
    CHECK(!IsIconic(parent));
    CHECK(manager.IsGlued(handle(child)));
    DestroyWindow(child);
    DestroyWindow(parent);
}

} // namespace

int main()
{
    const RECT area = workArea();
    std::printf("work area %s\n", text(area).c_str());
    for (void (*test)() :
         {hookOrderAndHandling, unhookUnderAnotherSubclass, unhookInsideHandlerAndDestroy,
          dragSnapsToWorkArea, sizingSnaps, gluedWindowsMoveWithTheirParent, minimiseAndRestore}) {
        const int failuresBefore = g_failures;
        test();
        std::printf("%s %s\n", g_failures == failuresBefore ? "PASS" : "FAIL", g_case);
    }
    std::printf("%d checks, %d failed\n", g_checks, g_failures);
    std::fflush(stdout);
    return g_failures;
}
