// The tray icon: minimising to it and back, mouse actions and menus, tip, host restarts.
#include "winsvc/SysTray.h"
#include "winsvc/TrayHost.h"

#include <QMenu>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

QStringList g_log; // what the tray asks of the notification area, and its events

QString take()
{
    return std::exchange(g_log, {}).join(u", ");
}

struct FakeTrayHost : TrayHost
{
    void addIcon(const QIcon&, const QString& tip) override { g_log << u"add "_s + tip; }
    void changeIcon(const QIcon&) override { g_log << u"icon"_s; }
    void changeTip(const QString& tip) override { g_log << u"tip "_s + tip; }
    void removeIcon() override { g_log << u"remove"_s; }
    void showMenu(QMenu* menu) override { g_log << u"menu "_s + menu->title(); }
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
        menu.setTitle(u"popup"_s);
        tray->setForm(&form);
    }
    QWidget form;
    QMenu menu;
    FakeTrayHost* host = new FakeTrayHost;
    std::unique_ptr<SysTray> tray = std::make_unique<SysTray>(std::unique_ptr<TrayHost>(host));
};

} // namespace

class tst_SysTray : public QObject
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
        // Without bit 2 the icon stays when the form comes back; a double click then restores
        // nothing.
        tray.setTrayFormStyle(0);
        tray.FormRestore();
        f.host->click(515);
        QCOMPARE(take(), u"Restore, DblClick 1"_s);
        // Without a notification area the window is never hidden.
        f.host->available = false;
        tray.setTrayFormStyle(3);
        tray.FormMinimize();
        QVERIFY(f.form.isMinimized() && !f.form.isHidden());
    }

    void mouseActionsAndTheirMenus()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        // Setting the Form empties PopupMenu, unless it is the same form.
        tray.setPopupMenu(&f.menu);
        tray.setForm(nullptr);
        QCOMPARE(tray.PopupMenu(), nullptr);
        tray.setPopupMenu(&f.menu);
        tray.setForm(nullptr);
        QCOMPARE(tray.PopupMenu(), &f.menu);
        // The menu comes after the events of a press or release, before those of a double click.
        const int down = 8 | 32, rightUp = 2, leftDouble = 64;
        // clang-format off
        const std::tuple<int, int, const char*> cases[] = {
            {16, 516, "MouseDown 2, menu popup"}, {16, 517, "MouseUp 2, Click 2"},
            {16, 514, "MouseUp 1, Click 1"}, {16, 520, "MouseUp 4, Click 4"}, {16, 518, "DblClick 2"},
            {16, 512, "MouseMove"}, {16, 600, ""}, {rightUp, 517, "MouseUp 2, Click 2, menu popup"},
            {leftDouble, 515, "menu popup, DblClick 1"}, {down, 513, "MouseDown 1, menu popup"},
            {down, 519, "MouseDown 4, menu popup"}};
        // clang-format on
        for (const auto& [style, notification, logged] : cases) {
            tray.setPopupStyle(style);
            f.host->click(notification);
            QCOMPARE(take(), QLatin1StringView(logged));
        }
    }

    void iconTipAndHost()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setTrayTip(QString(70, u'x'));
        tray.setVisible(true);
        QCOMPARE(take(), u"add "_s + QString(63, u'x'));      // the first 63 characters
        tray.setTrayTip(QString(62, u'y') + u"\U0001F4FB"_s); // not cut in half
        tray.setIcon(QIcon());
        QCOMPARE(take(), u"tip "_s + QString(62, u'y') + u", icon"_s);
        // A new host gets the icon again, once; while the icon is hidden, nothing is added.
        tray.stTimer_Timer();
        f.host->identity = u"host-2"_s;
        tray.stTimer_Timer();
        tray.stTimer_Timer();
        QCOMPARE(take(), u"remove, add "_s + QString(62, u'y') + u", Refreshed"_s);
        tray.setVisible(false);
        f.host->identity = u"host-3"_s;
        tray.stTimer_Timer();
        tray.setVisible(true);
        QCOMPARE(take(), u"remove, add "_s + QString(62, u'y'));
        // Bit 2 assigned while the form is visible takes the icon away, and keeps it away.
        tray.setTrayFormStyle(2);
        QVERIFY(!tray.Visible() && !tray.setVisible(true));
        QCOMPARE(take(), u"remove"_s);
        f.form.hide();
        QVERIFY(tray.setVisible(false) && tray.Visible());
        // Released, the tray removes its icon, and the form no longer reports to it.
        f.tray.reset();
        QCOMPARE(take(), u"add "_s + QString(62, u'y') + u", remove"_s);
        f.form.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(!f.form.isHidden());
    }
};

QTEST_MAIN(tst_SysTray)
#include "tst_SysTray.moc"
