#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

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
        const auto watcher = [&](const QString& property) {
            return busCall(u"org.kde.StatusNotifierWatcher /StatusNotifierWatcher "
                           u"org.freedesktop.DBus.Properties.Get "
                           u"string:org.kde.StatusNotifierWatcher string:"_s +
                           property);
        };
        if (!sni)
            spawn(
                u"trayer --edge bottom --align right --widthtype pixel --width 200 --height 24"_s);
        else if (!spawn(u"status-notifier-watcher"_s) ||
                 !QTest::qWaitFor([&] { return !watcher(u"ProtocolVersion"_s).isEmpty(); }) ||
                 !spawn(tray + u" --bottom --size 24"_s) || !QTest::qWaitFor([&] {
                     return watcher(u"IsStatusNotifierHostRegistered"_s).endsWith(u"true"_s);
                 }))
            return fail(u"no StatusNotifier host registered"_s);
        return QTest::qWaitFor([&] { return !trayPanel().isEmpty(); }) ||
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
                   15000) ||
               fail(u"the main window did not appear"_s);
    }
    // Closes the program as a user would (Ctrl+X).
    bool closeProgram()
    {
        focus();
        xdotool(u"key ctrl+x"_s);
        return programEnded();
    }
    // True when the program ended by itself with status 0.
    bool programEnded()
    {
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
        return run(u"dbus-send --session --print-reply --dest="_s + call);
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
