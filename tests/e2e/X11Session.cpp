#include "X11Session.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

using namespace Qt::StringLiterals;

X11Session::X11Session() = default;

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
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            m_error = tool + u" is not installed"_s;
            return false;
        }
    }
    // -displayfd: the server picks a free display and writes its number to the given fd (1).
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1024x768x24"_s,
                              u"-nolisten"_s, u"tcp"_s});
    if (!m_xvfb->waitForStarted(5000)) {
        m_error = u"Xvfb did not start"_s;
        return false;
    }
    QDeadlineTimer deadline(10000);
    QByteArray number;
    while (!number.contains('\n') && !deadline.hasExpired()) {
        m_xvfb->waitForReadyRead(200);
        number += m_xvfb->readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        m_error = u"Xvfb gave no display number"_s;
        return false;
    }
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
    if (!address.contains('\n')) {
        m_error = u"dbus-daemon gave no address"_s;
        return false;
    }
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

bool X11Session::startDesktop(Tray tray)
{
    const QProcessEnvironment env = environment();
    const auto launch = [&](std::unique_ptr<QProcess>& process, const QString& program,
                            const QStringList& arguments) {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            m_error = program + u" is not installed"_s;
            return false;
        }
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
    if (tray == Tray::XEmbed) {
        if (!launch(m_tray, u"trayer"_s,
                    {u"--edge"_s, u"bottom"_s, u"--align"_s, u"right"_s, u"--widthtype"_s,
                     u"pixel"_s, u"--width"_s, u"200"_s, u"--height"_s, u"24"_s}))
            return false;
    } else {
        if (m_busAddress.isEmpty()) {
            m_error = u"a StatusNotifier host needs the session bus"_s;
            return false;
        }
        // The host registers with the watcher, and the program asks the watcher whether a host
        // runs: each waits for the one before it.
        const auto waitForWatcher = [&](const QString& property, const QString& value) {
            for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QThread::msleep(100)) {
                const QString reply =
                    busCall(u"org.kde.StatusNotifierWatcher"_s, u"/StatusNotifierWatcher"_s,
                            u"org.freedesktop.DBus.Properties.Get"_s,
                            {u"string:org.kde.StatusNotifierWatcher"_s, u"string:"_s + property});
                if (!reply.isEmpty() && reply.endsWith(value))
                    return true;
            }
            m_error = u"the StatusNotifier watcher did not report "_s + property;
            return false;
        };
        if (!launch(m_trayWatcher, u"status-notifier-watcher"_s, {}) ||
            !waitForWatcher(u"ProtocolVersion"_s, QString()))
            return false;
        if (!launch(m_tray, u"gtk-sni-tray-standalone"_s, {u"--bottom"_s, u"--size"_s, u"24"_s}) ||
            !waitForWatcher(u"IsStatusNotifierHostRegistered"_s, u"true"_s))
            return false;
    }
    // The tray is ready once its panel window shows.
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (!trayPanel().isEmpty())
            return true;
        QThread::msleep(100);
    }
    m_error = u"the tray showed no panel"_s;
    return false;
}

QString X11Session::trayPanel() const
{
    return xdotool({u"search"_s, u"--onlyvisible"_s, u"--class"_s,
                    m_trayWatcher ? u"gtk-sni-tray-standalone"_s : u"trayer"_s})
        .section(u'\n', 0, 0);
}

QString X11Session::settingsFile() const
{
    return QDir(m_home.path()).filePath(u"config/Hollowmere.ini"_s);
}

void X11Session::writeSettings(const QStringList& lines) const
{
    QDir().mkpath(QDir(m_home.path()).filePath(u"config"_s));
    QFile file(settingsFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write((u"[Skylistener]\n"_s + lines.join(u'\n') + u'\n').toUtf8());
}

bool X11Session::startProgram(const QString& executable)
{
    QProcessEnvironment env = environment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    env.insert(u"XDG_CONFIG_HOME"_s, QDir(m_home.path()).filePath(u"config"_s));
    env.insert(u"XDG_DATA_HOME"_s, QDir(m_home.path()).filePath(u"data"_s));
    // No sound card here: ALSA's default device discards the sound, so streams play as usual.
    QFile asoundrc(QDir(m_home.path()).filePath(u".asoundrc"_s));
    if (asoundrc.open(QIODevice::WriteOnly | QIODevice::Truncate))
        asoundrc.write("pcm.!default { type null }\n");
    m_program = std::make_unique<QProcess>();
    m_program->setProcessEnvironment(env);
    m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_program->start(executable, {});
    if (!m_program->waitForStarted(5000)) {
        m_error = u"the program did not start"_s;
        return false;
    }
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        const QString found =
            xdotool({u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"skylistener"_s});
        if (!found.isEmpty()) {
            m_window = found.split(u'\n').first();
            return true;
        }
        QThread::msleep(100);
    }
    m_error = u"the main window did not appear"_s;
    return false;
}

bool X11Session::closeProgram()
{
    xdotool({u"windowfocus"_s, u"--sync"_s, m_window});
    xdotool({u"key"_s, u"ctrl+x"_s});
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

QString X11Session::windowTitle() const
{
    return xdotool({u"getwindowname"_s, m_window});
}

QRect X11Session::windowGeometry() const
{
    // "X=10\nY=20\nWIDTH=343\nHEIGHT=182\n..." from --shell.
    const QString out = xdotool({u"getwindowgeometry"_s, u"--shell"_s, m_window});
    const auto value = [&](const QString& key) {
        const QRegularExpression re(u"^"_s + key + u"=(-?\\d+)$"_s,
                                    QRegularExpression::MultilineOption);
        return re.match(out).captured(1).toInt();
    };
    return {value(u"X"_s), value(u"Y"_s), value(u"WIDTH"_s), value(u"HEIGHT"_s)};
}

bool X11Session::screenshot(const QString& path) const
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return QProcess::execute(u"import"_s,
                             {u"-display"_s, m_display, u"-window"_s, u"root"_s, path}) == 0;
}
