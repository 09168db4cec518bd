// The real program on a private X server, driven with real input.
#include "IcecastServer.h"
#include "TestFolder.h"
#include "X11Session.h"

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
        X11Session s;
        QVERIFY2(s.start(), qPrintable(s.error));
        QByteArray stations = StationBytes("Alfa m\xEDstn\xED", server.streamUrl().toUtf8());
        if (!alone)
            stations += StationBytes("Beta", server.url(u"/none.mp3"_s).toUtf8());
        const QString list = s.write(u"e2e.ksl"_s, stations + "\r\n");
        QVERIFY2(s.startProgram({u"StationFile="_s + list, u"Volume=10"_s}), qPrintable(s.error));
        QCOMPARE(s.title(), u"skylistener v.0.1.12 beta"_s);

        // Right after start-up nothing is selected: the first key selects the first station.
        s.focus();
        s.xdotool(u"key %1 Return"_s.arg(key));
        QTRY_COMPARE_WITH_TIMEOUT(s.title(), u"[Alfa místní] - skylistener"_s, 10000);
        QVERIFY(s.screenshot(u"playing.png"_s));
        QVERIFY(s.closeProgram());
    }

    void quitOverTheBusWhileADialogIsOpen_data()
    {
        // How the user opens the dialog, as xdotool input on the main window (%1).
        QTest::addColumn<QString>("input");
        QTest::newRow("settings") << u"key ctrl+p"_s;
        QTest::newRow("list chooser") << u"key F12"_s;
        QTest::newRow("open URL") << u"key ctrl+o"_s;
        QTest::newRow("about") << u"mousemove --window %1 30 10 click 1 sleep 0.3 key o"_s;
        QTest::newRow("editor") << u"mousemove --window %1 52 40 click 1"_s; // toolbar button
    }
    void quitOverTheBusWhileADialogIsOpen()
    {
        QFETCH(QString, input);
        X11Session s;
        QVERIFY2(s.start(true), qPrintable(s.error));
        const QString list = s.write(u"e2e.ksl"_s, StationBytes("Alfa", "http://a") + "\r\n");
        QVERIFY2(s.startProgram({u"StationFile="_s + list, u"Volume=37"_s, u"MinTray=1"_s}),
                 qPrintable(s.error));
        s.focus();
        s.xdotool(input.replace(u"%1"_s, s.window));
        // The dialog has the keyboard.
        QTRY_VERIFY_WITH_TIMEOUT(
            s.xdotool(u"getwindowfocus"_s) != s.window &&
                !s.xdotool(u"getwindowname "_s + s.xdotool(u"getwindowfocus"_s)).isEmpty(),
            10000);
        QVERIFY(s.screenshot(u"dialog-%1.png"_s.arg(QLatin1StringView(QTest::currentDataTag()))));

        QVERIFY(!s.busCall(u"org.mpris.MediaPlayer2.skylistener /org/mpris/MediaPlayer2 "
                           u"org.mpris.MediaPlayer2.Quit"_s)
                     .isEmpty());
        QVERIFY(s.programEnded());
        QFile file(s.path(u"config/Hollowmere.ini"_s));
        const QString stored =
            file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        for (const QString& line : {u"Left="_s, u"Top="_s, u"Height="_s, u"Volume=37\n"_s})
            QVERIFY2(stored.contains(line), qPrintable(stored));
    }

    void windowSnapsToTheScreenEdge()
    {
        X11Session s;
        QVERIFY2(s.start(), qPrintable(s.error));
        QVERIFY2(s.startProgram(
                     {u"StationFile="_s + s.path(u"none.ksl"_s), u"Left=1500"_s, u"Top=3000"_s}),
                 qPrintable(s.error));
        QTRY_COMPARE(s.geometry().topLeft(), QPoint(100, 200));
        // Dragged by the toolbar's empty part, right of the volume slider, in small steps.
        const auto dragTo = [&](int left) {
            const QRect g = s.geometry();
            const auto move = [&](int x) {
                s.xdotool(u"mousemove %1 %2"_s.arg(x).arg(g.top() + 41));
                QThread::msleep(20);
            };
            move(g.right() - 3);
            s.xdotool(u"mousedown 1"_s);
            for (int i = 1; i <= 10; ++i)
                move(g.right() - 3 + (left - g.left()) * i / 10);
            s.xdotool(u"mouseup 1"_s);
        };
        dragTo(12); // stays 12 pixels from the edge
        QTRY_COMPARE(s.geometry().left(), 12);
        dragTo(109);
        QTRY_COMPARE(s.geometry().left(), 109);
        dragTo(9); // lands on the edge
        QTRY_COMPARE(s.geometry().left(), 0);
        QVERIFY(s.screenshot(u"snapped.png"_s));
        QVERIFY(s.closeProgram());
    }

    void minimisesToTheTrayAndComesBack_data()
    {
        QTest::addColumn<QString>("tray");
        QTest::newRow("XEmbed") << u"trayer"_s;
        QTest::newRow("StatusNotifier") << u"gtk-sni-tray-standalone"_s;
    }
    void minimisesToTheTrayAndComesBack()
    {
        QFETCH(QString, tray);
        X11Session s;
        QVERIFY2(s.start(false, tray), qPrintable(s.error));
        QVERIFY2(s.startProgram({u"StationFile="_s + s.path(u"none.ksl"_s), u"MinTray=1"_s}),
                 qPrintable(s.error));
        const auto shown = [&] {
            return !s.xdotool(u"search --onlyvisible --name \"^skylistener v\""_s).isEmpty();
        };
        s.xdotool(u"windowminimize "_s + s.window);
        QTRY_VERIFY_WITH_TIMEOUT(!shown(), 10000);
        if (tray == u"trayer"_s) {
            // The icon is the program's other window, docked in the tray; a double click on it.
            const auto icon = [&] {
                QStringList ids = s.xdotool(u"search --class skylistener"_s).split(u'\n');
                ids.removeAll(s.window);
                return ids.value(0);
            };
            QTRY_VERIFY_WITH_TIMEOUT(!icon().isEmpty(), 10000);
            QVERIFY(s.screenshot(u"in-tray.png"_s));
            s.xdotool(u"mousemove --window %1 8 8"_s.arg(icon()));
            QThread::msleep(200);
            s.xdotool(u"click --repeat 2 --delay 80 1"_s);
        } else {
            // The host shows the icon first once the program has registered it; a click on it.
            s.xdotool(u"mousemove --window %1 12 12"_s.arg(s.trayPanel()));
            QTRY_VERIFY_WITH_TIMEOUT((s.xdotool(u"click 1"_s), shown()), 10000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(shown(), 10000);
        QVERIFY(s.closeProgram());
    }

    // A portable copy gets the shipped list in its own folder on the first start only: deleted
    // by the user, it stays deleted.
    void theShippedListComesOnlyOnTheFirstStart()
    {
        X11Session s;
        QVERIFY2(s.start(), qPrintable(s.error));
        const QString program = s.path(u"skylistener"_s);
        QVERIFY(QFile::copy(QStringLiteral(SKYLISTENER_EXE), program));
        for (const bool first : {true, false}) {
            QVERIFY2(s.startProgram({}, program), qPrintable(s.error));
            QCOMPARE(QFile::exists(s.path(u"czech.ksl"_s)), first);
            QVERIFY(s.closeProgram());
            QVERIFY(!first || QFile::remove(s.path(u"czech.ksl"_s)));
        }
    }
};

QTEST_GUILESS_MAIN(tst_E2E)
#include "tst_e2e.moc"
