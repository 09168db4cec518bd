// The message hook: one table entry per message, record reuse, the two phases around the
// previous window procedure, and unhooking while a message is being dispatched.
#include "winsvc/MessageHook.h"

#include <QTest>

#include <functional>

namespace {

struct CountingCapture : MessageCapture
{
    void install(WindowHandle, MessageHook&) override { ++installed; }
    void uninstall(WindowHandle) override { ++uninstalled; }
    int installed = 0, uninstalled = 0;
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

class tst_MessageHook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageTablesAndRecords()
    {
        ScriptedOwner owner;
        CountingCapture capture;
        {
            MessageHook hook(owner, capture);
            QCOMPARE(hook.HookWindow(1), 0);
            QCOMPARE(hook.HookWindow(1), 0); // hooked again: the same record, installed once
            QCOMPARE(capture.installed, 1);
            // A freed record is used again, empty.
            QCOMPARE(hook.HookWindow(2), 1);
            hook.AddHookMessage(2, MsgA, MessageHook::Before);
            hook.UnhookWindow(2);
            QVERIFY(!hook.IsHooked(2) && hook.IsHooked(1));
            QCOMPARE(hook.HookWindow(3), 1);
            QVERIFY(hook.Records().at(1).before.empty());
            hook.UnhookAll();
            QCOMPARE(capture.uninstalled, 3);
            hook.HookWindow(9);
        }
        // Whatever is still hooked is unhooked when the hook goes.
        QCOMPARE(capture.uninstalled, 4);
    }

    void dispatchPhases()
    {
        ScriptedOwner owner;
        CountingCapture capture;
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
};

QTEST_GUILESS_MAIN(tst_MessageHook)
#include "tst_MessageHook.moc"
