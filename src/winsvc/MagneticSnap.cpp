#include "winsvc/MagneticSnap.h"

#include <algorithm>
#include <cstdlib>

namespace {

using namespace WinMsg;

bool near(std::int32_t a, std::int32_t b, int d)
{
    return std::abs(static_cast<long long>(a) - b) < d;
}

std::size_t indexOf(std::span<const MagneticEntry> windows, WindowHandle hWnd)
{
    for (std::size_t i = 1; i < windows.size(); ++i) {
        if (windows[i].hWnd == hWnd)
            return i;
    }
    return 0;
}

// Puts a dragged edge, proposed at `from`, onto the near or far side of another rectangle when it
// lies within `d` of it, the near side first.
void snapEdge(std::int32_t& edge, std::int32_t from, std::int32_t nearSide, std::int32_t farSide,
              int d)
{
    if (near(from, nearSide, d))
        edge = nearSide;
    else if (near(from, farSide, d))
        edge = farSide;
}

bool edgeIn(int edge, std::initializer_list<int> edges)
{
    return std::find(edges.begin(), edges.end(), edge) != edges.end();
}

// The offset that puts an edge of the span lo..hi onto an edge of cLo..cHi within `d` of it; the
// first pair found counts, the low edges first.
void snapOffset(std::int32_t lo, std::int32_t hi, std::int32_t cLo, std::int32_t cHi, int d,
                int& delta)
{
    for (const std::int32_t from : {lo, hi}) {
        for (const std::int32_t to : {cLo, cHi}) {
            if (near(from, to, d)) {
                delta = to - from;
                return;
            }
        }
    }
}

// Horizontal and vertical snap offsets of `r` against one candidate `c`; each match overwrites.
void snapAgainst(const WinRect& r, const WinRect& c, int d, int& dx, int& dy)
{
    if (r.top < c.bottom + d && r.bottom > c.top - d)
        snapOffset(r.left, r.right, c.left, c.right, d, dx);
    if (r.left < c.right + d && r.right > c.left - d)
        snapOffset(r.top, r.bottom, c.top, c.bottom, d, dy);
}

WinRect offset(WinRect r, int dx, int dy)
{
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
    return r;
}

} // namespace

bool RectsTouch(const WinRect& a, const WinRect& b)
{
    const WinRect u{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom)};
    if (u.width() > a.width() + b.width() || u.height() > a.height() + b.height())
        return false;
    return a.left == b.left || a.left == b.right || a.right == b.left || a.right == b.right ||
           a.top == b.top || a.top == b.bottom || a.bottom == b.top || a.bottom == b.bottom;
}

void snapSizeRect(std::span<const MagneticEntry> windows, std::span<const WinRect> rects,
                  WindowHandle sized, int edge, int snapWidth, WinRect& p)
{
    const WinRect s = p;
    const int d = snapWidth;
    const std::size_t slots = std::min(windows.size(), rects.size());
    for (std::size_t i = 0; i < slots; ++i) {
        if (i != 0 && windows[i].hWnd == sized)
            continue;
        const WinRect& c = rects[i];
        if (p.top < c.bottom + d && p.bottom > c.top - d) {
            if (edgeIn(edge, {WMSZ_LEFT, WMSZ_TOPLEFT, WMSZ_BOTTOMLEFT}))
                snapEdge(p.left, s.left, c.left, c.right, d);
            if (edgeIn(edge, {WMSZ_RIGHT, WMSZ_TOPRIGHT, WMSZ_BOTTOMRIGHT}))
                snapEdge(p.right, s.right, c.left, c.right, d);
        }
        if (p.left < c.right + d && p.right > c.left - d) {
            if (edgeIn(edge, {WMSZ_TOP, WMSZ_TOPLEFT, WMSZ_TOPRIGHT}))
                snapEdge(p.top, s.top, c.top, c.bottom, d);
            if (edgeIn(edge, {WMSZ_BOTTOM, WMSZ_BOTTOMLEFT, WMSZ_BOTTOMRIGHT}))
                snapEdge(p.bottom, s.bottom, c.top, c.bottom, d);
        }
    }
}

MoveSnapResult snapMoveRect(const MoveSnapInput& in, const WinRect& proposed)
{
    const std::span<const MagneticEntry> windows = in.windows;
    const std::span<const WinRect> rects = in.rects;
    const std::size_t slots = std::min(windows.size(), rects.size());
    const WindowHandle h = in.moving;
    const int d = in.snapWidth;

    // Follow the cursor exactly, so that earlier snaps never accumulate.
    WinRect r = offset(proposed, in.cursor.x + in.dragOffset.x - proposed.left,
                       in.cursor.y + in.dragOffset.y - proposed.top);
    int dx = 0;
    int dy = 0;

    auto gluedTo = [&](std::size_t i) {
        return i != 0 && windows[i].glued && windows[i].hWndParent == h;
    };

    for (std::size_t i = 0; i < slots; ++i) {
        if ((i != 0 && windows[i].hWnd == h) || gluedTo(i))
            continue;
        snapAgainst(r, rects[i], d, dx, dy);
    }
    for (std::size_t g = 1; g < slots; ++g) {
        if (!gluedTo(g))
            continue;
        const WinRect gr =
            offset(rects[g], in.cursor.x - in.startCursor.x, in.cursor.y - in.startCursor.y);
        for (std::size_t j = 0; j < slots; ++j) {
            if (j == g || (j != 0 && (windows[j].glued || windows[j].hWnd == h)))
                continue;
            snapAgainst(gr, rects[j], d, dx, dy);
        }
    }

    MoveSnapResult result;
    result.rect = offset(r, dx, dy);
    const WinRect& anchor = rects[indexOf(windows.first(slots), h)];
    for (std::size_t g = 1; g < slots; ++g) {
        if (!gluedTo(g))
            continue;
        result.group.push_back({windows[g].hWnd,
                                {result.rect.left + rects[g].left - anchor.left,
                                 result.rect.top + rects[g].top - anchor.top}});
    }
    return result;
}

void computeGlueing(std::span<MagneticEntry> windows, std::span<const WinRect> rects)
{
    const std::size_t slots = std::min(windows.size(), rects.size());
    for (std::size_t i = 1; i < slots; ++i)
        windows[i].glued = false;
    const std::span<const MagneticEntry> view(windows.data(), slots);
    for (std::size_t i = 1; i < slots; ++i) {
        if (windows[i].hWndParent != 0)
            windows[i].glued = RectsTouch(rects[indexOf(view, windows[i].hWndParent)], rects[i]);
    }
    for (std::size_t pass = 1; pass < slots; ++pass) {
        for (std::size_t i = 1; i < slots; ++i) {
            if (!windows[i].glued)
                continue;
            for (std::size_t j = 1; j < slots; ++j) {
                if (j != i && !windows[j].glued && windows[j].hWndParent == windows[i].hWndParent)
                    windows[j].glued = RectsTouch(rects[i], rects[j]);
            }
        }
    }
}
