#pragma once

#include <Qt>

#include <optional>

// What the program's controls share about the mouse: the standard pointer codes of their
// MousePointer property, the modifier mask of their mouse events, and the 16-bit range their
// integer properties are stored in.

// The cursor for a standard pointer code (1 to 15); nothing for 0 (the default), 99 (the
// control's own picture) and unknown codes.
std::optional<Qt::CursorShape> StandardCursorShape(int pointer);

// The modifier mask of a mouse event: 1 Shift, 2 Ctrl, 4 Alt.
qint16 ShiftMask(Qt::KeyboardModifiers modifiers);

bool FitsInt16(qint64 value);
