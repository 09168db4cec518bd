// The real program on a private X server, driven with real input.
#include "AtSpiClient.h"
#include "DirectoryServer.h"
#include "IcecastServer.h"
#include "TestFolder.h"
#include "X11Session.h"

#include <QTest>

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
                    const int x = g.right() - 3, y = g.top() + 26 + 15, dx = left - g.left();
                    QString drag = u"mousemove %1 %2 mousedown 1"_s.arg(x).arg(y);
                    for (int i = 1; i <= 10; ++i)
                        drag += u" sleep 0.04 mousemove %1 %2"_s.arg(x + dx * i / 10).arg(y);
                    session.xdotool(drag + u" sleep 0.2 mouseup 1"_s); // resting, as a hand does
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
        const QString quit = u"--dest=org.mpris.MediaPlayer2.skylistener /org/mpris/MediaPlayer2 "
                             u"org.mpris.MediaPlayer2.Quit"_s;
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

            QVERIFY(!session.busCall(quit).isEmpty() && session.programEnded());
            const QString stored = QString::fromUtf8(folder.read(session.settingsFile()));
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
                // The window hidden, our program's only one shown is its icon, docked in the tray.
                const QString icon = u"search --onlyvisible --class skylistener"_s;
                QTRY_VERIFY_WITH_TIMEOUT(!session.xdotool(icon).isEmpty(), 10000);
                session.xdotool(icon + u" mousemove --window %1 8 8 sleep 0.2 click --repeat 2 "
                                       u"--delay 80 1"_s);
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

    // A screen reader's user with the keyboard alone: every control shown has a role and a name;
    // Tab reaches the slider, whose arrows set the volume, as the bus does; Enter plays, and the
    // status panel's name tells it once; Ctrl+F, Tab to the finder's results and Enter play one.
    void aScreenReaderUserReachesEverything()
    {
        IcecastServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        DirectoryServer directory;
        directory.streamUrl = server.streamUrl();
        TestFolder folder;
        const QString list =
            folder.write(u"e2e.ksl"_s, StationBytes("Alfa", server.streamUrl().toUtf8()) + "\r\n" +
                                           StationBytes("Beta", "ftp://127.0.0.1/b.mp3") + "\r\n");
        X11Session session;
        AtSpiClient reader;
        QVERIFY(session.start(true));
        const QString bus = session.startAccessibilityBus();
        QVERIFY(!bus.isEmpty() &&
                session.startProgram({u"StationFile="_s + list, u"Volume=10"_s,
                                      u"DirectoryUrl="_s + directory.url(u"ok"_s)}) &&
                reader.connectTo(bus));

        // What a reader finds by role and name; no control it could not name, no decoration
        // (lines and separators: a reader does not stop at them).
        static const QStringList operated = {u"push button"_s, u"check box"_s, u"slider"_s,
                                             u"tree"_s,        u"text"_s,      u"menu item"_s,
                                             u"combo box"_s,   u"label"_s};
        QStringList found, nameless;
        for (const AtSpiClient::Node& node : reader.showing()) {
            found.append(node.role + u": "_s + node.name);
            if (node.role == u"filler"_s || node.role == u"separator"_s ||
                (operated.contains(node.role) && node.name.trimmed().isEmpty()))
                nameless.append(node.role + u" "_s + node.path);
        }
        QCOMPARE(nameless, QStringList());
        for (const QString& control : {u"push button: Spustit"_s, u"label: Datový tok"_s,
                                       u"push button: Upravit seznam rozhlasových stanic"_s})
            QVERIFY2(found.contains(control), qPrintable(control));

        // The focus followed as a reader follows it: a list's current item says it is focused
        // also while another control has the keyboard.
        const auto focusAfter = [&](const QString& keys) {
            session.xdotool(u"key "_s + keys);
            QTest::qWait(300);
            for (const AtSpiClient::Node& node : reader.showing())
                if (node.focused && !node.role.endsWith(u" item"_s))
                    return node.role + u": "_s + node.name;
            return QString();
        };
        QCOMPARE(focusAfter(u"Tab"_s), u"slider: Hlasitost"_s);
        const AtSpiClient::Node slider = reader.find(u"slider"_s, u"Hlasitost"_s);
        QCOMPARE(reader.value(slider), 10.0);
        session.xdotool(u"key Right Right"_s);
        QTRY_COMPARE(reader.value(slider), 12.0);
        QVERIFY(reader.setValue(slider, 40));
        QTRY_COMPARE(reader.find(u"label"_s, u"Hlasitost"_s).description, u"Hlasitost 40%"_s);
        QCOMPARE(focusAfter(u"shift+Tab"_s), u"tree: Stanice"_s);

        // A station that plays, then one whose address is refused: the status panel announces
        // its new name, and nothing while the bit rate changes and the tray icon turns.
        const QString panel = reader.find(u"label"_s, u"Stav"_s).path;
        // How often the panel spoke until it reads `name`, and in the next 1.5 s; -1 when it
        // never reads it.
        const auto announcements = [&](const QString& name) -> qsizetype {
            if (!QTest::qWaitFor([&] { return reader.find(u"label"_s, name).path == panel; },
                                 10000))
                return -1;
            QTest::qWait(1500);
            return reader.takeAnnouncements().count(panel);
        };
        reader.takeAnnouncements();
        session.xdotool(u"key Down Return"_s);
        // Connecting, perhaps loading, playing.
        const qsizetype playing = announcements(u"Stav: Přehrávání"_s);
        QVERIFY2(playing >= 1 && playing <= 3, qPrintable(QString::number(playing)));
        session.xdotool(u"key Down Return"_s);
        QCOMPARE(announcements(u"Stav: Chyba: nepodporovaný typ adresy (ftp)"_s), 1);

        QCOMPARE(focusAfter(u"ctrl+f"_s), u"text: Název:"_s);
        session.xdotool(u"type jazz"_s);
        session.xdotool(u"key Return"_s);
        QTRY_VERIFY(!reader.find(u"tree item"_s, u"Jazz Praha"_s).path.isEmpty());
        QStringList walked;
        for (int i = 0; i < 8 && !walked.endsWith(u"tree: Nalezené stanice"_s); ++i)
            walked.append(focusAfter(u"Tab"_s));
        // On Linux Qt names a combo box by what it shows; its label is its relation.
        QCOMPARE(walked, QStringList({u"combo box: Všechny země"_s, u"text: Štítek:"_s,
                                      u"check box: Zobrazit i nefunkční"_s,
                                      u"push button: Hledat"_s, u"tree: Nalezené stanice"_s}));
        session.xdotool(u"key Down Return"_s);
        QTRY_COMPARE(directory.clicks, QStringList{u"u-jazz"_s});
        session.xdotool(u"key Escape"_s);
        QTRY_VERIFY(reader.find(u"dialog"_s, u"Hledat rozhlasové stanice"_s).path.isEmpty());
        QVERIFY(session.closeProgram());
        QVERIFY(folder.read(session.settingsFile()).contains("Volume=40"));
    }

    // Ctrl+R records a file per title; titles go into the history; with the option ticked, a title
    // that comes while the window is not in front raises one notification the next replaces.
    void keepsTheSongsHeard()
    {
        IcecastServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        TestFolder folder;
        const QString list =
            folder.write(u"e2e.ksl"_s, StationBytes("Alfa", server.streamUrl().toUtf8()) + "\r\n");
        const QString recordings = folder.filePath(u"nahrávky"_s);
        // ALSA's null device runs ahead of the stream, and the titles sent mid-stream never come;
        // mpv's own silent output keeps time.
        qputenv("SKYLISTENER_AUDIO_OUTPUT", "null");
        const auto restore = qScopeGuard([] { qunsetenv("SKYLISTENER_AUDIO_OUTPUT"); });
        X11Session session;
        QVERIFY(session.start(true) && session.startDesktop() && session.startNotificationServer());
        QVERIFY(session.startProgram({u"StationFile="_s + list, u"RecordFolder="_s + recordings}));
        session.xdotool(u"key Down Return"_s);
        QTRY_COMPARE_WITH_TIMEOUT(session.windowTitle(), u"[Alfa] - skylistener"_s, 10000);
        session.xdotool(u"key ctrl+r"_s);
        // Each title is known to have come once its recording begins.
        const auto sent = [&](const QString& title) {
            const QStringList file = {u"Alfa 20* "_s + title + u".mp3"_s};
            return server.setTitle(title) &&
                   QTest::qWaitFor([&] { return !QDir(recordings).entryList(file).isEmpty(); },
                                   20000);
        };
        const auto inFront = [&](bool front) {
            session.xdotool((front ? u"windowactivate --sync "_s : u"windowminimize --sync "_s) +
                            session.windowId());
        };
        inFront(false);
        QVERIFY(sent(u"Prvni"_s)); // the option is off
        inFront(true);
        session.xdotool(u"key alt+s sleep 0.3 key s"_s); // "Oznamovat skladby"
        QVERIFY(sent(u"Druha"_s));                       // the window is in front
        QCOMPARE(session.notificationsReceived().size(), 0);
        inFront(false);
        QVERIFY(sent(u"Treti"_s));
        QVERIFY(sent(u"Ctvrta"_s));
        QTRY_COMPARE(session.notificationsReceived().size(), 2);
        const auto shown = session.notificationsReceived();
        QCOMPARE(shown[0].first, shown[1].first);
        QCOMPARE(shown[1].second, u"Alfa: Ctvrta"_s);
        QCOMPARE(session.notificationsShown(), 1);
        inFront(true);
        QVERIFY(session.closeProgram());

        QVERIFY(folder.read(session.settingsFile()).contains("NotifyTitles=1"));
        const QString kept = QString::fromUtf8(
            folder.read(session.homeFile(u"data/Hollowmere/skylistener/historie.txt"_s)));
        for (const QString& title : {u"Prvni"_s, u"Druha"_s, u"Treti"_s, u"Ctvrta"_s})
            QVERIFY2(kept.contains(u"\tAlfa\t"_s + title + u'\n'), qPrintable(kept));
        // Every file the recording left decodes, the one ended by the exit too; each title
        // played about three seconds.
        const QFileInfoList files = QDir(recordings).entryInfoList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 5);
        for (const QFileInfo& file : files) {
            QProcess probe;
            probe.start(u"ffprobe"_s,
                        u"-v error -show_entries format=duration -of csv=p=0"_s.split(u' ')
                            << file.filePath());
            QVERIFY(probe.waitForFinished(10000) && probe.exitCode() == 0);
            const double seconds = probe.readAllStandardOutput().toDouble();
            QVERIFY2(seconds > (file == files.last() ? 0 : 2), qPrintable(file.fileName()));
        }
    }

    // A portable copy keeps its lists in its own folder. A first start (no settings yet) brings
    // the shipped list but leaves a list of the user's alone; deleted, the list stays deleted.
    void theShippedListComesOnlyOnTheFirstStart()
    {
        X11Session session;
        QVERIFY(session.start());
        TestFolder folder;
        const QString copy = folder.filePath(u"skylistener"_s);
        const QString list = folder.filePath(u"czech.ksl"_s);
        QVERIFY(QFile::copy(QStringLiteral(SKYLISTENER_EXE), copy));
        const auto run = [&] { return session.startProgram({}, copy) && session.closeProgram(); };
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
