// Dragging a window by its handle and sizing it by its grip, with the platform's moving and
// sizing messages carried to the hook, which may rewrite the proposed rectangle.
#include "winsvc/MessageHook.h"
#include "winsvc/QtWindowSystem.h"
#include "winsvc/WindowDragCapture.h"

#include <QSizeGrip>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <functional>
#include <vector>

using namespace WinMsg;

namespace {

// Records the message, its wParam and the proposed rectangle; a test may rewrite the rectangle.
struct RecordingOwner : HookOwner
{
    void zSubclass_Proc(bool, bool& bHandled, std::intptr_t& lReturn, WindowHandle&,
                        std::uint32_t& uMsg, std::uintptr_t& wParam, std::intptr_t& lParam) override
    {
        auto* r =
            uMsg == WM_MOVING || uMsg == WM_SIZING ? reinterpret_cast<WinRect*>(lParam) : nullptr;
        seen.push_back({uMsg, wParam, r ? *r : WinRect{}});
        if (r && rewrite) {
            rewrite(*r);
            bHandled = true;
            lReturn = 1;
        }
    }
    struct Seen
    {
        std::uint32_t uMsg;
        std::uintptr_t wParam;
        WinRect rect;
    };
    std::vector<Seen> seen;
    std::function<void(WinRect&)> rewrite;
};

// The left button at global positions; the window moves between events, so local positions
// are worked out afresh every time.
void press(QWidget* w, QPoint at)
{
    QTest::mousePress(w, Qt::LeftButton, {}, w->mapFromGlobal(at));
}
void move(QWidget* w, QPoint to)
{
    QTest::mouseMove(w, w->mapFromGlobal(to));
}
void release(QWidget* w, QPoint at)
{
    QTest::mouseRelease(w, Qt::LeftButton, {}, w->mapFromGlobal(at));
}

} // namespace

class tst_WindowDragCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dragByHandleAndGrip()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* handle = new QWidget(&window);
        handle->setFixedHeight(30);
        auto* button = new QWidget(handle);
        button->setGeometry(0, 0, 20, 20);
        button->setAttribute(Qt::WA_NoMousePropagation);
        layout->addWidget(handle);
        layout->addStretch();
        auto* grip = new QSizeGrip(&window);
        layout->addWidget(grip, 0, Qt::AlignRight | Qt::AlignBottom);
        window.setMinimumSize(150, 120);
        window.setGeometry(200, 150, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        RecordingOwner owner;
        WindowDragCapture capture;
        capture.addDragHandle(handle);
        capture.addSizeGrip(grip);
        MessageHook hook(owner, capture);
        const WindowHandle hWnd = QtWindowSystem::handleOf(&window);
        QVERIFY(QtWindowSystem::windowOf(hWnd) == &window);
        hook.HookWindow(hWnd);
        for (const std::uint32_t m : {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE, WM_SYSCOMMAND})
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
        const QPoint grab = handle->mapToGlobal(QPoint(100, 10));
        press(handle, grab);
        move(handle, grab + QPoint(50, 30));
        QCOMPARE(window.frameGeometry().topLeft(), start.topLeft() + QPoint(50, 30));
        owner.rewrite = [](WinRect& r) {
            if (r.left < 20)
                r = {0, r.top, r.right - r.left, r.bottom};
        };
        move(handle, grab + QPoint(15 - start.left(), 0));
        QCOMPARE(window.frameGeometry().topLeft(), QPoint(0, start.top()));
        release(handle, grab + QPoint(15 - start.left(), 0));
        QVERIFY(owner.seen.size() == 5 && owner.seen[0].uMsg == WM_ENTERSIZEMOVE &&
                owner.seen[4].uMsg == WM_EXITSIZEMOVE); // and three moves
        QCOMPARE(owner.seen[1].rect, toWinRect(start.translated(50, 30)));
        QCOMPARE(owner.seen[2].rect.left, 15); // proposed before the rewrite
        owner.seen.clear();

        // The grip sizes from the bottom-right edge, a rewritten height is applied and the
        // window's minimum size holds whatever is proposed.
        owner.rewrite = [](WinRect& r) { r.bottom = r.top + 180; };
        const QRect before = window.frameGeometry();
        const QPoint gripAt = grip->mapToGlobal(grip->rect().center());
        press(grip, gripAt);
        move(grip, gripAt + QPoint(40, 60));
        QVERIFY(owner.seen.at(1).uMsg == WM_SIZING && owner.seen[1].wParam == WMSZ_BOTTOMRIGHT);
        QCOMPARE(owner.seen[1].rect, toWinRect(before.adjusted(0, 0, 40, 60)));
        QCOMPARE(window.frameGeometry(), QRect(before.topLeft(), QSize(before.width() + 40, 180)));
        owner.rewrite = nullptr;
        move(grip, gripAt - QPoint(500, 500));
        QVERIFY(window.size() == QSize(150, 120) &&
                window.frameGeometry().topLeft() == before.topLeft());
        release(grip, gripAt - QPoint(500, 500));
        QCOMPARE(owner.seen.back().uMsg, WM_EXITSIZEMOVE);
        owner.seen.clear();

        // Minimising and restoring reach the hook after the fact.
        window.showMinimized();
        window.showNormal();
        QVERIFY(owner.seen.size() == 2 && owner.seen[0].wParam == SC_MINIMIZE &&
                owner.seen[1].wParam == SC_RESTORE);

        // Unhooked, the window still follows its handle but nobody hears of it.
        hook.UnhookWindow(hWnd);
        owner.seen.clear();
        const QRect unhooked = window.frameGeometry();
        const QPoint again = handle->mapToGlobal(QPoint(100, 5));
        press(handle, again);
        move(handle, again + QPoint(7, 9));
        release(handle, again + QPoint(7, 9));
        QVERIFY(window.frameGeometry().topLeft() == unhooked.topLeft() + QPoint(7, 9));
        QVERIFY(owner.seen.empty());
    }
};

QTEST_MAIN(tst_WindowDragCapture)
#include "tst_WindowDragCapture.moc"
