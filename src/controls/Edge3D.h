#pragma once

#include <QRect>

class QPainter;

// The platform's 3D edges as the controls draw them: an outer and an inner bevel ring, each
// raised (light above and left, dark below and right) or sunken (the reverse), in the system
// highlight and shadow colours. The kinds combine as flags, like the classic edge codes that
// stored properties use.
namespace Edge3D {

inline constexpr int RaisedOuter = 0x1;
inline constexpr int SunkenOuter = 0x2;
inline constexpr int RaisedInner = 0x4;
inline constexpr int SunkenInner = 0x8;
inline constexpr int Raised = RaisedOuter | RaisedInner; // 5
inline constexpr int Sunken = SunkenOuter | SunkenInner; // 10
inline constexpr int Etched = SunkenOuter | RaisedInner; // 6
inline constexpr int Bump = RaisedOuter | SunkenInner;   // 9

// Draws the edge `kind` around all four sides of `rect`. A kind with only one ring draws it on
// the rectangle's outermost pixels; kind 0 draws nothing.
void drawEdge(QPainter& painter, const QRect& rect, int kind);

} // namespace Edge3D
