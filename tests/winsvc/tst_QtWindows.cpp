// The window services on Qt widgets: the tray icon, and dragging a window by its handle or grip
// with the moving and sizing messages carried to a hook that may rewrite the proposed rectangle.
#include "support/ShownText.h"
#include "winsvc/MessageHook.h"
#include "winsvc/QtWindowSystem.h"
#include "winsvc/SysTray.h"
#include "winsvc/TrayHost.h"
#include "winsvc/WindowDragCapture.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <vector>

using namespace Qt::StringLiterals;
using namespace WinMsg;

namespace {

QStringList g_log; // what the tray asks of the notification area, and its events

const auto take = [] { return std::exchange(g_log, {}).join(u", "); };

struct FakeTrayHost : TrayHost
{
    void addIcon(const QIcon&, const QString& tip) override { g_log << u"add "_s + tip; }
    void changeIcon(const QIcon&) override { g_log << u"icon"_s; }
    void changeTip(const QString& tip) override { g_log << u"tip "_s + tip; }
    void removeIcon() override { g_log << u"remove"_s; }
    void showMenu(QMenu*) override { g_log << u"menu"_s; }
    QString hostIdentity() const override { return identity; }
    bool isAvailable() const override { return available; }
    void click(int notification) { Q_EMIT mouseAction(notification); }
    QString identity = u"host-1"_s;
    bool available = true;
};

// A tray on the fake notification area for a shown form, with its events noted.
struct Fixture
{
    Fixture()
    {
        g_log.clear();
        for (const auto& [signal, name] : {std::pair{&SysTray::MouseDown, "MouseDown"},
                                           {&SysTray::MouseUp, "MouseUp"},
                                           {&SysTray::Click, "Click"},
                                           {&SysTray::DblClick, "DblClick"}})
            QObject::connect(tray.get(), signal, [name](int button) {
                g_log << u"%1 %2"_s.arg(QLatin1StringView(name)).arg(button);
            });
        for (const auto& [signal, name] : {std::pair{&SysTray::MouseMove, "MouseMove"},
                                           {&SysTray::Minimize, "Minimize"},
                                           {&SysTray::Restore, "Restore"},
                                           {&SysTray::Refreshed, "Refreshed"}})
            QObject::connect(tray.get(), signal, [name] { g_log << QString::fromLatin1(name); });
        form.show();
        tray->setForm(&form);
    }
    QWidget form;
    QMenu menu;
    FakeTrayHost* host = new FakeTrayHost;
    std::unique_ptr<SysTray> tray = std::make_unique<SysTray>(std::unique_ptr<TrayHost>(host));
};

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

class tst_QtWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void minimiseToTrayAndBack()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setTrayTip(u"skylistener"_s);
        tray.setTrayFormStyle(3);
        tray.FormMinimize();
        QVERIFY(f.form.isMinimized() && f.form.isHidden() && tray.Visible());
        QCOMPARE(take(), u"add skylistener, Minimize"_s); // nothing was there to remove
        // The notification area's activation counts as a double click and brings the form back.
        f.host->click(515);
        QVERIFY(!f.form.isMinimized() && f.form.isVisible() && !tray.Visible());
        QCOMPARE(take(), u"remove, Restore, DblClick 1"_s);
        // The user minimising the window does the same once the state change is over.
        f.form.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(f.form.isHidden());
        QCOMPARE(take(), u"add skylistener, Minimize"_s);
        // Without a notification area the window is never hidden.
        f.host->available = false;
        tray.FormRestore();
        tray.FormMinimize();
        QVERIFY(f.form.isMinimized() && !f.form.isHidden());
    }

    void menusTipAndHost()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setPopupMenu(&f.menu);
        // The menu comes after the events of a press or release, before those of a double click.
        const int down = 8 | 32, rightUp = 2, leftDouble = 64;
        // clang-format off
        const std::tuple<int, int, const char*> cases[] = {
            {16, 516, "MouseDown 2, menu"}, {16, 517, "MouseUp 2, Click 2"},
            {16, 514, "MouseUp 1, Click 1"}, {16, 520, "MouseUp 4, Click 4"}, {16, 518, "DblClick 2"},
            {16, 512, "MouseMove"}, {16, 600, ""}, {rightUp, 517, "MouseUp 2, Click 2, menu"},
            {leftDouble, 515, "menu, DblClick 1"}, {down, 513, "MouseDown 1, menu"},
            {down, 519, "MouseDown 4, menu"}};
        // clang-format on
        for (const auto& [style, notification, logged] : cases) {
            tray.setPopupStyle(style);
            f.host->click(notification);
            QCOMPARE(take(), QLatin1StringView(logged));
        }
        tray.setTrayTip(QString(70, u'x'));
        tray.setVisible(true);
        QCOMPARE(take(), u"add "_s + QString(63, u'x'));      // the first 63 characters
        tray.setTrayTip(QString(62, u'y') + u"\U0001F4FB"_s); // not cut in half
        tray.setIcon(QIcon());
        QCOMPARE(take(), u"tip "_s + QString(62, u'y') + u", icon"_s);
        // A new host gets the icon again, once.
        f.host->identity = u"host-2"_s;
        tray.stTimer_Timer();
        tray.stTimer_Timer();
        QCOMPARE(take(), u"remove, add "_s + QString(62, u'y') + u", Refreshed"_s);
        f.tray.reset(); // released, the tray removes its icon
        QCOMPARE(take(), u"remove"_s);

        // A tip reads as it stands in the tool tip of an XEmbed icon, which guesses whether it is
        // markup (in a StatusNotifier host, which reads markup: tst_frmFindStations).
        for (const QString& tip : {u"[<b>Rádio</b> <img src=\"/dev/zero\">] - skylistener"_s,
                                   u"[Rock & Roll] - skylistener"_s})
            QCOMPARE(ShownText(TrayTipMarkup(tip, false)), tip);
    }

    void dragByHandleAndGrip()
    {
        QWidget window;
        auto* handle = new QWidget(&window);
        handle->setGeometry(0, 0, 300, 30);
        auto* grip = new QSizeGrip(&window);
        grip->setGeometry(280, 180, 20, 20);
        window.setMinimumSize(150, 120);
        window.setGeometry(200, 150, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The left button at global positions: the window moves between events.
        const auto mouse = [](QTest::MouseAction action, QWidget* w, QPoint at) {
            QTest::mouseEvent(action, w, Qt::LeftButton, {}, w->mapFromGlobal(at));
        };

        RecordingOwner owner;
        WindowDragCapture capture;
        capture.addDragHandle(handle);
        capture.addSizeGrip(grip);
        MessageHook hook(owner, capture);
        const WindowHandle hWnd = QtWindowSystem::handleOf(&window);
        hook.HookWindow(hWnd);
        for (const std::uint32_t m : {WM_ENTERSIZEMOVE, WM_MOVING, WM_SIZING, WM_EXITSIZEMOVE})
            hook.AddHookMessage(hWnd, m, MessageHook::Before);

        // The right button does not drag.
        const QRect start = window.frameGeometry();
        QTest::mouseClick(handle, Qt::RightButton, {}, QPoint(100, 10));
        QVERIFY(window.frameGeometry() == start && owner.seen.empty());

        // The handler pulls the window to x = 0 whenever it comes within 20 pixels.
        const QPoint grab = handle->mapToGlobal(QPoint(100, 10)), nearEdge(15 - start.left(), 0);
        mouse(QTest::MousePress, handle, grab);
        mouse(QTest::MouseMove, handle, grab + QPoint(50, 30));
        QCOMPARE(window.frameGeometry().topLeft(), start.topLeft() + QPoint(50, 30));
        owner.rewrite = [](WinRect& r) {
            if (r.left < 20)
                r = {0, r.top, r.right - r.left, r.bottom};
        };
        mouse(QTest::MouseMove, handle, grab + nearEdge);
        QCOMPARE(window.frameGeometry().topLeft(), QPoint(0, start.top()));
        mouse(QTest::MouseRelease, handle, grab + nearEdge);
        QVERIFY(owner.seen.size() == 5 && owner.seen[0].uMsg == WM_ENTERSIZEMOVE &&
                owner.seen[1].uMsg == WM_MOVING && owner.seen[4].uMsg == WM_EXITSIZEMOVE);
        QCOMPARE(owner.proposed[0], toWinRect(start.translated(50, 30)));
        QCOMPARE(owner.proposed[1].left, 15); // before the rewrite

        // The grip sizes from its corner; a rewritten height holds, and so does the minimum size.
        owner.seen.clear();
        owner.rewrite = [](WinRect& r) { r.bottom = r.top + 180; };
        const QRect before = window.frameGeometry();
        const QPoint gripAt = grip->mapToGlobal(grip->rect().center());
        mouse(QTest::MousePress, grip, gripAt);
        mouse(QTest::MouseMove, grip, gripAt + QPoint(40, 60));
        QVERIFY(owner.seen.at(1).uMsg == WM_SIZING && owner.seen[1].wParam == WMSZ_BOTTOMRIGHT);
        QCOMPARE(owner.proposed[3], toWinRect(before.adjusted(0, 0, 40, 60)));
        QCOMPARE(window.frameGeometry(), QRect(before.topLeft(), QSize(before.width() + 40, 180)));
        owner.rewrite = nullptr;
        mouse(QTest::MouseMove, grip, gripAt - QPoint(500, 500));
        QVERIFY(window.size() == QSize(150, 120) &&
                window.frameGeometry().topLeft() == before.topLeft());
        mouse(QTest::MouseRelease, grip, gripAt - QPoint(500, 500));
        QCOMPARE(owner.seen.back().uMsg, WM_EXITSIZEMOVE);
    }
};

QTEST_MAIN(tst_QtWindows)
#include "tst_QtWindows.moc"
