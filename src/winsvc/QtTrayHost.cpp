#include "winsvc/TrayHost.h"

#include "winsvc/TrayActions.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTextDocument>

#ifdef SKYLISTENER_HAS_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#endif

using namespace Qt::StringLiterals;

namespace {

#ifdef SKYLISTENER_HAS_DBUS
const QString Watcher = u"org.kde.StatusNotifierWatcher"_s;
#endif

// Whether Qt shows the icon through a StatusNotifier host (KDE Plasma, GNOME's AppIndicator
// extension, most panels) rather than as an XEmbed icon: Qt decides this once, when the first
// icon is created, by the same test.
bool statusNotifierHostRuns()
{
#ifdef SKYLISTENER_HAS_DBUS
    if (QGuiApplication::platformName() != u"xcb"_s)
        return true;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(Watcher).value())
        return false;
    QDBusInterface watcherObject(Watcher, u"/StatusNotifierWatcher"_s, Watcher, bus);
    return watcherObject.property("IsStatusNotifierHostRegistered").toBool();
#else
    return false;
#endif
}

} // namespace

QString TrayTipMarkup(const QString& tip, bool statusNotifier)
{
    return statusNotifier ? tip.toHtmlEscaped() : Qt::convertFromPlainText(tip);
}

QtTrayHost::QtTrayHost(QObject* parent)
    : TrayHost(parent)
    , m_icon(new QSystemTrayIcon(this))
    , m_statusNotifier(statusNotifierHostRuns())
{
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                case QSystemTrayIcon::Trigger:
                    Q_EMIT mouseAction(TrayNotify::LeftDown);
                    Q_EMIT mouseAction(TrayNotify::LeftUp);
                    // A StatusNotifier host reports no double click, only its activation
                    // (usually a single left click): that counts as the double click, or the
                    // icon could never restore the window.
                    if (m_statusNotifier)
                        Q_EMIT mouseAction(TrayNotify::LeftDouble);
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
#ifdef SKYLISTENER_HAS_DBUS
    // A status-notifier watcher gets a new unique bus name whenever it is restarted. Asked once
    // here and then told by the bus, rather than asked on every look (a blocking round trip to
    // the bus once a second for as long as the program runs).
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()) {
        auto* watch =
            new QDBusServiceWatcher(Watcher, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(watch, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& owner) {
                    m_watcherOwner = owner;
                });
        const QDBusReply<QString> owner = bus.interface()->serviceOwner(Watcher);
        if (owner.isValid())
            m_watcherOwner = owner.value();
    }
#endif
}

QtTrayHost::~QtTrayHost() = default;

void QtTrayHost::addIcon(const QIcon& icon, const QString& tip)
{
    m_icon->setIcon(icon);
    m_icon->setToolTip(TrayTipMarkup(tip, m_statusNotifier));
    m_icon->show();
}

void QtTrayHost::changeIcon(const QIcon& icon)
{
    m_icon->setIcon(icon);
}

void QtTrayHost::changeTip(const QString& tip)
{
    m_icon->setToolTip(TrayTipMarkup(tip, m_statusNotifier));
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
    if (!m_watcherOwner.isEmpty())
        return m_watcherOwner;
    return QSystemTrayIcon::isSystemTrayAvailable() ? u"system-tray"_s : QString();
}

bool QtTrayHost::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}
