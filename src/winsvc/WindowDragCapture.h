#pragma once

#include "winsvc/MessageHook.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

class QSizeGrip;
class QWidget;

// Message capture for platforms without window procedures. The window moves itself while the
// user drags one of its drag handles (the empty part of its toolbar, its status bar) and resizes
// itself from its size grip, and on the way produces the messages a Windows window would get:
// WM_ENTERSIZEMOVE, WM_MOVING or WM_SIZING with a proposed rectangle that a hooked handler may
// rewrite before it is applied, WM_EXITSIZEMOVE, and WM_SYSCOMMAND when it is minimised or
// restored. Without a hook the window is simply moved or resized.
class WindowDragCapture : public QObject, public MessageCapture
{
    Q_OBJECT

public:
    explicit WindowDragCapture(QObject* parent = nullptr);
    ~WindowDragCapture() override;

    void install(WindowHandle hWnd, MessageHook& hook) override;
    void uninstall(WindowHandle hWnd) override;

    // Presses on `handle` itself (not on its buttons) start moving its top-level window.
    void addDragHandle(QWidget* handle);
    // The grip resizes its top-level window from the corner it sits in.
    void addSizeGrip(QSizeGrip* grip);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Drag
    {
        QPointer<QWidget> window;
        bool sizing = false;
        int edge = 0;
        QPoint grab;      // global cursor position at the press
        QRect startFrame; // frame rectangle at the press
    };

    bool handleMouse(QWidget* source, QEvent* event, bool sizing);
    void begin(QWidget* window, QPoint global, bool sizing, int edge);
    void follow(QPoint global);
    void end();
    void watchState(QWidget* window, QEvent* event);
    std::intptr_t send(QWidget* window, std::uint32_t uMsg, std::uintptr_t wParam,
                       std::intptr_t lParam);

    QHash<WindowHandle, MessageHook*> m_hooks;
    QHash<QObject*, bool> m_sources;   // drag handle or size grip -> is a grip
    QHash<QObject*, bool> m_minimized; // watched windows -> last seen minimised
    Drag m_drag;
};
