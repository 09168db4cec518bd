// The real program on a private X server, driven with real input.
#include "IcecastServer.h"
#include "TestFolder.h"
#include "X11Session.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

// Drags with the left button from `from` by `dx` in small steps, as a hand would.
void drag(const X11Session& session, QPoint from, int dx)
{
    const auto at = [](int v) { return QString::number(v); };
    session.xdotool({u"mousemove"_s, at(from.x()), at(from.y())});
    QThread::msleep(50);
    session.xdotool({u"mousedown"_s, u"1"_s});
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        session.xdotool({u"mousemove"_s, at(from.x() + dx * i / steps), at(from.y())});
        QThread::msleep(40);
    }
    // A hand rests a moment before it lets go; a busy machine gets time to follow.
    QThread::msleep(200);
    session.xdotool({u"mouseup"_s, u"1"_s});
}

} // namespace

class tst_E2E : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysReachTheFirstStation_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("alone");
        QTest::newRow("Down") << u"Down"_s << false;
        QTest::newRow("Home") << u"Home"_s << false;
        QTest::newRow("Down, one station") << u"Down"_s << true;
    }
    void keysReachTheFirstStation()
    {
        QFETCH(QString, key);
        QFETCH(bool, alone);
        IcecastServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        X11Session session;
        QVERIFY2(session.start(), qPrintable(session.error()));

        TestFolder folder;
        QByteArray stations = StationBytes("Alfa m\xEDstn\xED", server.streamUrl().toUtf8());
        if (!alone)
            stations += StationBytes("Beta", server.url(u"/none.mp3"_s).toUtf8());
        const QString list = folder.write(u"e2e.ksl"_s, stations + "\r\n");
        session.writeSettings({u"StationFile="_s + list, u"Volume=10"_s});
        QVERIFY2(session.startProgram(QStringLiteral(SKYLISTENER_EXE)),
                 qPrintable(session.error()));
        QCOMPARE(session.windowTitle(), u"skylistener v.0.1.12 beta"_s);

        // Right after start-up nothing is selected: the first key selects the first station.
        session.xdotool({u"windowfocus"_s, u"--sync"_s, session.windowId()});
        QThread::msleep(300);
        session.xdotool({u"key"_s, key, u"Return"_s});
        QTRY_COMPARE_WITH_TIMEOUT(session.windowTitle(), u"[Alfa místní] - skylistener"_s, 10000);
        QVERIFY(session.screenshot(QStringLiteral(E2E_OUTPUT_DIR) + u"/playing.png"_s));

        QVERIFY(session.closeProgram());
    }

    void quitFromTheMediaPanelWhileADialogIsOpen_data()
    {
        // How the user opens the dialog: a click at a point of the window (menu title, toolbar
        // button), then keys.
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<QString>("keys");
        QTest::newRow("settings") << QPoint() << u"ctrl+p"_s;
        QTest::newRow("list chooser") << QPoint() << u"F12"_s;
        QTest::newRow("open URL") << QPoint() << u"ctrl+o"_s;
        QTest::newRow("about") << QPoint(30, 10) << u"o"_s;
        QTest::newRow("editor") << QPoint(52, 40) << QString();
    }
    void quitFromTheMediaPanelWhileADialogIsOpen()
    {
        QFETCH(QPoint, click);
        QFETCH(QString, keys);
        X11Session session;
        QVERIFY2(session.start(), qPrintable(session.error()));
        QVERIFY2(session.startSessionBus(), qPrintable(session.error()));
        TestFolder folder;
        const QString list = folder.write(u"e2e.ksl"_s, StationBytes("Alfa", "http://a") + "\r\n");
        session.writeSettings({u"StationFile="_s + list, u"Volume=37"_s, u"MinTray=1"_s});
        QVERIFY2(session.startProgram(QStringLiteral(SKYLISTENER_EXE)),
                 qPrintable(session.error()));

        session.xdotool({u"windowfocus"_s, u"--sync"_s, session.windowId()});
        QThread::msleep(300);
        if (!click.isNull()) {
            const QRect window = session.windowGeometry();
            session.xdotool({u"mousemove"_s, QString::number(window.x() + click.x()),
                             QString::number(window.y() + click.y())});
            session.xdotool({u"click"_s, u"1"_s});
            QThread::msleep(300);
        }
        if (!keys.isEmpty())
            session.xdotool({u"key"_s, keys});
        // The dialog has the keyboard.
        QTRY_VERIFY_WITH_TIMEOUT(
            session.xdotool({u"getwindowfocus"_s}) != session.windowId() &&
                !session.xdotool({u"getwindowname"_s, session.xdotool({u"getwindowfocus"_s})})
                     .isEmpty(),
            10000);
        QVERIFY(session.screenshot(QStringLiteral(E2E_OUTPUT_DIR) + u"/dialog-"_s +
                                   QString::fromLatin1(QTest::currentDataTag()) + u".png"_s));

        QVERIFY(!session
                     .busCall(u"org.mpris.MediaPlayer2.skylistener"_s, u"/org/mpris/MediaPlayer2"_s,
                              u"org.mpris.MediaPlayer2.Quit"_s)
                     .isEmpty());
        QVERIFY(session.programEnded());
        QFile settings(session.settingsFile());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QString stored = QString::fromUtf8(settings.readAll());
        for (const QString& line : {u"Left="_s, u"Top="_s, u"Height="_s, u"Volume=37\n"_s})
            QVERIFY2(stored.contains(line), qPrintable(stored));
    }

    void windowSnapsToTheScreenEdge()
    {
        X11Session session;
        QVERIFY2(session.start(), qPrintable(session.error()));
        TestFolder folder;
        session.writeSettings(
            {u"StationFile="_s + folder.filePath(u"none.ksl"_s), u"Left=1500"_s, u"Top=3000"_s});
        QVERIFY2(session.startProgram(QStringLiteral(SKYLISTENER_EXE)),
                 qPrintable(session.error()));
        QTRY_COMPARE(session.windowGeometry().topLeft(), QPoint(100, 200));

        // Grab the toolbar's empty part, right of the volume slider, below the menu bar.
        const auto grip = [&] {
            const QRect g = session.windowGeometry();
            return QPoint(g.right() - 3, g.top() + 26 + 15);
        };

        // Dropped 12 pixels from the left edge: stays there.
        drag(session, grip(), 12 - 100);
        QTRY_COMPARE(session.windowGeometry().left(), 12);

        // Dropped 9 pixels from it: lands exactly on the edge.
        drag(session, grip(), 9 - 12 + 100);
        QTRY_COMPARE(session.windowGeometry().left(), 109);
        drag(session, grip(), 9 - 109);
        QTRY_COMPARE(session.windowGeometry().left(), 0);
        QVERIFY(session.screenshot(QStringLiteral(E2E_OUTPUT_DIR) + u"/snapped.png"_s));
        QVERIFY(session.closeProgram());
    }

    void minimisesToTheTrayAndComesBack_data()
    {
        QTest::addColumn<bool>("statusNotifier");
        QTest::newRow("XEmbed") << false;
        QTest::newRow("StatusNotifier") << true;
    }
    void minimisesToTheTrayAndComesBack()
    {
        QFETCH(bool, statusNotifier);
        const auto tray =
            statusNotifier ? X11Session::Tray::StatusNotifier : X11Session::Tray::XEmbed;
        X11Session session;
        QVERIFY2(session.start(), qPrintable(session.error()));
        if (tray == X11Session::Tray::StatusNotifier)
            QVERIFY2(session.startSessionBus(), qPrintable(session.error()));
        QVERIFY2(session.startDesktop(tray), qPrintable(session.error()));
        TestFolder folder;
        session.writeSettings({u"StationFile="_s + folder.filePath(u"none.ksl"_s), u"MinTray=1"_s});
        QVERIFY2(session.startProgram(QStringLiteral(SKYLISTENER_EXE)),
                 qPrintable(session.error()));

        const auto visibleWindows = [&] {
            return session.xdotool(
                {u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"^skylistener v"_s});
        };
        const auto xembedIcon = [&] {
            // The icon is our program's other window, small and docked in the tray.
            const QStringList windows =
                session.xdotool({u"search"_s, u"--class"_s, u"skylistener"_s}).split(u'\n');
            for (const QString& id : windows) {
                if (!id.isEmpty() && id != session.windowId())
                    return id;
            }
            return QString();
        };

        session.xdotool({u"windowminimize"_s, session.windowId()});
        QTRY_VERIFY_WITH_TIMEOUT(visibleWindows().isEmpty(), 10000);
        if (tray == X11Session::Tray::XEmbed) {
            QTRY_VERIFY_WITH_TIMEOUT(!xembedIcon().isEmpty(), 10000);
            QVERIFY(session.screenshot(QStringLiteral(E2E_OUTPUT_DIR) + u"/in-tray.png"_s));
            // A double click on the icon brings the window back.
            session.xdotool({u"mousemove"_s, u"--window"_s, xembedIcon(), u"8"_s, u"8"_s});
            QThread::msleep(200);
            session.xdotool({u"click"_s, u"--repeat"_s, u"2"_s, u"--delay"_s, u"80"_s, u"1"_s});
        } else {
            // The host shows the icon first in its panel once the program has registered it;
            // its activation (a click) brings the window back.
            session.xdotool({u"mousemove"_s, u"--window"_s, session.trayPanel(), u"12"_s, u"12"_s});
            QTRY_VERIFY_WITH_TIMEOUT(
                (session.xdotool({u"click"_s, u"1"_s}), !visibleWindows().isEmpty()), 10000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows().isEmpty(), 10000);
        QVERIFY(session.closeProgram());
    }
};

QTEST_GUILESS_MAIN(tst_E2E)
#include "tst_e2e.moc"
