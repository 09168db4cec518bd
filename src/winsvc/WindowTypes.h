#pragma once

#include <cstdint>

// Portable window vocabulary shared by the message hook, the magnetic window manager and the
// platform adapters. The numbers are the platform's own, so that on Windows a message passes
// through unchanged and elsewhere our own capture can produce the very same messages.

// A top-level window: its HWND on Windows, its native window id elsewhere; 0 means none.
using WindowHandle = std::uintptr_t;

// Screen rectangle in pixels, right and bottom exclusive. Same layout as the platform's RECT,
// so a message's lParam may point at either.
struct WinRect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    constexpr std::int32_t width() const { return right - left; }
    constexpr std::int32_t height() const { return bottom - top; }
    constexpr bool operator==(const WinRect&) const = default;
};

struct WinPoint
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    constexpr bool operator==(const WinPoint&) const = default;
};

// One window message as received. For WM_MOVING and WM_SIZING, lParam holds the address of the
// proposed WinRect, which a handler may rewrite before the window takes it.
struct WindowMessage
{
    WindowHandle hWnd = 0;
    std::uint32_t uMsg = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

namespace WinMsg {
constexpr std::uint32_t WM_COMMAND = 0x0111;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_SIZING = 0x0214;
constexpr std::uint32_t WM_MOVING = 0x0216;
constexpr std::uint32_t WM_ENTERSIZEMOVE = 0x0231;
constexpr std::uint32_t WM_EXITSIZEMOVE = 0x0232;

constexpr std::uintptr_t SC_MINIMIZE = 0xF020;
constexpr std::uintptr_t SC_RESTORE = 0xF120;

// Sizing edges carried in wParam of WM_SIZING.
constexpr int WMSZ_LEFT = 1;
constexpr int WMSZ_RIGHT = 2;
constexpr int WMSZ_TOP = 3;
constexpr int WMSZ_TOPLEFT = 4;
constexpr int WMSZ_TOPRIGHT = 5;
constexpr int WMSZ_BOTTOM = 6;
constexpr int WMSZ_BOTTOMLEFT = 7;
constexpr int WMSZ_BOTTOMRIGHT = 8;
} // namespace WinMsg

// The rectangle a WM_MOVING or WM_SIZING message proposes.
inline WinRect* messageRect(const WindowMessage& message)
{
    return reinterpret_cast<WinRect*>(message.lParam);
}
