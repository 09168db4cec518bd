#include "X11Session.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QThread>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Polls `ready` every tenth of a second until it holds or `ms` have passed.
bool waitUntil(int ms, const std::function<bool()>& ready)
{
    for (QDeadlineTimer deadline(ms); !deadline.hasExpired(); QThread::msleep(100)) {
        if (ready())
            return true;
    }
    return false;
}

} // namespace

bool X11Session::fail(const QString& why)
{
    m_error = why;
    return false;
}

X11Session::~X11Session()
{
    for (auto* process : {m_program.get(), m_tray.get(), m_trayWatcher.get(), m_windowManager.get(),
                          m_bus.get(), m_xvfb.get()}) {
        if (process && process->state() != QProcess::NotRunning) {
            // Asked first: a killed X server leaves its lock and socket behind, and a server
            // started at the same time elsewhere can then take the same display.
            process->terminate();
            if (!process->waitForFinished(3000)) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }
}

bool X11Session::start()
{
    for (const QString& tool : {u"Xvfb"_s, u"xdotool"_s, u"import"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return fail(tool + u" is not installed"_s);
    }
    // -displayfd: the server picks a free display and writes its number to the given fd (1).
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1024x768x24"_s,
                              u"-nolisten"_s, u"tcp"_s});
    if (!m_xvfb->waitForStarted(5000))
        return fail(u"Xvfb did not start"_s);
    QDeadlineTimer deadline(10000);
    QByteArray number;
    while (!number.contains('\n') && !deadline.hasExpired()) {
        m_xvfb->waitForReadyRead(200);
        number += m_xvfb->readAllStandardOutput();
    }
    if (!number.contains('\n'))
        return fail(u"Xvfb gave no display number"_s);
    m_display = u":"_s + QString::fromLatin1(number.trimmed());
    return true;
}

bool X11Session::startSessionBus()
{
    // --print-address: the daemon writes the address it listens on to the given fd (1).
    m_bus = std::make_unique<QProcess>();
    m_bus->start(u"dbus-daemon"_s,
                 {u"--session"_s, u"--nofork"_s, u"--nopidfile"_s, u"--print-address=1"_s});
    QDeadlineTimer deadline(10000);
    QByteArray address;
    while (m_bus->waitForStarted(5000) && !address.contains('\n') && !deadline.hasExpired()) {
        m_bus->waitForReadyRead(200);
        address += m_bus->readAllStandardOutput();
    }
    if (!address.contains('\n'))
        return fail(u"dbus-daemon gave no address"_s);
    m_busAddress = QString::fromUtf8(address.trimmed());
    return true;
}

QProcessEnvironment X11Session::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DISPLAY"_s, m_display);
    env.insert(u"HOME"_s, m_home.path());
    // The private session bus or none, and none started on the side for the X display either.
    env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s,
               m_busAddress.isEmpty() ? u"disabled:"_s : m_busAddress);
    return env;
}

QString X11Session::busCall(const QString& service, const QString& path, const QString& method,
                            const QStringList& arguments) const
{
    QProcess send;
    send.setProcessEnvironment(environment());
    send.start(u"dbus-send"_s, QStringList{u"--session"_s, u"--print-reply"_s,
                                           u"--dest="_s + service, path, method} +
                                   arguments);
    if (!send.waitForFinished(10000) || send.exitStatus() != QProcess::NormalExit ||
        send.exitCode() != 0)
        return {};
    return QString::fromUtf8(send.readAllStandardOutput()).trimmed();
}

bool X11Session::startDesktop(bool statusNotifier)
{
    const QProcessEnvironment env = environment();
    const auto launch = [&](std::unique_ptr<QProcess>& process, const QString& program,
                            const QStringList& arguments) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return fail(program + u" is not installed"_s);
        process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(program, arguments);
        return process->waitForStarted(5000);
    };
    if (!launch(m_windowManager, u"openbox"_s, {}))
        return false;
    QThread::msleep(500);
    if (!statusNotifier) {
        const QString panel =
            u"--edge bottom --align right --widthtype pixel --width 200 --height 24"_s;
        if (!launch(m_tray, u"trayer"_s, panel.split(u' ')))
            return false;
    } else {
        if (m_busAddress.isEmpty())
            return fail(u"a StatusNotifier host needs the session bus"_s);
        // The host registers with the watcher, and the program asks the watcher whether a host
        // runs: each waits for the one before it.
        const auto waitForWatcher = [&](const QString& property, const QString& value) {
            const auto reports = [&] {
                const QString reply =
                    busCall(u"org.kde.StatusNotifierWatcher"_s, u"/StatusNotifierWatcher"_s,
                            u"org.freedesktop.DBus.Properties.Get"_s,
                            {u"string:org.kde.StatusNotifierWatcher"_s, u"string:"_s + property});
                return !reply.isEmpty() && reply.endsWith(value);
            };
            return waitUntil(10000, reports) ||
                   fail(u"the StatusNotifier watcher did not report "_s + property);
        };
        if (!launch(m_trayWatcher, u"status-notifier-watcher"_s, {}) ||
            !waitForWatcher(u"ProtocolVersion"_s, QString()))
            return false;
        if (!launch(m_tray, u"gtk-sni-tray-standalone"_s, {u"--bottom"_s, u"--size"_s, u"24"_s}) ||
            !waitForWatcher(u"IsStatusNotifierHostRegistered"_s, u"true"_s))
            return false;
    }
    // The tray is ready once its panel window shows.
    return waitUntil(10000, [&] { return !trayPanel().isEmpty(); }) ||
           fail(u"the tray showed no panel"_s);
}

QString X11Session::trayPanel() const
{
    const QString host = m_trayWatcher ? u"gtk-sni-tray-standalone"_s : u"trayer"_s;
    return xdotool(u"search --onlyvisible --class "_s + host).section(u'\n', 0, 0);
}

void X11Session::writeSettings(const QStringList& lines) const
{
    QDir().mkpath(m_home.filePath(u"config"_s));
    QFile file(settingsFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write((u"[Skylistener]\n"_s + lines.join(u'\n') + u'\n').toUtf8());
}

bool X11Session::startProgram(const QString& executable)
{
    QProcessEnvironment env = environment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u"config"_s));
    env.insert(u"XDG_DATA_HOME"_s, m_home.filePath(u"data"_s));
    // No sound card here: ALSA's default device discards the sound, so streams play as usual.
    QFile asoundrc(m_home.filePath(u".asoundrc"_s));
    if (asoundrc.open(QIODevice::WriteOnly | QIODevice::Truncate))
        asoundrc.write("pcm.!default { type null }\n");
    m_program = std::make_unique<QProcess>();
    m_program->setProcessEnvironment(env);
    m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_program->start(executable, {});
    if (!m_program->waitForStarted(5000))
        return fail(u"the program did not start"_s);
    const auto shown = [&] {
        m_window = xdotool(u"search --onlyvisible --name skylistener"_s).section(u'\n', 0, 0);
        return !m_window.isEmpty();
    };
    return waitUntil(30000, shown) ||
           fail(u"the main window did not appear on display "_s + m_display +
                (m_xvfb->state() == QProcess::Running ? u", Xvfb runs: "_s : u", Xvfb ended: "_s) +
                QString::fromUtf8(m_xvfb->readAllStandardError().right(300)));
}

bool X11Session::closeProgram()
{
    xdotool(u"windowfocus --sync "_s + m_window);
    xdotool(u"key ctrl+x"_s);
    return programEnded();
}

bool X11Session::programEnded()
{
    return m_program->waitForFinished(10000) && m_program->exitStatus() == QProcess::NormalExit &&
           m_program->exitCode() == 0;
}

QString X11Session::xdotool(const QStringList& arguments) const
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DISPLAY"_s, m_display);
    tool.setProcessEnvironment(env);
    tool.start(u"xdotool"_s, arguments);
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

QRect X11Session::windowGeometry() const
{
    // "WINDOW=1\nX=10\nY=20\nWIDTH=343\nHEIGHT=182\nSCREEN=0" from --shell.
    QHash<QString, int> value;
    for (const QString& line : xdotool(u"getwindowgeometry --shell "_s + m_window).split(u'\n'))
        value[line.section(u'=', 0, 0)] = line.section(u'=', 1).toInt();
    return {value[u"X"_s], value[u"Y"_s], value[u"WIDTH"_s], value[u"HEIGHT"_s]};
}

bool X11Session::screenshot(const QString& path) const
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return QProcess::execute(u"import"_s,
                             {u"-display"_s, m_display, u"-window"_s, u"root"_s, path}) == 0;
}
