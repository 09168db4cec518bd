// The message hook (record reuse, the two phases around the previous window procedure, unhooking
// while a message is dispatched) and the magnetic window manager on a desktop of rectangles:
// snapping of moves and sizes, the glued group, and windows that come and go.
#include "winsvc/MessageHook.h"
#include "winsvc/WindowSystem.h"
#include "winsvc/cMagneticWnd.h"

#include <QTest>

#include <functional>
#include <map>
#include <set>
#include <tuple>

using namespace WinMsg;

namespace {

constexpr WindowHandle Main = 1, Other = 2, Child = 3, Sibling = 4, Loose = 5, LooseNeighbour = 6,
                       Stranger = 7;

// A desktop of rectangles and a cursor, with a capture that lets a test send messages to hooked
// windows the way the platform would; drags propose rectangles by the platform's arithmetic.
class FakeDesktop : public WindowSystem, public MessageCapture
{
public:
    WinRect workArea() const override { return {0, 0, 1000, 800}; }
    bool isWindow(WindowHandle hWnd) const override { return rects.count(hWnd) != 0; }
    bool isZoomed(WindowHandle hWnd) const override { return zoomed.count(hWnd) != 0; }
    bool isMinimized(WindowHandle hWnd) const override { return minimized.count(hWnd) != 0; }
    WinRect windowRect(WindowHandle hWnd) const override
    {
        return isWindow(hWnd) ? rects.at(hWnd) : WinRect{};
    }
    WinPoint cursorPos() const override { return cursor; }
    void moveWindows(const std::vector<WindowPlacement>& placements) override
    {
        batches.push_back(placements);
        for (const WindowPlacement& p : placements) {
            WinRect& r = rects[p.hWnd];
            r = {p.topLeft.x, p.topLeft.y, p.topLeft.x + r.width(), p.topLeft.y + r.height()};
        }
    }
    void install(WindowHandle hWnd, MessageHook& hook) override { m_hooks[hWnd] = &hook; }
    void uninstall(WindowHandle hWnd) override { m_hooks.erase(hWnd); }

    bool hooked(WindowHandle hWnd) const { return m_hooks.count(hWnd) != 0; }
    // Unhooked windows and messages left to the platform count as previous calls.
    void send(WindowHandle hWnd, std::uint32_t uMsg, std::uintptr_t wParam = 0,
              WinRect* rect = nullptr)
    {
        const auto previous = [this](const WindowMessage&) {
            return std::intptr_t(++previousCalls);
        };
        if (const auto it = m_hooks.find(hWnd); it != m_hooks.end())
            it->second->Dispatch({hWnd, uMsg, wParam, reinterpret_cast<std::intptr_t>(rect)},
                                 previous);
    }
    void dragStart(WindowHandle hWnd, WinPoint from)
    {
        cursor = m_grab = from;
        m_grabRect = rects[hWnd];
        send(hWnd, WM_ENTERSIZEMOVE);
    }
    // The platform proposes the rectangle grabbed at the start, moved with the cursor.
    WinRect dragTo(WindowHandle hWnd, WinPoint to)
    {
        cursor = to;
        const int dx = to.x - m_grab.x, dy = to.y - m_grab.y;
        WinRect r{m_grabRect.left + dx, m_grabRect.top + dy, m_grabRect.right + dx,
                  m_grabRect.bottom + dy};
        send(hWnd, WM_MOVING, 0, &r);
        return rects[hWnd] = r;
    }
    WinRect sizeTo(WindowHandle hWnd, int edge, WinRect r)
    {
        send(hWnd, WM_SIZING, static_cast<std::uintptr_t>(edge), &r);
        return rects[hWnd] = r;
    }

    std::map<WindowHandle, WinRect> rects;
    std::set<WindowHandle> zoomed, minimized;
    WinPoint cursor;
    std::vector<std::vector<WindowPlacement>> batches;
    int previousCalls = 0;

private:
    std::map<WindowHandle, MessageHook*> m_hooks;
    WinPoint m_grab;
    WinRect m_grabRect;
};

// Notes the phase of every call ('b' or 'a') and hands the message to the test's handler.
struct ScriptedOwner : HookOwner
{
    void zSubclass_Proc(bool bBefore, bool& bHandled, std::intptr_t& lReturn,
                        WindowHandle& lng_hWnd, std::uint32_t& uMsg, std::uintptr_t& wParam,
                        std::intptr_t&) override
    {
        phases += bBefore ? 'b' : 'a';
        if (handler)
            handler(bHandled, lReturn, lng_hWnd, uMsg, wParam);
    }
    std::function<void(bool&, std::intptr_t&, WindowHandle&, std::uint32_t&, std::uintptr_t&)>
        handler;
    QByteArray phases;
};

constexpr std::uint32_t MsgA = 0x0216, MsgB = 0x0231;
constexpr auto Both = MessageHook::Before | MessageHook::After;

} // namespace

class tst_cMagneticWnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageTablesAndRecords()
    {
        ScriptedOwner owner;
        FakeDesktop capture;
        {
            MessageHook hook(owner, capture);
            QCOMPARE(hook.HookWindow(1), 0);
            QCOMPARE(hook.HookWindow(1), 0); // hooked again: the same record
            // A freed record is used again, empty.
            QCOMPARE(hook.HookWindow(2), 1);
            hook.AddHookMessage(2, MsgA, MessageHook::Before);
            hook.UnhookWindow(2);
            QVERIFY(!hook.IsHooked(2) && !capture.hooked(2) && hook.IsHooked(1));
            QCOMPARE(hook.HookWindow(3), 1);
            QVERIFY(hook.Records().at(1).before.empty() && capture.hooked(3));
            hook.UnhookAll();
            QVERIFY(!capture.hooked(1) && !capture.hooked(3));
            hook.HookWindow(9);
            QVERIFY(capture.hooked(9));
        }
        // Whatever is still hooked is unhooked when the hook goes.
        QVERIFY(!capture.hooked(9));
    }

    void dispatchPhases()
    {
        ScriptedOwner owner;
        FakeDesktop capture;
        MessageHook hook(owner, capture);
        hook.HookWindow(7);
        hook.AddHookMessage(7, MsgA, MessageHook::Before);
        hook.AddHookMessage(7, MsgB, Both);
        // MsgA is handled before; MsgB goes on rewritten and its result is changed after.
        owner.handler = [](bool& handled, std::intptr_t& lReturn, WindowHandle&,
                           std::uint32_t& uMsg, std::uintptr_t& wParam) {
            handled = uMsg == MsgA;
            lReturn = handled ? 42 : lReturn + 1;
            wParam = 99;
        };
        int calls = 0;
        WindowMessage seen;
        const auto previous = [&](const WindowMessage& m) -> std::intptr_t {
            ++calls;
            seen = m;
            return 1234;
        };
        QCOMPARE(hook.Dispatch({7, MsgA, 1, 2}, previous), std::intptr_t(42));
        QCOMPARE(calls, 0);
        QCOMPARE(hook.Dispatch({7, MsgB, 1, 2}, previous), std::intptr_t(1235));
        QCOMPARE(seen.wParam, std::uintptr_t(99));
        QCOMPARE(owner.phases, QByteArray("bba"));
        // Messages not registered, and windows not hooked, pass through unchanged.
        QCOMPARE(hook.Dispatch({7, 0x0010, 11, 22}, previous), std::intptr_t(1234));
        QVERIFY(seen.uMsg == 0x0010 && seen.wParam == 11 && seen.lParam == 22);
        QCOMPARE(hook.Dispatch({8, MsgA, 0, 0}, previous), std::intptr_t(1234));
        QCOMPARE(owner.phases, QByteArray("bba"));

        // Unhooked in the before phase: the previous procedure still gets the message, the
        // after phase of a window no longer hooked is skipped, even when its record is reused.
        owner.phases.clear();
        owner.handler = [&](bool&, std::intptr_t&, WindowHandle& hWnd, std::uint32_t&,
                            std::uintptr_t&) {
            hook.UnhookWindow(hWnd);
            hook.HookWindow(100 + hWnd);
        };
        QCOMPARE(hook.Dispatch({7, MsgB, 0, 0}, previous), std::intptr_t(1234));
        QCOMPARE(calls, 4);
        QVERIFY(hook.IsHooked(107));
        // Unhooked in the after phase.
        hook.AddHookMessage(107, MsgB, MessageHook::After);
        QCOMPARE(hook.Dispatch({107, MsgB, 0, 0}, previous), std::intptr_t(1234));
        QVERIFY(!hook.IsHooked(107));
        QCOMPARE(owner.phases, QByteArray("ba"));
    }

    void movesAndSizesSnapWithinTheSnapWidth()
    {
        FakeDesktop desk;
        desk.rects = {{Other, {-195, 100, 5, 400}}, {Main, {100, 100, 300, 250}}};
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Other) && mgr.AddWindow(Main));
        desk.dragStart(Main, {150, 110});
        const std::tuple<WinPoint, WinRect> moves[] = {
            {{64, 300}, {5, 290, 205, 440}},     // 9 px from the other window's edge: snaps
            {{65, 300}, {15, 290, 215, 440}},    // 10 px off: stays
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
        };
        for (const auto& [edge, proposed, placed] : sizes)
            QCOMPARE(desk.sizeTo(Main, edge, proposed), placed);
        mgr.setSnapWidth(0); // nothing snaps
        desk.dragStart(Main, {900, 700});
        QCOMPARE(desk.dragTo(Main, {853, 700}).left, 3);
    }

    void maximisedAndMinimisedWindows()
    {
        FakeDesktop desk;
        desk.rects = {{Other, {500, 300, 700, 500}}, {Main, {100, 100, 300, 250}}};
        desk.zoomed.insert(Other);
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Other) && mgr.AddWindow(Main));
        // The maximised window counts as the work area, not as its reported rectangle; a
        // minimised one with whatever rectangle is reported for it.
        desk.dragStart(Main, {100, 100});
        QCOMPARE(desk.dragTo(Main, {297, 300}).right, 497);
        desk.zoomed.clear();
        desk.minimized.insert(Other);
        desk.dragStart(Main, {297, 300});
        QCOMPARE(desk.dragTo(Main, {297, 300}).right, 500);
    }

    void gluedGroupMovesWithParent()
    {
        FakeDesktop desk;
        desk.rects = {{Main, {100, 100, 300, 300}},
                      {Child, {300, 100, 400, 200}},           // touches the parent
                      {Sibling, {400, 100, 500, 200}},         // touches the glued child only
                      {Loose, {0, 500, 100, 600}},             // touches nothing glued
                      {LooseNeighbour, {100, 500, 200, 600}}}; // touches the loose one only
        cMagneticWnd mgr(desk, desk);
        QVERIFY(mgr.AddWindow(Main));
        for (const WindowHandle h : {LooseNeighbour, Loose, Sibling, Child})
            QVERIFY(mgr.AddWindow(h, Main));
        QVERIFY(mgr.IsGlued(Child) && mgr.IsGlued(Sibling));
        QVERIFY(!mgr.IsGlued(Loose) && !mgr.IsGlued(LooseNeighbour));

        desk.dragStart(Main, {150, 150});
        desk.dragTo(Main, {200, 170});
        QCOMPARE(desk.batches, (std::vector<std::vector<WindowPlacement>>{
                                   {{Sibling, {450, 120}}, {Child, {350, 120}}}}));
        QCOMPARE(desk.rects[Loose], (WinRect{0, 500, 100, 600}));
        // The group's edges snap too: the sibling's right edge 3 px from the work area's.
        QCOMPARE(desk.dragTo(Main, {647, 170}).left, 600);
        QCOMPARE(desk.rects[Sibling].right, 1000);
        desk.send(Main, WM_EXITSIZEMOVE);
        QVERIFY(mgr.IsGlued(Sibling));

        // Only the exact minimise and restore commands, and any WM_COMMAND, look again.
        desk.rects[Child] = {850, 400, 950, 500};
        for (const std::uintptr_t command :
             {SC_MINIMIZE | 0x2, SC_RESTORE | 0xF, std::uintptr_t(0xF060)})
            desk.send(Main, WM_SYSCOMMAND, command);
        QVERIFY(mgr.IsGlued(Child));
        desk.send(Main, WM_SYSCOMMAND, SC_MINIMIZE);
        QVERIFY(!mgr.IsGlued(Child));
        desk.rects[Child] = {800, 120, 900, 220};
        desk.send(Main, WM_SYSCOMMAND, SC_RESTORE);
        QVERIFY(mgr.IsGlued(Child));
        desk.rects[Child] = {850, 400, 950, 500};
        desk.send(Child, WM_COMMAND, 5);
        QVERIFY(!mgr.IsGlued(Child));
    }

    void parentsThatAreGoneOrUnknown()
    {
        FakeDesktop desk;
        desk.rects = {{Stranger, {600, 600, 700, 700}},
                      {Main, {300, 300, 400, 400}},
                      {Child, {0, 50, 100, 150}}};
        {
            cMagneticWnd mgr(desk, desk);
            QVERIFY(mgr.AddWindow(Main));
            // An unregistered parent: the work area stands in once it has been read by a drag.
            QVERIFY(mgr.AddWindow(Child, Stranger));
            QVERIFY(!mgr.IsGlued(Child));
            desk.dragStart(Main, {300, 300});
            desk.send(Main, WM_EXITSIZEMOVE);
            QVERIFY(mgr.IsGlued(Child));
            desk.rects[Child] = {1, 50, 101, 150};
            mgr.CheckGlueing();
            QVERIFY(!mgr.IsGlued(Child));

            // Duplicate and unknown handles are refused.
            QVERIFY(!mgr.AddWindow(Main) && !mgr.AddWindow(8) && !mgr.AddWindow(Stranger, 8) &&
                    !mgr.AddWindow(0) && !mgr.RemoveWindow(Stranger) && !desk.hooked(Stranger));
            QCOMPARE(mgr.Count(), 2);

            // Removing a parent clears its children; the rest keep working with their own slots.
            desk.rects[Child] = {400, 300, 500, 400};
            QVERIFY(mgr.RemoveWindow(Child) && mgr.AddWindow(Child, Main));
            QVERIFY(mgr.IsGlued(Child));
            QVERIFY(mgr.RemoveWindow(Main) && !desk.hooked(Main));
            QVERIFY(mgr.ParentOf(Child) == 0 && !mgr.IsGlued(Child));
            QVERIFY(mgr.AddWindow(Stranger));
            desk.dragStart(Stranger, {600, 600});
            QCOMPARE(desk.dragTo(Stranger, {503, 300}).left, 500); // the child's right edge
        }
        // The manager going unhooks everything.
        QVERIFY(!desk.hooked(Child) && !desk.hooked(Stranger));
    }
};

QTEST_GUILESS_MAIN(tst_cMagneticWnd)
#include "tst_cMagneticWnd.moc"
