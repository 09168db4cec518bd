// The message hook, and the magnetic window manager on a desktop of rectangles.
#include "winsvc/MessageHook.h"
#include "winsvc/WindowSystem.h"
#include "winsvc/cMagneticWnd.h"

#include <QtTest>

#include <functional>
#include <map>
#include <memory>
#include <tuple>

using namespace WinMsg;

namespace {

constexpr WindowHandle Main = 1, Other = 2;

// Rectangles, a cursor and a capture; drags propose rectangles as the platform does.
struct FakeDesktop : WindowSystem, MessageCapture
{
    WinRect workArea() const override { return {0, 0, 1000, 800}; }
    bool isWindow(WindowHandle h) const override { return rects.contains(h); }
    bool isZoomed(WindowHandle) const override { return false; }
    bool isMinimized(WindowHandle) const override { return false; }
    WinRect windowRect(WindowHandle h) const override { return rects.value(h); }
    WinPoint cursorPos() const override { return cursor; }
    void moveWindows(const std::vector<WindowPlacement>& placements) override
    {
        for (const auto& [h, to] : placements)
            rects[h] = {to.x, to.y, to.x + rects[h].width(), to.y + rects[h].height()};
    }
    void install(WindowHandle h, MessageHook& hook) override { hooks[h] = &hook; }
    void uninstall(WindowHandle h) override { hooks.erase(h); }

    // Messages left to the platform count as previous calls.
    void send(WindowHandle h, std::uint32_t uMsg, std::uintptr_t wParam = 0, WinRect* r = nullptr)
    {
        if (hooks.count(h))
            hooks[h]->Dispatch({h, uMsg, wParam, reinterpret_cast<std::intptr_t>(r)},
                               [this](const WindowMessage&) { return ++previousCalls; });
    }
    void dragStart(WindowHandle h, WinPoint from)
    {
        cursor = grab = from;
        grabRect = rects[h];
        send(h, WM_ENTERSIZEMOVE);
    }
    // The platform proposes the rectangle grabbed at the start, moved with the cursor.
    WinRect dragTo(WindowHandle h, WinPoint to)
    {
        cursor = to;
        const int dx = to.x - grab.x, dy = to.y - grab.y;
        WinRect r{grabRect.left + dx, grabRect.top + dy, grabRect.right + dx, grabRect.bottom + dy};
        send(h, WM_MOVING, 0, &r);
        return rects[h] = r;
    }

    QMap<WindowHandle, WinRect> rects;
    std::map<WindowHandle, MessageHook*> hooks;
    WinPoint cursor, grab;
    WinRect grabRect;
    std::intptr_t previousCalls = 0;
};

// Notes the phase of every call ('b' or 'a') and hands the message to the test's handler.
struct ScriptedOwner : HookOwner
{
    void zSubclass_Proc(bool bBefore, bool& bHandled, std::intptr_t& lReturn, WindowHandle& hWnd,
                        std::uint32_t& uMsg, std::uintptr_t& wParam, std::intptr_t& lParam) override
    {
        phases += bBefore ? 'b' : 'a';
        handler(bHandled, lReturn, {hWnd, uMsg, wParam, lParam});
    }
    std::function<void(bool&, std::intptr_t&, const WindowMessage&)> handler;
    QByteArray phases;
};

constexpr std::uint32_t MsgA = 0x0216, MsgB = 0x0231;

} // namespace

class tst_cMagneticWnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageHook()
    {
        ScriptedOwner owner;
        FakeDesktop capture;
        MessageHook hook(owner, capture);
        hook.HookWindow(7);
        hook.AddHookMessage(7, MsgA, MessageHook::Before);
        hook.AddHookMessage(7, MsgB, MessageHook::Before | MessageHook::After);
        hook.AddHookMessage(8, MsgA, MessageHook::Before); // not hooked: nothing
        // MsgA is handled before; MsgB goes on and its result is changed after.
        owner.handler = [](bool& handled, std::intptr_t& lReturn, const WindowMessage& m) {
            handled = m.uMsg == MsgA;
            lReturn = handled ? 42 : lReturn + 1;
        };
        int calls = 0;
        const auto previous = [&](auto& m) { return ++calls, std::intptr_t(m.wParam); };
        // Messages not registered, and windows not hooked, pass through unchanged.
        const std::tuple<WindowHandle, std::uint32_t, std::intptr_t> routes[] = {
            {7, MsgA, 42}, {7, MsgB, 1235}, {7, 0x0010, 1234}, {8, MsgA, 1234}};
        for (const auto& [h, message, result] : routes)
            QCOMPARE(hook.Dispatch({h, message, 1234, 0}, previous), result);
        QVERIFY(calls == 3 && owner.phases == "bba");

        // Unhooked by its handler: no after phase.
        owner.phases.clear();
        owner.handler = [&](bool&, auto&, auto& m) { hook.UnhookWindow(m.hWnd); };
        QVERIFY(hook.Dispatch({7, MsgB, 1234, 0}, previous) == 1234 && calls == 4);
        QVERIFY(!hook.IsHooked(7) && !capture.hooks.count(7) && owner.phases == "b");
    }

    void movesAndSizesSnapWithinTheSnapWidth()
    {
        FakeDesktop desk;
        desk.rects = {{Other, {-195, 100, 5, 400}}, {Main, {100, 100, 300, 250}}};
        auto mgr = std::make_unique<cMagneticWnd>(desk, desk);
        QVERIFY(mgr->AddWindow(Other) && mgr->AddWindow(Main));
        desk.dragStart(Main, {150, 110});
        const std::tuple<WinPoint, WinRect> moves[] = {
            {{64, 300}, {5, 290, 205, 440}},     // 9 px from the other window's edge: snaps
            {{65, 300}, {15, 290, 215, 440}},    // 10 px off: stays
            {{64, 420}, {14, 410, 214, 560}},    // 9 px off, but 10 px below it: stays
            {{53, 110}, {5, 100, 205, 250}},     // near the work area's edge too: the later slot
            {{80, 110}, {30, 100, 230, 250}},    // out of the zone: under the cursor again
            {{845, 655}, {800, 650, 1000, 800}}, // right and bottom edges to the far side
        };
        for (const auto& [to, placed] : moves)
            QCOMPARE(desk.dragTo(Main, to), placed);
        // A proposal that disagrees with the cursor is ignored.
        desk.cursor = {200, 120};
        WinRect disagreeing{0, 0, 200, 150};
        desk.send(Main, WM_MOVING, 0, &disagreeing);
        QCOMPARE(disagreeing, (WinRect{150, 110, 350, 260}));
        desk.send(Main, WM_EXITSIZEMOVE);
        QCOMPARE(desk.previousCalls, 2); // the moving messages are taken over, never passed on

        // Sizing snaps only the edges being dragged.
        desk.dragStart(Main, {300, 250});
        const std::tuple<int, WinRect, WinRect> sizes[] = {
            {WMSZ_BOTTOMRIGHT, {4, 3, 995, 792}, {4, 3, 1000, 800}},
            {WMSZ_TOP, {4, 6, 996, 700}, {4, 0, 996, 700}},
            {WMSZ_LEFT, {-7, 6, 996, 700}, {0, 6, 996, 700}},
            {WMSZ_BOTTOMLEFT, {50, 60, 400, 500}, {50, 60, 400, 500}}, // far from everything
            {WMSZ_RIGHT, {500, 600, 805, 780}, {500, 600, 805, 780}},  // never to its own edge
        };
        for (auto [edge, proposed, placed] : sizes) {
            desk.send(Main, WM_SIZING, std::uintptr_t(edge), &proposed);
            QCOMPARE(proposed, placed);
        }
        QVERIFY(mgr->RemoveWindow(Other) && !mgr->RemoveWindow(Other));
        mgr.reset();
        QVERIFY(desk.hooks.empty()); // the manager going unhooks everything
    }
};

QTEST_GUILESS_MAIN(tst_cMagneticWnd)
#include "tst_cMagneticWnd.moc"
