#include "winsvc/MessageHook.h"

#include <algorithm>

namespace {

// Puts the message into the first free entry unless it is already listed; grows the table
// when neither is found.
void addToTable(std::vector<std::uint32_t>& table, std::uint32_t uMsg)
{
    for (std::uint32_t& entry : table) {
        if (entry == 0) {
            entry = uMsg;
            return;
        }
        if (entry == uMsg)
            return;
    }
    table.push_back(uMsg);
}

} // namespace

MessageHook::MessageHook(HookOwner& owner, MessageCapture& capture)
    : m_owner(owner)
    , m_capture(capture)
{}

MessageHook::~MessageHook()
{
    UnhookAll();
}

int MessageHook::findRecord(WindowHandle hWnd) const
{
    if (hWnd == 0)
        return -1;
    for (int i = static_cast<int>(m_records.size()) - 1; i >= 0; --i) {
        if (m_records[static_cast<std::size_t>(i)].hWnd == hWnd)
            return i;
    }
    return -1;
}

int MessageHook::HookWindow(WindowHandle hWnd)
{
    if (hWnd == 0)
        return -1;
    if (const int existing = findRecord(hWnd); existing >= 0)
        return existing;

    int index = -1;
    for (int i = static_cast<int>(m_records.size()) - 1; i >= 0; --i) {
        if (m_records[static_cast<std::size_t>(i)].hWnd == 0) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        m_records.emplace_back();
        index = static_cast<int>(m_records.size()) - 1;
    }
    Record& record = m_records[static_cast<std::size_t>(index)];
    record = Record{};
    record.hWnd = hWnd;
    m_capture.install(hWnd, *this);
    return index;
}

void MessageHook::AddHookMessage(WindowHandle hWnd, std::uint32_t uMsg, int phases)
{
    const int index = findRecord(hWnd);
    if (index < 0 || uMsg == 0)
        return;
    Record& record = m_records[static_cast<std::size_t>(index)];
    if (phases & Before)
        addToTable(record.before, uMsg);
    if (phases & After)
        addToTable(record.after, uMsg);
}

void MessageHook::UnhookWindow(WindowHandle hWnd)
{
    const int index = findRecord(hWnd);
    if (index < 0)
        return;
    m_records[static_cast<std::size_t>(index)] = Record{};
    m_capture.uninstall(hWnd);
}

void MessageHook::UnhookAll()
{
    for (int i = static_cast<int>(m_records.size()) - 1; i >= 0; --i) {
        const WindowHandle hWnd = m_records[static_cast<std::size_t>(i)].hWnd;
        if (hWnd != 0)
            UnhookWindow(hWnd);
    }
}

bool MessageHook::wants(WindowHandle hWnd, std::uint32_t uMsg, bool before) const
{
    const int index = findRecord(hWnd);
    if (index < 0)
        return false;
    const Record& record = m_records[static_cast<std::size_t>(index)];
    const std::vector<std::uint32_t>& table = before ? record.before : record.after;
    return std::find(table.begin(), table.end(), uMsg) != table.end();
}

std::intptr_t MessageHook::Dispatch(const WindowMessage& message, const PreviousProc& previous)
{
    WindowMessage current = message;
    bool handled = false;
    std::intptr_t result = 0;

    if (current.uMsg != 0 && wants(message.hWnd, current.uMsg, true)) {
        m_owner.zSubclass_Proc(true, handled, result, current.hWnd, current.uMsg, current.wParam,
                               current.lParam);
    }
    if (!handled && previous)
        result = previous(current);
    // Looked up again: the before handler may have unhooked the window.
    if (current.uMsg != 0 && wants(message.hWnd, current.uMsg, false)) {
        m_owner.zSubclass_Proc(false, handled, result, current.hWnd, current.uMsg, current.wParam,
                               current.lParam);
    }
    return result;
}
