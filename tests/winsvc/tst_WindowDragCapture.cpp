// Dragging a window by its handle and sizing it by its grip, with the platform's moving and
// sizing messages carried to the hook, which may rewrite the proposed rectangle.
#include "winsvc/MessageHook.h"
#include "winsvc/QtWindowSystem.h"
#include "winsvc/WindowDragCapture.h"

#include <QMouseEvent>
#include <QSizeGrip>
#include <QTest>
#include <QWidget>

#include <functional>
#include <vector>

using namespace WinMsg;

namespace {

// Records the messages and the proposed rectangles; a test may rewrite the rectangle.
struct RecordingOwner : HookOwner
{
    void zSubclass_Proc(bool, bool& bHandled, std::intptr_t& lReturn, WindowHandle&,
                        std::uint32_t& uMsg, std::uintptr_t& wParam, std::intptr_t& lParam) override
    {
        seen.push_back({0, uMsg, wParam, 0});
        if (uMsg != WM_MOVING && uMsg != WM_SIZING)
            return;
        auto* r = reinterpret_cast<WinRect*>(lParam);
        proposed.push_back(*r);
        if (rewrite) {
            rewrite(*r);
            bHandled = true;
            lReturn = 1;
        }
    }
    std::vector<WindowMessage> seen;
    std::vector<WinRect> proposed;
    std::function<void(WinRect&)> rewrite;
};

} // namespace

class tst_WindowDragCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dragByHandleAndGrip()
    {
        QWidget window;
        auto* handle = new QWidget(&window);
        handle->setGeometry(0, 0, 300, 30);
        auto* button = new QWidget(handle);
        button->setGeometry(0, 0, 20, 20);
        button->setAttribute(Qt::WA_NoMousePropagation);
        auto* grip = new QSizeGrip(&window);
        grip->setGeometry(280, 180, 20, 20);
        window.setMinimumSize(150, 120);
        window.setGeometry(200, 150, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The left button at global positions; the window moves between events, so local
        // positions are worked out afresh every time.
        const auto press = [](QWidget* w, QPoint at) {
            QTest::mousePress(w, Qt::LeftButton, {}, w->mapFromGlobal(at));
        };
        const auto move = [](QWidget* w, QPoint to) { QTest::mouseMove(w, w->mapFromGlobal(to)); };
        const auto release = [](QWidget* w, QPoint at) {
            QTest::mouseRelease(w, Qt::LeftButton, {}, w->mapFromGlobal(at));
        };

        RecordingOwner owner;
        WindowDragCapture capture;
        capture.addDragHandle(handle);
        capture.addSizeGrip(grip);
        MessageHook hook(owner, capture);
        const WindowHandle hWnd = QtWindowSystem::handleOf(&window);
        QVERIFY(QtWindowSystem::windowOf(hWnd) == &window);
        hook.HookWindow(hWnd);
        for (const std::uint32_t m : {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE})
            hook.AddHookMessage(hWnd, m, MessageHook::After);
        for (const std::uint32_t m : {WM_MOVING, WM_SIZING})
            hook.AddHookMessage(hWnd, m, MessageHook::Before);

        // Presses on a child control or with the right button do not drag.
        const QRect start = window.frameGeometry();
        const QPoint onButton = button->mapToGlobal(QPoint(5, 5));
        press(button, onButton);
        move(button, onButton + QPoint(30, 30));
        release(button, onButton + QPoint(30, 30));
        QTest::mouseClick(handle, Qt::RightButton, {}, QPoint(100, 10));
        QVERIFY(window.frameGeometry() == start && owner.seen.empty());

        // The handler pulls the window to x = 0 whenever it comes within 20 pixels.
        const QPoint grab = handle->mapToGlobal(QPoint(100, 10)), nearEdge(15 - start.left(), 0);
        press(handle, grab);
        // A move with the button up (released where the handle did not see it) drags nothing.
        QMouseEvent buttonUp(QEvent::MouseMove, QPointF(180, 10), grab + QPointF(80, 0),
                             Qt::NoButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(handle, &buttonUp);
        move(handle, grab + QPoint(50, 30));
        QCOMPARE(window.frameGeometry().topLeft(), start.topLeft() + QPoint(50, 30));
        owner.rewrite = [](WinRect& r) {
            if (r.left < 20)
                r = {0, r.top, r.right - r.left, r.bottom};
        };
        move(handle, grab + nearEdge);
        QCOMPARE(window.frameGeometry().topLeft(), QPoint(0, start.top()));
        release(handle, grab + nearEdge);
        QVERIFY(owner.seen.size() == 5 && owner.seen[0].uMsg == WM_ENTERSIZEMOVE &&
                owner.seen[1].uMsg == WM_MOVING && owner.seen[4].uMsg == WM_EXITSIZEMOVE);
        QCOMPARE(owner.proposed[0], toWinRect(start.translated(50, 30)));
        QCOMPARE(owner.proposed[1].left, 15); // before the rewrite

        // The grip sizes from the bottom-right edge, a rewritten height is applied and the
        // window's minimum size holds whatever is proposed.
        owner.seen.clear();
        owner.rewrite = [](WinRect& r) { r.bottom = r.top + 180; };
        const QRect before = window.frameGeometry();
        const QPoint gripAt = grip->mapToGlobal(grip->rect().center());
        press(grip, gripAt);
        move(grip, gripAt + QPoint(40, 60));
        QVERIFY(owner.seen.at(1).uMsg == WM_SIZING && owner.seen[1].wParam == WMSZ_BOTTOMRIGHT);
        QCOMPARE(owner.proposed[3], toWinRect(before.adjusted(0, 0, 40, 60)));
        QCOMPARE(window.frameGeometry(), QRect(before.topLeft(), QSize(before.width() + 40, 180)));
        owner.rewrite = nullptr;
        move(grip, gripAt - QPoint(500, 500));
        QVERIFY(window.size() == QSize(150, 120) &&
                window.frameGeometry().topLeft() == before.topLeft());
        release(grip, gripAt - QPoint(500, 500));
        QCOMPARE(owner.seen.back().uMsg, WM_EXITSIZEMOVE);
    }
};

QTEST_MAIN(tst_WindowDragCapture)
#include "tst_WindowDragCapture.moc"
