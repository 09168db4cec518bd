// The real program on a private X server, driven with real input.
#include "IcecastServer.h"
#include "TestFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A private X server (Xvfb) with, on request, a session bus and a desktop (openbox and a tray),
// and the real program on it with its folders in a temporary home. Input goes through xdotool
// (the XTEST extension), as a person's would. Commands are written as on a shell line.
class X11Session
{
public:
    QString error, window;
    QTemporaryDir home;

    ~X11Session()
    {
        // Asked first: a killed X server leaves its lock behind for a display another run takes.
        for (auto p = m_processes.rbegin(); p != m_processes.rend(); ++p) {
            (*p)->terminate();
            if (!(*p)->waitForFinished(3000))
                (*p)->kill(), (*p)->waitForFinished(5000);
        }
    }

    // Xvfb on a free display it picks and prints (-displayfd), a session bus when asked, and a
    // window manager with a tray when `tray` names one: "trayer" (XEmbed) or
    // "gtk-sni-tray-standalone" (a StatusNotifier host: it needs the bus and a watcher).
    bool start(bool bus = false, const QString& tray = {})
    {
        m_display = u":"_s +
                    firstLine(spawn(u"Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp"_s, 1));
        if (m_display == u":"_s)
            return fail(u"Xvfb gave no display"_s);
        const bool sni = tray == u"gtk-sni-tray-standalone"_s;
        if ((bus || sni) &&
            (m_bus = firstLine(
                 spawn(u"dbus-daemon --session --nofork --nopidfile --print-address=1"_s, 1)))
                .isEmpty())
            return fail(u"dbus-daemon gave no address"_s);
        if ((m_panel = tray).isEmpty() || !spawn(u"openbox"_s))
            return m_panel.isEmpty();
        QThread::msleep(500);
        // The host registers with the watcher, and the program asks the watcher for a host.
        const auto watcherSays = [&](const QString& property, const QString& value) {
            return QTest::qWaitFor(
                [&] {
                    const QString reply =
                        busCall(u"org.kde.StatusNotifierWatcher "
                                u"/StatusNotifierWatcher "
                                u"org.freedesktop.DBus.Properties.Get "
                                u"string:org.kde.StatusNotifierWatcher string:"_s +
                                property);
                    return !reply.isEmpty() && reply.endsWith(value);
                },
                10000);
        };
        if (!sni)
            spawn(
                u"trayer --edge bottom --align right --widthtype pixel --width 200 --height 24"_s);
        else if (!spawn(u"status-notifier-watcher"_s) || !watcherSays(u"ProtocolVersion"_s, {}) ||
                 !spawn(tray + u" --bottom --size 24"_s) ||
                 !watcherSays(u"IsStatusNotifierHostRegistered"_s, u"true"_s))
            return fail(u"no StatusNotifier host registered"_s);
        return QTest::qWaitFor([&] { return !trayPanel().isEmpty(); }, 10000) ||
               fail(u"the tray showed no panel"_s);
    }

    // Starts the program with these settings lines (none on a first start) and waits for its
    // main window.
    bool startProgram(const QStringList& settings,
                      const QString& executable = QStringLiteral(SKYLISTENER_EXE))
    {
        if (!settings.isEmpty() && QDir(home.path()).mkpath(u"config"_s))
            write(u"config/Hollowmere.ini"_s,
                  (u"[Skylistener]\n"_s + settings.join(u'\n')).toUtf8());
        // No sound card here: ALSA's default device discards the sound.
        write(u".asoundrc"_s, "pcm.!default { type null }\n");
        if (!(m_program = spawn(executable, 2)))
            return false;
        return QTest::qWaitFor(
                   [&] {
                       window = xdotool(u"search --onlyvisible --name skylistener"_s)
                                    .section(u'\n', 0, 0);
                       return !window.isEmpty();
                   },
                   30000) ||
               fail(u"the main window did not appear"_s);
    }
    // True when the program ends with status 0, by itself or closed as a user would (Ctrl+X).
    bool programEnded(bool close = false)
    {
        if (close)
            focus(), xdotool(u"key ctrl+x"_s);
        return m_program->waitForFinished(10000) &&
               m_program->exitStatus() == QProcess::NormalExit && m_program->exitCode() == 0;
    }

    QString path(const QString& name) const { return QDir(home.path()).filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
        return file.fileName();
    }

    QString xdotool(const QString& command) const { return run(u"xdotool "_s + command); }
    // A method call over the session bus; the reply as dbus-send prints it, empty on failure.
    QString busCall(const QString& call) const
    {
        return run(u"dbus-send --print-reply --dest="_s + call);
    }
    void focus() const
    {
        xdotool(u"windowfocus --sync "_s + window);
        QThread::msleep(300);
    }
    QString trayPanel() const
    {
        return xdotool(u"search --onlyvisible --class "_s + m_panel).section(u'\n', 0, 0);
    }
    QString title() const { return xdotool(u"getwindowname "_s + window); }
    QRect geometry() const
    {
        // "WINDOW=1\nX=10\nY=20\nWIDTH=343\nHEIGHT=182\nSCREEN=0" from --shell.
        const QStringList lines = xdotool(u"getwindowgeometry --shell "_s + window).split(u'\n');
        const auto at = [&](int i) { return lines.value(i).section(u'=', 1).toInt(); };
        return {at(1), at(2), at(3), at(4)};
    }
    bool screenshot(const QString& name) const
    {
        const QString folder = QStringLiteral(E2E_OUTPUT_DIR);
        return QDir().mkpath(folder) &&
               QProcess::execute(u"import"_s, {u"-display"_s, m_display, u"-window"_s, u"root"_s,
                                               folder + u'/' + name}) == 0;
    }

private:
    // Every process runs on the display, on the private bus or none, with the temporary home.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_s, m_display);
        env.insert(u"HOME"_s, home.path());
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_bus.isEmpty() ? u"disabled:"_s : m_bus);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, path(u"config"_s));
        env.insert(u"XDG_DATA_HOME"_s, path(u"data"_s));
        return env;
    }
    // A process left running; `output` 1 keeps its standard output to read, 2 shows its errors.
    QProcess* spawn(const QString& command, int output = 0)
    {
        QProcess* p = m_processes.emplace_back(std::make_unique<QProcess>()).get();
        p->setProcessEnvironment(environment());
        if (output != 1)
            p->setStandardOutputFile(QProcess::nullDevice());
        if (output == 2)
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        else
            p->setStandardErrorFile(QProcess::nullDevice());
        QStringList arguments = QProcess::splitCommand(command);
        p->start(arguments.takeFirst(), arguments);
        return p->waitForStarted(5000) ? p : (fail(command + u" did not start"_s), nullptr);
    }
    static QString firstLine(QProcess* p)
    {
        QByteArray out;
        for (QDeadlineTimer t(10000); p && !out.contains('\n') && !t.hasExpired();)
            p->waitForReadyRead(200), out += p->readAllStandardOutput();
        return QString::fromUtf8(out).trimmed();
    }
    // Runs a command to its end: its output, trimmed; empty when it failed.
    QString run(const QString& command) const
    {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        QStringList arguments = QProcess::splitCommand(command);
        tool.start(arguments.takeFirst(), arguments);
        if (!tool.waitForFinished(10000) || tool.exitCode() != 0)
            return {};
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }
    bool fail(const QString& message)
    {
        error = message;
        return false;
    }

    QString m_display, m_bus, m_panel;
    QProcess* m_program = nullptr;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

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
        QVERIFY(s.programEnded(true));
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
                QThread::msleep(40);
            };
            move(g.right() - 3);
            s.xdotool(u"mousedown 1"_s);
            for (int i = 1; i <= 10; ++i)
                move(g.right() - 3 + (left - g.left()) * i / 10);
            QThread::msleep(200); // a hand rests before it lets go; a busy machine catches up
            s.xdotool(u"mouseup 1"_s);
        };
        dragTo(12); // stays 12 pixels from the edge
        QTRY_COMPARE(s.geometry().left(), 12);
        dragTo(109);
        QTRY_COMPARE(s.geometry().left(), 109);
        dragTo(9); // lands on the edge
        QTRY_COMPARE(s.geometry().left(), 0);
        QVERIFY(s.screenshot(u"snapped.png"_s));
        QVERIFY(s.programEnded(true));
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
            s.xdotool(
                u"mousemove --window %1 8 8 sleep 0.2 click --repeat 2 --delay 80 1"_s.arg(icon()));
        } else {
            // The host shows the icon first once the program has registered it; a click on it.
            s.xdotool(u"mousemove --window %1 12 12"_s.arg(s.trayPanel()));
            QTRY_VERIFY_WITH_TIMEOUT((s.xdotool(u"click 1"_s), shown()), 10000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(shown(), 10000);
        QVERIFY(s.programEnded(true));
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
            QVERIFY(s.programEnded(true));
            QVERIFY(!first || QFile::remove(s.path(u"czech.ksl"_s)));
        }
    }
};

QTEST_GUILESS_MAIN(tst_E2E)
#include "tst_e2e.moc"
