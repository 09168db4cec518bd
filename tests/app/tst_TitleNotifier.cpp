// Title notifications on a private session bus; a second connection plays the desktop's server.
#include "app/TitleNotifier.h"

#include <QtDBus>
#include <QtTest>

using namespace Qt::StringLiterals;

static const QString ServerName = u"org.freedesktop.Notifications"_s;

// Records each notification as "app|replaced id|summary|body" and answers as a server does: a
// new id, or the one replaced.
class NotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList shown;

public Q_SLOTS:
    uint Notify(const QString& app, uint replaces, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int)
    {
        shown.append(QStringList{app, QString::number(replaces), summary, body}.join(u'|'));
        return replaces != 0 ? replaces : 40 + shown.size();
    }
};

class tst_TitleNotifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression(u".*"_s)); }

    // Run on its own with no bus to be found (see the CMake file): nothing happens, and nothing
    // is said about it (no warning, see init).
    void doesNothingWithoutSessionBus()
    {
        if (QDBusConnection::sessionBus().isConnected())
            QSKIP("a session bus is present");
        TitleNotifier notifier;
        notifier.notify(u"Rádio Alfa"_s, u"Píseň"_s);
        notifier.notify(u"Rádio Alfa"_s, u"Další"_s);
    }

    void replacesOneNotification()
    {
        QDBusConnection peer =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"peer"_s);
        NotificationServer server;
        QVERIFY(peer.registerObject(u"/org/freedesktop/Notifications"_s, &server,
                                    QDBusConnection::ExportAllSlots));
        QVERIFY(peer.registerService(ServerName));

        // Titles that come before the server has given the first one an id wait for it, only the
        // last kept, so that they replace it rather than stack.
        TitleNotifier notifier;
        notifier.notify(u"Rádio Alfa"_s, u"<b>Rock</b> & <img src=\"/dev/zero\">"_s);
        notifier.notify(u"Rádio Alfa"_s, u"Přeskočená"_s);
        notifier.notify(u"Beta"_s, u"Kapela – Píseň"_s);
        QVERIFY(server.shown.isEmpty()); // the caller waited for nothing
        QTRY_COMPARE(server.shown.size(), 2);
        QCOMPARE(server.shown,
                 QStringList({u"skylistener|0|Rádio Alfa|&lt;b&gt;Rock&lt;/b&gt; &amp; "
                              u"&lt;img src=&quot;/dev/zero&quot;&gt;"_s,
                              u"skylistener|41|Beta|Kapela – Píseň"_s}));

        // With the server gone the bus refuses the call; back again, it gets the next one.
        QVERIFY(peer.unregisterService(ServerName));
        notifier.notify(u"Beta"_s, u"Nikomu"_s);
        // Asked on the notifier's own connection: the bus has refused the call before answering.
        QVERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(ServerName));
        QVERIFY(peer.registerService(ServerName));
        notifier.notify(u"Gama"_s, u"Zpět"_s);
        QTRY_COMPARE(server.shown.size(), 3);
        QCOMPARE(server.shown.last(), u"skylistener|41|Gama|Zpět"_s);
    }
};

QTEST_MAIN(tst_TitleNotifier)
#include "tst_TitleNotifier.moc"
