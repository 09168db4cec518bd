#pragma once

// Errors that the program's controls report to whoever writes one of their properties. The
// numbers are the classic ones the hosting code already knows: a rejected write returns one of
// them and leaves the control as it was.
enum class ControlError : int
{
    None = 0,
    Overflow = 6,
    InvalidPropertyValue = 380,
    IndexOutOfBounds = 514,
};
