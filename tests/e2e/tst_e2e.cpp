// The real program on a private X server, driven with real input.
#include "IcecastServer.h"
#include "TestFolder.h"
#include "X11Session.h"

#include <QFile>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

class tst_E2E : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Right after start-up nothing is selected: the first key selects the first station. A
    // window stored off the screen comes back onto it, and snaps to the screen's edge.
    void keysReachTheFirstStation()
    {
        IcecastServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        X11Session session;
        QVERIFY(session.start());
        TestFolder folder;
        for (const auto& [key, alone] : {std::pair{u"Down"_s, false}, std::pair{u"Home"_s, false},
                                         std::pair{u"Down"_s, true}}) {
            QByteArray stations = StationBytes("Alfa m\xEDstn\xED", server.streamUrl().toUtf8());
            if (!alone)
                stations += StationBytes("Beta", server.url(u"/none.mp3"_s).toUtf8());
            const QString list = folder.write(u"e2e.ksl"_s, stations + "\r\n");
            QVERIFY(session.startProgram(
                {u"StationFile="_s + list, u"Volume=10"_s, u"Left=1500"_s, u"Top=3000"_s}));
            QTRY_COMPARE(session.windowGeometry().topLeft(), QPoint(100, 200));
            QCOMPARE(session.windowTitle(), u"skylistener v.0.1.12 beta"_s);
            session.xdotool(u"key "_s + key + u" Return"_s);
            QTRY_COMPARE_WITH_TIMEOUT(session.windowTitle(), u"[Alfa místní] - skylistener"_s,
                                      10000);
            if (alone) {
                // Grabbed at the toolbar's empty part, right of the volume slider, below the menu
                // bar, and dragged as a hand would: dropped 12 pixels from the left edge, it stays
                // there; dropped 9 pixels from it, it lands exactly on the edge.
                for (const auto& [left, landed] :
                     {std::pair{12, 12}, std::pair{109, 109}, std::pair{9, 0}}) {
                    const QRect g = session.windowGeometry();
                    const int y = g.top() + 26 + 15;
                    session.xdotool(u"mousemove %1 %2 mousedown 1"_s.arg(g.right() - 3).arg(y));
                    for (int i = 1; i <= 10; ++i) {
                        session.xdotool(
                            u"mousemove %1 %2"_s.arg(g.right() - 3 + (left - g.left()) * i / 10)
                                .arg(y));
                        QThread::msleep(40);
                    }
                    QThread::msleep(200); // a hand rests a moment before it lets go
                    session.xdotool(u"mouseup 1"_s);
                    QTRY_COMPARE(session.windowGeometry().left(), landed);
                }
            }
            QVERIFY(session.closeProgram());
        }
    }

    // Quit from the media panel ends the program cleanly, storing its settings, while a dialog
    // has the keyboard, opened with keys or a click (menu title, toolbar button).
    void quitFromTheMediaPanelWhileADialogIsOpen()
    {
        X11Session session;
        QVERIFY(session.start(true));
        TestFolder folder;
        const QString list = folder.write(u"e2e.ksl"_s, StationBytes("Alfa", "http://a") + "\r\n");
        for (const QString& input : {u"key ctrl+p"_s, u"key F12"_s, u"key ctrl+o"_s,
                                     u"mousemove --window WINDOW 30 10 click 1 sleep 0.3 key o"_s,
                                     u"mousemove --window WINDOW 52 40 click 1"_s}) {
            QVERIFY(
                session.startProgram({u"StationFile="_s + list, u"Volume=37"_s, u"MinTray=1"_s}));
            session.xdotool(QString(input).replace(u"WINDOW"_s, session.windowId()));
            const auto focused = [&] { return session.xdotool(u"getwindowfocus"_s); };
            QTRY_VERIFY_WITH_TIMEOUT(
                focused() != session.windowId() &&
                    !session.xdotool(u"getwindowname "_s + focused()).isEmpty(),
                10000);

            QVERIFY(!session
                         .busCall(u"--dest=org.mpris.MediaPlayer2.skylistener "
                                  u"/org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Quit"_s)
                         .isEmpty());
            QVERIFY(session.programEnded());
            QFile settings(session.settingsFile());
            QVERIFY(settings.open(QIODevice::ReadOnly));
            const QString stored = QString::fromUtf8(settings.readAll());
            for (const QString& line : {u"Left="_s, u"Top="_s, u"Height="_s, u"Volume=37\n"_s})
                QVERIFY2(stored.contains(line), qPrintable(input + u": "_s + stored));
        }
    }

    void minimisesToTheTrayAndComesBack()
    {
        for (const bool statusNotifier : {false, true}) {
            X11Session session;
            TestFolder folder;
            QVERIFY(session.start(statusNotifier) && session.startDesktop(statusNotifier) &&
                    session.startProgram(
                        {u"StationFile="_s + folder.filePath(u"none.ksl"_s), u"MinTray=1"_s}));
            const auto shown = [&] {
                return !session.xdotool(u"search --onlyvisible --name ^skylistener.v"_s).isEmpty();
            };
            session.xdotool(u"windowminimize "_s + session.windowId());
            QTRY_VERIFY_WITH_TIMEOUT(!shown(), 10000);
            if (!statusNotifier) {
                const auto icon = [&] { // our program's other window, docked in the tray
                    QStringList windows = session.xdotool(u"search --class skylistener"_s)
                                              .split(u'\n', Qt::SkipEmptyParts);
                    windows.removeAll(session.windowId());
                    return windows.value(0);
                };
                QTRY_VERIFY_WITH_TIMEOUT(!icon().isEmpty(), 10000);
                session.xdotool(u"mousemove --window "_s + icon() +
                                u" 8 8 sleep 0.2 click --repeat 2 --delay 80 1"_s);
            } else {
                // The host shows the icon first in its panel once the program has registered it;
                // a click activates it.
                session.xdotool(u"mousemove --window "_s + session.trayPanel() + u" 12 12"_s);
                QTRY_VERIFY_WITH_TIMEOUT((session.xdotool(u"click 1"_s), shown()), 10000);
            }
            QTRY_VERIFY_WITH_TIMEOUT(shown(), 10000);
            QVERIFY(session.closeProgram());
        }
    }

    // A portable copy keeps its lists in its own folder. A first start (no settings yet) brings
    // the shipped list but leaves a list of the user's alone; deleted, the list stays deleted.
    void theShippedListComesOnlyOnTheFirstStart()
    {
        X11Session session;
        QVERIFY(session.start());
        TestFolder folder;
        const QString program = folder.filePath(u"skylistener"_s);
        const QString list = folder.filePath(u"czech.ksl"_s);
        QVERIFY(QFile::copy(QStringLiteral(SKYLISTENER_EXE), program));
        const auto run = [&] {
            return session.startProgram({}, program) && session.closeProgram();
        };
        QVERIFY(run());
        QVERIFY(QFile::exists(list));

        const QByteArray own = StationBytes("Moje", "http://m") + "\r\n";
        folder.write(u"czech.ksl"_s, own);
        QVERIFY(QFile::remove(session.settingsFile()));
        QVERIFY(run());
        QCOMPARE(folder.read(u"czech.ksl"_s), own);

        QVERIFY(QFile::remove(list));
        QVERIFY(run());
        QVERIFY(!QFile::exists(list));
    }
};

QTEST_GUILESS_MAIN(tst_E2E)
#include "tst_e2e.moc"
