#include "app/WindowOnTop.h"

#include <QWidget>
#include <QWindow>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

void SetWindowOnTop(QWidget* window, bool onTop)
{
#ifdef Q_OS_WIN
    // Only the z-order changes: SWP_NOSIZE | SWP_NOMOVE.
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
#else
    // Changing the widget's flags would re-create a visible window; the native window's flags
    // change in place (the window manager's "above" state).
    if (QWindow* handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
    else
        window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
#endif
}
