#pragma once

#include "winsvc/WindowSystem.h"
#include "winsvc/WindowTypes.h"

#include <span>
#include <vector>

// The decisions of the magnetic window manager as pure functions. Both tables are indexed by
// slot: slot 0 is the desktop work area (its handle is 0), slots 1..count the registered windows.

struct MagneticEntry
{
    WindowHandle hWnd = 0;
    WindowHandle hWndParent = 0; // the window it glues to; 0 = none
    bool glued = false;
};

// True when the rectangles share an edge line and are not apart.
bool RectsTouch(const WinRect& a, const WinRect& b);

// Adjusts the proposed rectangle `p` of the window being sized by `edge` (WMSZ_*); the last
// matching slot wins.
void snapSizeRect(std::span<const MagneticEntry> windows, std::span<const WinRect> rects,
                  WindowHandle sized, int edge, int snapWidth, WinRect& p);

struct MoveSnapInput
{
    std::span<const MagneticEntry> windows;
    std::span<const WinRect> rects; // the start-of-drag snapshot
    WindowHandle moving = 0;
    WinPoint cursor;
    WinPoint startCursor;
    WinPoint dragOffset; // left and top of the moving window minus the start cursor
    int snapWidth = 10;
};

struct MoveSnapResult
{
    WinRect rect;                       // where the moving window goes
    std::vector<WindowPlacement> group; // its glued windows, in slot order
};

// Places the moving window under the cursor, snaps it (and its glued group) to the other
// rectangles and says where the glued windows go.
MoveSnapResult snapMoveRect(const MoveSnapInput& input, const WinRect& proposed);

// Recomputes the glued flags of slots 1..count from fresh rectangles; a parent that is not
// registered stands for slot 0.
void computeGlueing(std::span<MagneticEntry> windows, std::span<const WinRect> rects);
