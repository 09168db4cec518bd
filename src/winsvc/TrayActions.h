#pragma once

#include <QString>

#include <vector>

// The tray icon's rules as pure functions: which steps a mouse notification of the icon takes,
// and how the tip text is cut to what the notification area can hold.

namespace TrayNotify {
// Mouse notifications of the icon, numbered as the platform's mouse messages.
constexpr int MouseMove = 512;
constexpr int LeftDown = 513;
constexpr int LeftUp = 514;
constexpr int LeftDouble = 515;
constexpr int RightDown = 516;
constexpr int RightUp = 517;
constexpr int RightDouble = 518;
constexpr int MiddleDown = 519;
constexpr int MiddleUp = 520;
constexpr int MiddleDouble = 521;
} // namespace TrayNotify

// Mouse-action bits of PopupStyle and RestoreFromTrayOn.
namespace TrayAction {
constexpr int LeftUp = 1;
constexpr int RightUp = 2;
constexpr int MiddleUp = 4;
constexpr int LeftDown = 8;
constexpr int RightDown = 16;
constexpr int MiddleDown = 32;
constexpr int LeftDouble = 64;
constexpr int RightDouble = 128;
constexpr int MiddleDouble = 256;
} // namespace TrayAction

// TrayFormStyle bits.
namespace TrayFormStyleBits {
constexpr int HideWhenMinimized = 1;
constexpr int IconWithMinimizedForm = 2;
} // namespace TrayFormStyleBits

enum class TrayStep
{
    Restore,
    RaiseMouseMove,
    RaiseMouseDown,
    RaiseMouseUp,
    RaiseClick,
    RaiseDblClick,
    ShowMenu,
};

struct TrayPlan
{
    std::vector<TrayStep> steps;
    int button = 0; // 1 left, 2 right, 4 middle; 0 for a move
};

// The steps one notification takes, in order. Restoring needs its bit in RestoreFromTrayOn and
// a minimised form; the menu needs its bit in PopupStyle.
TrayPlan planTrayNotification(int notification, int popupStyle, int restoreFromTrayOn,
                              bool formMinimized);

constexpr int TrayTipLength = 63;

// The tip as the notification area shows it: at most 63 characters, never half a character.
QString trayTipText(const QString& tip);
