// The tray icon: minimising to it and back, the mouse actions and their menus, the icon going
// with the form, the tip, and a notification area that restarts or is missing.
#include "winsvc/SysTray.h"
#include "winsvc/TrayHost.h"

#include <QMenu>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// Records what the tray asks of the notification area, in one log shared with the tray's
// events, and lets a test click the icon.
class FakeTrayHost : public TrayHost
{
public:
    explicit FakeTrayHost(QStringList& log)
        : m_log(log)
    {}
    void addIcon(const QIcon&, const QString& tip) override { m_log << u"add "_s + tip; }
    void changeIcon(const QIcon&) override { m_log << u"icon"_s; }
    void changeTip(const QString& tip) override { m_log << u"tip "_s + tip; }
    void removeIcon() override { m_log << u"remove"_s; }
    void showMenu(QMenu* menu) override { m_log << u"menu "_s + menu->title(); }
    QString hostIdentity() const override { return identity; }
    bool isAvailable() const override { return available; }

    void click(int notification) { Q_EMIT mouseAction(notification); }

    QString identity = u"host-1"_s;
    bool available = true;

private:
    QStringList& m_log;
};

struct Fixture
{
    Fixture()
    {
        auto fake = std::make_unique<FakeTrayHost>(log);
        host = fake.get();
        tray = std::make_unique<SysTray>(std::move(fake));
        const auto record = [this](const QString& name) {
            return [this, name](int button) { log << u"%1 %2"_s.arg(name).arg(button); };
        };
        const auto note = [this](const QString& name) { return [this, name] { log << name; }; };
        QObject::connect(tray.get(), &SysTray::MouseDown, record(u"MouseDown"_s));
        QObject::connect(tray.get(), &SysTray::MouseUp, record(u"MouseUp"_s));
        QObject::connect(tray.get(), &SysTray::Click, record(u"Click"_s));
        QObject::connect(tray.get(), &SysTray::DblClick, record(u"DblClick"_s));
        QObject::connect(tray.get(), &SysTray::MouseMove, note(u"MouseMove"_s));
        QObject::connect(tray.get(), &SysTray::Minimize, note(u"Minimize"_s));
        QObject::connect(tray.get(), &SysTray::Restore, note(u"Restore"_s));
        QObject::connect(tray.get(), &SysTray::Refreshed, note(u"Refreshed"_s));
        form.resize(200, 100);
        form.show();
        menu.setTitle(u"popup"_s);
    }

    QString take() { return std::exchange(log, {}).join(u", "); }

    QStringList log;
    QWidget form;
    QMenu menu;
    FakeTrayHost* host = nullptr;
    std::unique_ptr<SysTray> tray;
};

} // namespace

class tst_SysTray : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void minimiseToTrayAndDoubleClickRestore()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setForm(&f.form);
        tray.setTrayTip(u"skylistener"_s);
        tray.setTrayFormStyle(3);
        QVERIFY(f.log.isEmpty()); // nothing was added, so nothing to remove
        tray.FormMinimize();
        QVERIFY(f.form.isMinimized() && f.form.isHidden() && tray.Visible());
        QCOMPARE(f.take(), u"add skylistener, Minimize"_s);
        f.host->click(515);
        QVERIFY(!f.form.isMinimized() && f.form.isVisible() && !tray.Visible());
        QCOMPARE(f.take(), u"remove, Restore, DblClick 1"_s);

        // The user minimising the window does the same once the state change is over.
        f.form.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(f.form.isHidden());
        QCOMPARE(f.take(), u"add skylistener, Minimize"_s);

        // A double click on the icon of a window that is not minimised restores nothing.
        tray.FormRestore();
        tray.setTrayFormStyle(0);
        tray.setVisible(true);
        f.take();
        f.host->click(515);
        QCOMPARE(f.take(), u"DblClick 1"_s);
    }

    void mouseActionsInTheirOrder()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setForm(&f.form);
        tray.setPopupMenu(&f.menu);
        tray.setPopupStyle(16);
        const std::pair<int, const char*> cases[] = {
            {516, "MouseDown 2, menu popup"}, // PopupStyle 16: on the right button's down
            {517, "MouseUp 2, Click 2"},
            {514, "MouseUp 1, Click 1"},
            {520, "MouseUp 4, Click 4"},
            {518, "DblClick 2"},
            {512, "MouseMove"},
            {600, ""}, // not a mouse action
        };
        for (const auto& [notification, logged] : cases) {
            f.host->click(notification);
            QCOMPARE(f.take(), QLatin1StringView(logged));
        }
    }

    void popupMenuAndForm()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        // Setting the Form empties PopupMenu, unless it is the same form.
        tray.setPopupMenu(&f.menu);
        tray.setForm(&f.form);
        QCOMPARE(tray.PopupMenu(), nullptr);
        tray.setPopupMenu(&f.menu);
        tray.setForm(&f.form);
        QCOMPARE(tray.PopupMenu(), &f.menu);

        // An emptied PopupMenu turns the menus off for good, at the next notification; a menu
        // that is deleted counts as emptied.
        tray.setPopupStyle(16);
        tray.setPopupMenu(nullptr);
        QCOMPARE(tray.PopupStyle(), 16);
        f.host->click(512);
        QCOMPARE(tray.PopupStyle(), 0);
        tray.setPopupMenu(&f.menu);
        f.take();
        f.host->click(516);
        QCOMPARE(f.take(), u"MouseDown 2"_s);
        tray.setPopupStyle(16);
        {
            QMenu gone;
            tray.setPopupMenu(&gone);
        }
        f.host->click(516);
        QCOMPARE(tray.PopupStyle(), 0);
    }

    void iconGoesWithTheFormAndTheTip()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setForm(&f.form);
        const QString longTip(70, u'x');
        tray.setTrayTip(longTip);
        tray.setVisible(true);
        QCOMPARE(f.take(), u"add "_s + QString(63, u'x')); // the first 63 characters
        QCOMPARE(tray.TrayTip(), longTip);
        tray.setTrayTip(QString(62, u'y') + u"\U0001F4FB"_s); // not cut in half
        tray.setIcon(QIcon());
        QCOMPARE(f.take(), u"tip "_s + QString(62, u'y') + u", icon"_s);

        // Bit 2 assigned while the form is visible takes the icon away, and keeps it away.
        tray.setTrayFormStyle(2);
        QVERIFY(!tray.Visible());
        QVERIFY(!tray.setVisible(true));
        QCOMPARE(f.take(), u"remove"_s);
        f.form.hide();
        QVERIFY(tray.setVisible(false));
        QVERIFY(tray.Visible());
    }

    void notificationAreaRestartedOrMissing()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setVisible(true);
        tray.stTimer_Timer();
        f.host->identity = u"host-2"_s;
        tray.stTimer_Timer();
        tray.stTimer_Timer();
        QCOMPARE(f.take(), u"add , remove, add , Refreshed"_s);
        // Back while the icon is hidden: nothing to re-add, but the new host is remembered.
        tray.setVisible(false);
        f.host->identity = u"host-3"_s;
        tray.stTimer_Timer();
        tray.setVisible(true);
        f.take();
        tray.stTimer_Timer();
        QCOMPARE(f.take(), QString());

        // Without a notification area the window is never hidden.
        f.host->available = false;
        tray.setForm(&f.form);
        tray.setTrayFormStyle(3);
        tray.FormMinimize();
        QVERIFY(f.form.isMinimized() && !f.form.isHidden());
    }

    void releasingTheTrayRemovesTheIcon()
    {
        Fixture f;
        f.tray->setForm(&f.form);
        f.tray->setVisible(true);
        f.tray.reset();
        QCOMPARE(f.log.last(), u"remove"_s);
        // The form no longer reports to a tray that is gone.
        f.form.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(!f.form.isHidden());
    }
};

QTEST_MAIN(tst_SysTray)
#include "tst_SysTray.moc"
