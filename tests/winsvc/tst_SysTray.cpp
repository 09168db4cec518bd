#include "winsvc/SysTray.h"
#include "winsvc/TrayHost.h"
#include "winsvc/frmInternal.h"

#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
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
    void defaults()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        QCOMPARE(tray.PopupStyle(), 2);
        QCOMPARE(tray.RestoreFromTrayOn(), 64);
        QCOMPARE(tray.TrayFormStyle(), 0);
        QVERIFY(!tray.Visible());
        QVERIFY(tray.Persistent());
        QCOMPARE(tray.stTimer()->interval(), 1000);
        QCOMPARE(tray.Form(), &tray.Internal());
        QCOMPARE(tray.Form()->windowTitle(), u"Form1"_s);
        QCOMPARE(tray.PopupMenu(), tray.Internal().mPopup());
        QVERIFY(!tray.Icon().isNull());
        tray.setPersistent(false);
        QVERIFY(!tray.Persistent());
        QVERIFY(f.log.isEmpty());
    }

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
        QVERIFY(f.form.isMinimized());
        QVERIFY(f.form.isHidden());
        QVERIFY(tray.Visible());
        QCOMPARE(f.log, (QStringList{u"add skylistener"_s, u"Minimize"_s}));

        f.log.clear();
        f.host->click(515);
        QVERIFY(!f.form.isMinimized());
        QVERIFY(f.form.isVisible());
        QVERIFY(!tray.Visible());
        QCOMPARE(f.log, (QStringList{u"remove"_s, u"Restore"_s, u"DblClick 1"_s}));

        // The user minimising the window does the same once the state change is over.
        f.log.clear();
        f.form.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(f.form.isHidden());
        QCOMPARE(f.log, (QStringList{u"add skylistener"_s, u"Minimize"_s}));

        // A double click on the icon of a window that is not minimised restores nothing.
        tray.FormRestore();
        f.log.clear();
        tray.setTrayFormStyle(0);
        tray.setVisible(true);
        f.log.clear();
        f.host->click(515);
        QCOMPARE(f.log, (QStringList{u"DblClick 1"_s}));
    }

    void mouseActionsInTheirOrder()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setForm(&f.form);
        tray.setPopupMenu(&f.menu);
        tray.setPopupStyle(16);

        f.host->click(516);
        QCOMPARE(f.log, (QStringList{u"MouseDown 2"_s, u"menu popup"_s}));
        f.log.clear();
        f.host->click(517);
        QCOMPARE(f.log, (QStringList{u"MouseUp 2"_s, u"Click 2"_s}));
        f.log.clear();
        f.host->click(514);
        QCOMPARE(f.log, (QStringList{u"MouseUp 1"_s, u"Click 1"_s}));
        f.log.clear();
        f.host->click(520);
        f.host->click(518);
        f.host->click(512);
        f.host->click(600); // not a mouse action
        QCOMPARE(f.log,
                 (QStringList{u"MouseUp 4"_s, u"Click 4"_s, u"DblClick 2"_s, u"MouseMove"_s}));

        // The left double click is the one action that shows its menu before its event.
        f.log.clear();
        tray.setPopupStyle(64 | 1);
        f.host->click(515);
        f.host->click(514);
        QCOMPARE(f.log, (QStringList{u"menu popup"_s, u"DblClick 1"_s, u"MouseUp 1"_s, u"Click 1"_s,
                                     u"menu popup"_s}));

        // A real mouse move over the window is no icon notification.
        f.log.clear();
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&f.form, &move);
        QVERIFY(f.log.isEmpty());
    }

    void emptiedPopupMenuTurnsMenusOffForGood()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setForm(&f.form);
        tray.setPopupMenu(&f.menu);
        tray.setPopupStyle(16);
        tray.setPopupMenu(nullptr);
        QCOMPARE(tray.PopupStyle(), 16); // only the next notification notices
        f.host->click(512);
        QCOMPARE(tray.PopupStyle(), 0);
        tray.setPopupMenu(&f.menu);
        f.log.clear();
        f.host->click(516);
        QCOMPARE(f.log, (QStringList{u"MouseDown 2"_s}));
        QCOMPARE(tray.PopupStyle(), 0);

        // A menu that is deleted counts as emptied.
        tray.setPopupStyle(16);
        {
            QMenu gone;
            tray.setPopupMenu(&gone);
        }
        QCOMPARE(tray.PopupMenu(), nullptr);
        f.host->click(516);
        QCOMPARE(tray.PopupStyle(), 0);
    }

    void formEmptiesPopupMenu()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setPopupMenu(&f.menu);
        tray.setForm(&f.form);
        QCOMPARE(tray.Form(), &f.form);
        QCOMPARE(tray.PopupMenu(), nullptr);
        tray.setPopupMenu(&f.menu);
        tray.setForm(&f.form); // the same form changes nothing
        QCOMPARE(tray.PopupMenu(), &f.menu);
        tray.setForm(nullptr);
        QCOMPARE(tray.Form(), &tray.Internal());
        QCOMPARE(tray.PopupMenu(), nullptr);
    }

    void visibleWithIconGoingWithForm()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setForm(&f.form);
        tray.setVisible(true);
        QCOMPARE(f.log, QStringList{u"add "_s});
        // Bit 2 assigned while the form is visible takes the icon away.
        tray.setTrayFormStyle(2);
        QVERIFY(!tray.Visible());
        QCOMPARE(f.log.last(), u"remove"_s);

        f.log.clear();
        QVERIFY(!tray.setVisible(true));
        QVERIFY(!tray.Visible());
        QVERIFY(f.log.isEmpty());
        f.form.hide();
        QVERIFY(tray.setVisible(false));
        QVERIFY(tray.Visible());
        QCOMPARE(f.log, QStringList{u"add "_s});
    }

    void iconAndTipFollowWhileShown()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        const QString longTip = QString(70, u'x');
        tray.setTrayTip(longTip);
        tray.setIcon(frmInternal::defaultIcon());
        QVERIFY(f.log.isEmpty());
        tray.setVisible(true);
        QCOMPARE(f.log, QStringList{u"add "_s + QString(63, u'x')});
        QCOMPARE(tray.TrayTip(), longTip);
        f.log.clear();
        tray.setTrayTip(u"[Radio] - skylistener"_s);
        tray.setIcon(QIcon());
        QCOMPARE(f.log, (QStringList{u"tip [Radio] - skylistener"_s, u"icon"_s}));
        // A character outside the basic plane is not cut in half.
        f.log.clear();
        tray.setTrayTip(QString(62, u'y') + u"\U0001F4FB"_s);
        QCOMPARE(f.log, QStringList{u"tip "_s + QString(62, u'y')});
    }

    void notificationAreaRestarted()
    {
        Fixture f;
        SysTray& tray = *f.tray;
        tray.setVisible(true);
        f.log.clear();
        tray.stTimer_Timer();
        QVERIFY(f.log.isEmpty());

        f.host->identity = u"host-2"_s;
        tray.stTimer_Timer();
        QCOMPARE(f.log, (QStringList{u"remove"_s, u"add "_s, u"Refreshed"_s}));
        f.log.clear();
        tray.stTimer_Timer();
        QVERIFY(f.log.isEmpty());

        // Gone for a while: nothing to re-add to, and nothing happens when it is back either
        // while the icon is hidden, but the new host is remembered.
        f.host->identity.clear();
        tray.stTimer_Timer();
        QVERIFY(f.log.isEmpty());
        tray.setVisible(false);
        f.host->identity = u"host-3"_s;
        tray.stTimer_Timer();
        tray.setVisible(true);
        f.log.clear();
        tray.stTimer_Timer();
        QVERIFY(f.log.isEmpty());
    }

    void withoutNotificationAreaTheWindowStaysReachable()
    {
        Fixture f;
        f.host->available = false;
        SysTray& tray = *f.tray;
        tray.setForm(&f.form);
        tray.setTrayFormStyle(3);
        tray.FormMinimize();
        QVERIFY(f.form.isMinimized());
        QVERIFY(!f.form.isHidden());
        tray.FormRestore();
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
