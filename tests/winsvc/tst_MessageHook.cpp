// The message hook: one table entry per message, record reuse, the two phases around the
// previous window procedure, and unhooking while a message is being dispatched.
#include "winsvc/MessageHook.h"

#include <QTest>

#include <functional>
#include <vector>

namespace {

struct RecordingCapture : MessageCapture
{
    void install(WindowHandle hWnd, MessageHook&) override { installed.push_back(hWnd); }
    void uninstall(WindowHandle hWnd) override { uninstalled.push_back(hWnd); }

    std::vector<WindowHandle> installed;
    std::vector<WindowHandle> uninstalled;
};

// Notes the phase of every call and hands the message to the test's handler.
struct ScriptedOwner : HookOwner
{
    void zSubclass_Proc(bool bBefore, bool& bHandled, std::intptr_t& lReturn,
                        WindowHandle& lng_hWnd, std::uint32_t& uMsg, std::uintptr_t& wParam,
                        std::intptr_t&) override
    {
        phases.push_back(bBefore);
        if (handler)
            handler(bHandled, lReturn, lng_hWnd, uMsg, wParam);
    }

    std::function<void(bool&, std::intptr_t&, WindowHandle&, std::uint32_t&, std::uintptr_t&)>
        handler;
    std::vector<bool> phases;
};

constexpr std::uint32_t MsgA = 0x0216;
constexpr std::uint32_t MsgB = 0x0231;
constexpr auto Both = MessageHook::Before | MessageHook::After;

// The window procedure the hook replaced: counts its calls and notes the last message.
struct Previous
{
    int calls = 0;
    WindowMessage seen;
    std::intptr_t result = 1234;
    std::intptr_t operator()(const WindowMessage& m)
    {
        ++calls;
        seen = m;
        return result;
    }
};

} // namespace

class tst_MessageHook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageTablesAndRecords()
    {
        ScriptedOwner owner;
        RecordingCapture capture;
        {
            MessageHook hook(owner, capture);
            // A message added twice has one entry; hooking a window again keeps its tables.
            QCOMPARE(hook.HookWindow(1), 0);
            hook.AddHookMessage(1, MsgA, MessageHook::Before);
            hook.AddHookMessage(1, MsgA, MessageHook::Before);
            hook.AddHookMessage(1, MsgB, Both);
            hook.AddHookMessage(1, MsgB, MessageHook::After);
            QCOMPARE(hook.HookWindow(1), 0);
            QCOMPARE(hook.Records().at(0).before, (std::vector<std::uint32_t>{MsgA, MsgB}));
            QCOMPARE(hook.Records().at(0).after, (std::vector<std::uint32_t>{MsgB}));
            QCOMPARE(capture.installed, std::vector<WindowHandle>{1});
            // A freed record is used again, empty.
            QCOMPARE(hook.HookWindow(2), 1);
            hook.AddHookMessage(2, MsgA, MessageHook::Before);
            hook.UnhookWindow(2);
            QVERIFY(!hook.IsHooked(2));
            QCOMPARE(hook.HookWindow(3), 1);
            QVERIFY(hook.Records().at(1).before.empty());
            hook.UnhookAll();
            QCOMPARE(capture.uninstalled, (std::vector<WindowHandle>{2, 3, 1}));
            hook.HookWindow(9);
        }
        // Whatever is still hooked is unhooked when the hook goes.
        QCOMPARE(capture.uninstalled.back(), WindowHandle(9));
    }

    void dispatchPhases()
    {
        ScriptedOwner owner;
        RecordingCapture capture;
        MessageHook hook(owner, capture);
        hook.HookWindow(7);
        hook.AddHookMessage(7, MsgA, MessageHook::Before);
        hook.AddHookMessage(7, MsgB, Both);
        // MsgA is handled before; MsgB goes on rewritten and its result is changed after.
        owner.handler = [](bool& handled, std::intptr_t& lReturn, WindowHandle&,
                           std::uint32_t& uMsg, std::uintptr_t& wParam) {
            if (uMsg == MsgA) {
                handled = true;
                lReturn = 42;
            } else {
                wParam = 99;
                lReturn += 1;
            }
        };
        Previous previous;
        const auto call = std::ref(previous);
        QCOMPARE(hook.Dispatch({7, MsgA, 1, 2}, call), std::intptr_t(42));
        QCOMPARE(previous.calls, 0);
        QCOMPARE(hook.Dispatch({7, MsgB, 1, 2}, call), std::intptr_t(1235));
        QCOMPARE(previous.seen.wParam, std::uintptr_t(99));
        QCOMPARE(owner.phases, (std::vector<bool>{true, true, false}));

        // Messages not registered, and windows not hooked, pass through unchanged.
        owner.phases.clear();
        QCOMPARE(hook.Dispatch({7, 0x0010, 11, 22}, call), std::intptr_t(1234));
        QVERIFY(previous.seen.uMsg == 0x0010 && previous.seen.wParam == 11 &&
                previous.seen.lParam == 22);
        QCOMPARE(hook.Dispatch({8, MsgA, 0, 0}, call), std::intptr_t(1234));
        QVERIFY(owner.phases.empty());
    }

    void unhookDuringDispatchIsSafe()
    {
        ScriptedOwner owner;
        RecordingCapture capture;
        MessageHook hook(owner, capture);
        hook.HookWindow(7);
        hook.AddHookMessage(7, MsgA, Both);
        owner.handler = [&](bool&, std::intptr_t&, WindowHandle& hWnd, std::uint32_t&,
                            std::uintptr_t&) {
            hook.UnhookWindow(hWnd);
            hook.HookWindow(100 + hWnd); // reuses (and overwrites) the record at once
        };
        Previous previous;
        // Unhooked in the before phase: the previous procedure still gets the message, the
        // after phase of a window no longer hooked is skipped.
        QCOMPARE(hook.Dispatch({7, MsgA, 0, 0}, std::ref(previous)), std::intptr_t(1234));
        QCOMPARE(previous.calls, 1);
        QCOMPARE(owner.phases.size(), std::size_t(1));
        QVERIFY(hook.IsHooked(107));

        // Unhooked in the after phase.
        hook.AddHookMessage(107, MsgB, MessageHook::After);
        QCOMPARE(hook.Dispatch({107, MsgB, 0, 0}, std::ref(previous)), std::intptr_t(1234));
        QVERIFY(!hook.IsHooked(107));
        QCOMPARE(owner.phases.size(), std::size_t(2));
    }
};

QTEST_GUILESS_MAIN(tst_MessageHook)
#include "tst_MessageHook.moc"
