#include "winsvc/TrayHost.h"

#include "winsvc/TrayActions.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

#ifdef SKYLISTENER_HAS_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#endif

using namespace Qt::StringLiterals;

QtTrayHost::QtTrayHost(QObject* parent)
    : TrayHost(parent)
    , m_icon(new QSystemTrayIcon(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                case QSystemTrayIcon::Trigger:
                    Q_EMIT mouseAction(TrayNotify::LeftDown);
                    Q_EMIT mouseAction(TrayNotify::LeftUp);
                    break;
                case QSystemTrayIcon::DoubleClick:
                    Q_EMIT mouseAction(TrayNotify::LeftDouble);
                    break;
                case QSystemTrayIcon::MiddleClick:
                    Q_EMIT mouseAction(TrayNotify::MiddleDown);
                    Q_EMIT mouseAction(TrayNotify::MiddleUp);
                    break;
                case QSystemTrayIcon::Context:
                    Q_EMIT mouseAction(TrayNotify::RightDown);
                    Q_EMIT mouseAction(TrayNotify::RightUp);
                    break;
                case QSystemTrayIcon::Unknown:
                    break;
                }
            });
}

QtTrayHost::~QtTrayHost() = default;

void QtTrayHost::addIcon(const QIcon& icon, const QString& tip)
{
    m_icon->setIcon(icon);
    m_icon->setToolTip(tip);
    m_icon->show();
}

void QtTrayHost::changeIcon(const QIcon& icon)
{
    m_icon->setIcon(icon);
}

void QtTrayHost::changeTip(const QString& tip)
{
    m_icon->setToolTip(tip);
}

void QtTrayHost::removeIcon()
{
    m_icon->hide();
}

void QtTrayHost::showMenu(QMenu* menu)
{
    if (menu)
        menu->popup(QCursor::pos());
}

QString QtTrayHost::hostIdentity() const
{
#ifdef SKYLISTENER_HAS_DBUS
    // A status-notifier watcher gets a new unique bus name whenever it is restarted.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()) {
        const QDBusReply<QString> owner =
            bus.interface()->serviceOwner(u"org.kde.StatusNotifierWatcher"_s);
        if (owner.isValid() && !owner.value().isEmpty())
            return owner.value();
    }
#endif
    return QSystemTrayIcon::isSystemTrayAvailable() ? u"system-tray"_s : QString();
}

bool QtTrayHost::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}
