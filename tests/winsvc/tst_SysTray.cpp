#include "winsvc/SysTray.h"
#include "winsvc/TrayHost.h"
#include "winsvc/frmInternal.h"

#include <QMenu>
#include <QMouseEvent>
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
        QObject::connect(tray.get(), &SysTray::MouseDown, record(u"MouseDown"_s));
        QObject::connect(tray.get(), &SysTray::MouseUp, record(u"MouseUp"_s));
        QObject::connect(tray.get(), &SysTray::Click, record(u"Click"_s));
        QObject::connect(tray.get(), &SysTray::DblClick, record(u"DblClick"_s));
        QObject::connect(tray.get(), &SysTray::MouseMove, [this] { log << u"MouseMove"_s; });
        QObject::connect(tray.get(), &SysTray::Minimize, [this] { log << u"Minimize"_s; });
        QObject::connect(tray.get(), &SysTray::Restore, [this] { log << u"Restore"_s; });
        QObject::connect(tray.get(), &SysTray::Refreshed, [this] { log << u"Refreshed"_s; });
        form.setObjectName(u"frmMain"_s);
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
        tray.setPopupMenu(&f.menu);
        tray.setPopupStyle(16);
        tray.setTrayTip(u"skylistener"_s);
        tray.setTrayFormStyle(3);
        QVERIFY(f.log.isEmpty()); // nothing was added, so nothing to remove

        tray.FormMinimize();
        QVERIFY(f.form.isMinimized() && f.form.isHidden());
        QVERIFY(tray.Visible());
        QCOMPARE(f.take(), u"add skylistener, Minimize"_s);
        f.host->click(515);
        QVERIFY(!f.form.isMinimized() && f.form.isVisible());
        QVERIFY(!tray.Visible());
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
            {516, "MouseDown 2, menu popup"}, // PopupStyle 16: the right button's down
            {517, "MouseUp 2, Click 2"},
            {514, "MouseUp 1, Click 1"}, // the left button's up before its click
            {520, "MouseUp 4, Click 4"},
            {518, "DblClick 2"},
            {512, "MouseMove"},
            {600, ""}, // not a mouse action
        };
        for (const auto& [notification, logged] : cases) {
            f.host->click(notification);
            QCOMPARE(f.take(), QLatin1StringView(logged));
        }
        // The left double click is the one action that shows its menu before its event.
        tray.setPopupStyle(64 | 1);
        f.host->click(515);
        f.host->click(514);
        QCOMPARE(f.take(), u"menu popup, DblClick 1, MouseUp 1, Click 1, menu popup"_s);

        // A real mouse move over the window is no icon notification.
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&f.form, &move);
        QCOMPARE(f.take(), QString());
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

        // An emptied PopupMenu turns the menus off for good, at the next notification.
        tray.setPopupStyle(16);
        tray.setPopupMenu(nullptr);
        QCOMPARE(tray.PopupStyle(), 16);
        f.host->click(512);
        QCOMPARE(tray.PopupStyle(), 0);
        tray.setPopupMenu(&f.menu);
        f.take();
        f.host->click(516);
        QCOMPARE(f.take(), u"MouseDown 2"_s);

        // A menu that is deleted counts as emptied.
        tray.setPopupStyle(16);
        {
            QMenu gone;
            tray.setPopupMenu(&gone);
        }
        QCOMPARE(tray.PopupMenu(), nullptr);
        f.host->click(516);
        QCOMPARE(tray.PopupStyle(), 0);

        tray.setForm(nullptr);
        QCOMPARE(tray.Form(), &tray.Internal());
    }

    void visibleWithBitTwo()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setForm(&f.form);
        tray.setVisible(true);
        // Bit 2 assigned while the form is visible takes the icon away, and keeps it away.
        tray.setTrayFormStyle(2);
        QVERIFY(!tray.Visible());
        QCOMPARE(f.take(), u"add , remove"_s);
        QVERIFY(!tray.setVisible(true));
        QVERIFY(!tray.Visible());
        QCOMPARE(f.take(), QString());
        f.form.hide();
        QVERIFY(tray.setVisible(false));
        QVERIFY(tray.Visible());
        QCOMPARE(f.take(), u"add "_s);
    }

    void iconAndTipFollowWhileShown()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        const QString longTip(70, u'x');
        tray.setTrayTip(longTip);
        tray.setIcon(frmInternal::defaultIcon());
        QCOMPARE(f.take(), QString());
        tray.setVisible(true);
        QCOMPARE(f.take(), u"add "_s + QString(63, u'x')); // the first 63 characters
        QCOMPARE(tray.TrayTip(), longTip);
        tray.setTrayTip(u"[Radio] - skylistener"_s);
        tray.setIcon(QIcon());
        QCOMPARE(f.take(), u"tip [Radio] - skylistener, icon"_s);
        // A character outside the basic plane is not cut in half.
        tray.setTrayTip(QString(62, u'y') + u"\U0001F4FB"_s);
        QCOMPARE(f.take(), u"tip "_s + QString(62, u'y'));
    }

    void notificationAreaRestarted()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setVisible(true);
        f.take();
        tray.stTimer_Timer();
        QCOMPARE(f.take(), QString());
        f.host->identity = u"host-2"_s;
        tray.stTimer_Timer();
        tray.stTimer_Timer();
        QCOMPARE(f.take(), u"remove, add , Refreshed"_s);

        // Gone for a while, then back while the icon is hidden: nothing to re-add, but the new
        // host is remembered.
        f.host->identity.clear();
        tray.stTimer_Timer();
        tray.setVisible(false);
        f.host->identity = u"host-3"_s;
        tray.stTimer_Timer();
        tray.setVisible(true);
        f.take();
        tray.stTimer_Timer();
        QCOMPARE(f.take(), QString());
    }

    void withoutNotificationAreaTheWindowIsNeverHidden()
    {
        Fixture f;
        f.host->available = false;
        f.tray->setForm(&f.form);
        f.tray->setTrayFormStyle(3);
        f.tray->FormMinimize();
        QVERIFY(f.form.isMinimized() && !f.form.isHidden());
        f.tray->FormRestore();
        QVERIFY(!f.form.isMinimized());
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
