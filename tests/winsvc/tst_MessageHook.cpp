#include "winsvc/MessageHook.h"

#include <QTest>

#include <functional>
#include <vector>

namespace {

struct RecordingCapture : MessageCapture
{
    void install(WindowHandle hWnd, MessageHook& hook) override
    {
        installed.push_back(hWnd);
        m_hook = &hook;
    }
    void uninstall(WindowHandle hWnd) override { uninstalled.push_back(hWnd); }

    std::vector<WindowHandle> installed;
    std::vector<WindowHandle> uninstalled;
    MessageHook* m_hook = nullptr;
};

struct Call
{
    bool before;
    std::uint32_t uMsg;
    std::uintptr_t wParam;
};

struct ScriptedOwner : HookOwner
{
    void zSubclass_Proc(bool bBefore, bool& bHandled, std::intptr_t& lReturn,
                        WindowHandle& lng_hWnd, std::uint32_t& uMsg, std::uintptr_t& wParam,
                        std::intptr_t& lParam) override
    {
        calls.push_back({bBefore, uMsg, wParam});
        if (handler)
            handler(bBefore, bHandled, lReturn, lng_hWnd, uMsg, wParam, lParam);
    }

    std::function<void(bool, bool&, std::intptr_t&, WindowHandle&, std::uint32_t&, std::uintptr_t&,
                       std::intptr_t&)>
        handler;
    std::vector<Call> calls;
};

constexpr std::uint32_t MsgA = 0x0216;
constexpr std::uint32_t MsgB = 0x0231;

} // namespace

class tst_MessageHook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameMessageTwiceLeavesOneEntry()
    {
        ScriptedOwner owner;
        RecordingCapture capture;
        MessageHook hook(owner, capture);
        QCOMPARE(hook.HookWindow(7), 0);
        hook.AddHookMessage(7, MsgA, MessageHook::Before);
        hook.AddHookMessage(7, MsgA, MessageHook::Before);
        hook.AddHookMessage(7, MsgB, MessageHook::Before | MessageHook::After);
        hook.AddHookMessage(7, MsgB, MessageHook::After);
        const MessageHook::Record& record = hook.Records().at(0);
        QCOMPARE(record.before, (std::vector<std::uint32_t>{MsgA, MsgB}));
        QCOMPARE(record.after, (std::vector<std::uint32_t>{MsgB}));
        // Hooking an already hooked window keeps its record and its tables.
        QCOMPARE(hook.HookWindow(7), 0);
        QCOMPARE(hook.Records().at(0).before.size(), std::size_t(2));
        QCOMPARE(capture.installed.size(), std::size_t(1));
    }

    void freedRecordsAreReusedHighestFirst()
    {
        ScriptedOwner owner;
        RecordingCapture capture;
        {
            MessageHook hook(owner, capture);
            QCOMPARE(hook.HookWindow(1), 0);
            QCOMPARE(hook.HookWindow(2), 1);
            QCOMPARE(hook.HookWindow(3), 2);
            hook.AddHookMessage(2, MsgA, MessageHook::Before);
            hook.UnhookWindow(2);
            QVERIFY(!hook.IsHooked(2));
            QCOMPARE(capture.uninstalled, std::vector<WindowHandle>{2});
            // The freed record comes back empty.
            QCOMPARE(hook.HookWindow(4), 1);
            QVERIFY(hook.Records().at(1).before.empty());

            hook.UnhookWindow(1);
            hook.UnhookWindow(3);
            QCOMPARE(hook.HookWindow(5), 2);
            QCOMPARE(hook.HookWindow(6), 0);
            QCOMPARE(hook.HookWindow(8), 3);
            QCOMPARE(hook.Records().size(), std::size_t(4));
            capture.uninstalled.clear();
            hook.UnhookAll();
            QCOMPARE(capture.uninstalled, (std::vector<WindowHandle>{8, 5, 4, 6}));
            hook.HookWindow(9);
        }
        // Whatever is still hooked is unhooked when the hook goes.
        QCOMPARE(capture.uninstalled.back(), WindowHandle(9));
    }

    void beforePhaseHandlingKeepsMessageFromPreviousProcedure()
    {
        ScriptedOwner owner;
        RecordingCapture capture;
        MessageHook hook(owner, capture);
        hook.HookWindow(7);
        hook.AddHookMessage(7, MsgA, MessageHook::Before);
        hook.AddHookMessage(7, MsgB, MessageHook::Before);
        owner.handler = [](bool, bool& handled, std::intptr_t& lReturn, WindowHandle&,
                           std::uint32_t& uMsg, std::uintptr_t& wParam, std::intptr_t&) {
            if (uMsg == MsgA) {
                handled = true;
                lReturn = 42;
            } else {
                wParam = 99; // a rewritten message goes on rewritten
            }
        };
        int previousCalls = 0;
        std::uintptr_t seenWParam = 0;
        const auto previous = [&](const WindowMessage& m) -> std::intptr_t {
            ++previousCalls;
            seenWParam = m.wParam;
            return -5;
        };

        QCOMPARE(hook.Dispatch({7, MsgA, 1, 2}, previous), std::intptr_t(42));
        QCOMPARE(previousCalls, 0);
        QCOMPARE(owner.calls.size(), std::size_t(1));
        QVERIFY(owner.calls[0].before);

        QCOMPARE(hook.Dispatch({7, MsgB, 1, 2}, previous), std::intptr_t(-5));
        QCOMPARE(previousCalls, 1);
        QCOMPARE(seenWParam, std::uintptr_t(99));
    }

    void unregisteredMessagesPassThroughUnchanged()
    {
        ScriptedOwner owner;
        RecordingCapture capture;
        MessageHook hook(owner, capture);
        hook.HookWindow(7);
        hook.AddHookMessage(7, MsgA, MessageHook::After);
        owner.handler = [](bool, bool&, std::intptr_t& lReturn, WindowHandle&, std::uint32_t&,
                           std::uintptr_t&, std::intptr_t&) { lReturn += 1; };
        WindowMessage seen;
        const auto previous = [&](const WindowMessage& m) -> std::intptr_t {
            seen = m;
            return 1234;
        };

        QCOMPARE(hook.Dispatch({7, MsgB, 11, 22}, previous), std::intptr_t(1234));
        QCOMPARE(seen.hWnd, WindowHandle(7));
        QCOMPARE(seen.uMsg, MsgB);
        QCOMPARE(seen.wParam, std::uintptr_t(11));
        QCOMPARE(seen.lParam, std::intptr_t(22));
        QVERIFY(owner.calls.empty());

        // A window that is not hooked at all: same.
        QCOMPARE(hook.Dispatch({8, MsgA, 0, 0}, previous), std::intptr_t(1234));
        QVERIFY(owner.calls.empty());

        // The after phase sees the previous procedure's result and may change it.
        QCOMPARE(hook.Dispatch({7, MsgA, 0, 0}, previous), std::intptr_t(1235));
        QCOMPARE(owner.calls.size(), std::size_t(1));
        QVERIFY(!owner.calls[0].before);
    }

    void unhookDuringDispatchIsSafe()
    {
        ScriptedOwner owner;
        RecordingCapture capture;
        MessageHook hook(owner, capture);
        hook.HookWindow(7);
        hook.AddHookMessage(7, MsgA, MessageHook::Before | MessageHook::After);
        hook.AddHookMessage(7, MsgB, MessageHook::After);
        owner.handler = [&](bool, bool&, std::intptr_t&, WindowHandle& hWnd, std::uint32_t&,
                            std::uintptr_t&, std::intptr_t&) {
            hook.UnhookWindow(hWnd);
            hook.HookWindow(100 + hWnd); // reuses (and overwrites) the record at once
        };
        int previousCalls = 0;
        const auto previous = [&](const WindowMessage&) -> std::intptr_t {
            ++previousCalls;
            return 3;
        };

        // Unhooked in the before phase: the previous procedure still gets the message, the
        // after phase of a window no longer hooked is skipped.
        QCOMPARE(hook.Dispatch({7, MsgA, 0, 0}, previous), std::intptr_t(3));
        QCOMPARE(previousCalls, 1);
        QCOMPARE(owner.calls.size(), std::size_t(1));
        QCOMPARE(capture.uninstalled, std::vector<WindowHandle>{7});
        QVERIFY(hook.IsHooked(107));

        // Unhooked in the after phase.
        hook.AddHookMessage(107, MsgB, MessageHook::After);
        QCOMPARE(hook.Dispatch({107, MsgB, 0, 0}, previous), std::intptr_t(3));
        QVERIFY(!hook.IsHooked(107));
        QCOMPARE(owner.calls.size(), std::size_t(2));
    }
};

QTEST_GUILESS_MAIN(tst_MessageHook)
#include "tst_MessageHook.moc"
