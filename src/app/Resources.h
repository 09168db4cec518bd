#pragma once

// Registers the pictures and the default station list compiled into the program. The resources
// live in a static library, whose unreferenced parts the linker would otherwise drop. Safe to
// call more than once.
void InitResources();
