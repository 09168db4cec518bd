#pragma once

class QWidget;

// Keeps a top-level window above all others, or lets it go back among them, without moving or
// resizing it.
void SetWindowOnTop(QWidget* window, bool onTop);
