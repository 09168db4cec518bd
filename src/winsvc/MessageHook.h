#pragma once

#include "winsvc/WindowTypes.h"

#include <cstdint>
#include <functional>
#include <vector>

// Receives the hooked messages of every window its MessageHook watches. Every argument is the
// message as received and may be changed; setting bHandled in the before phase keeps the message
// from the window's previous procedure, and lReturn is what the window procedure returns.
class HookOwner
{
public:
    virtual void zSubclass_Proc(bool bBefore, bool& bHandled, std::intptr_t& lReturn,
                                WindowHandle& lng_hWnd, std::uint32_t& uMsg, std::uintptr_t& wParam,
                                std::intptr_t& lParam) = 0;

protected:
    ~HookOwner() = default;
};

class MessageHook;

// How a window's messages are caught: on Windows by replacing the window procedure of its HWND,
// elsewhere by an event filter that produces the same messages. Each caught message goes to
// MessageHook::Dispatch together with a way to reach the window's previous handling.
class MessageCapture
{
public:
    virtual ~MessageCapture() = default;
    virtual void install(WindowHandle hWnd, MessageHook& hook) = 0;
    virtual void uninstall(WindowHandle hWnd) = 0;
};

// A per-window message filter for one owner: for every hooked window the owner lists the
// messages it wants to see before the window's previous procedure runs and those it wants to
// see after it; everything else passes through untouched. Records of unhooked windows stay in
// place and are reused, the highest free one first.
class MessageHook
{
public:
    // Phase bits of AddHookMessage.
    static constexpr int After = 1;
    static constexpr int Before = 2;

    // Calls the window's previous procedure with a message and returns its result.
    using PreviousProc = std::function<std::intptr_t(const WindowMessage&)>;

    struct Record
    {
        WindowHandle hWnd = 0;             // 0: free record
        std::vector<std::uint32_t> before; // 0: free entry
        std::vector<std::uint32_t> after;
    };

    MessageHook(HookOwner& owner, MessageCapture& capture);
    ~MessageHook();
    MessageHook(const MessageHook&) = delete;
    MessageHook& operator=(const MessageHook&) = delete;

    // Starts catching the window's messages; returns its record index. A window that is already
    // hooked keeps its record.
    int HookWindow(WindowHandle hWnd);
    void AddHookMessage(WindowHandle hWnd, std::uint32_t uMsg, int phases);
    void UnhookWindow(WindowHandle hWnd);
    void UnhookAll();

    bool IsHooked(WindowHandle hWnd) const { return findRecord(hWnd) >= 0; }
    const std::vector<Record>& Records() const { return m_records; }

    // Runs one caught message through the before handler, the previous procedure and the after
    // handler. The window may be unhooked by the handler meanwhile: nothing here keeps a
    // reference into the records across a call out.
    std::intptr_t Dispatch(const WindowMessage& message, const PreviousProc& previous);

private:
    int findRecord(WindowHandle hWnd) const;
    bool wants(WindowHandle hWnd, std::uint32_t uMsg, bool before) const;

    HookOwner& m_owner;
    MessageCapture& m_capture;
    std::vector<Record> m_records;
};
