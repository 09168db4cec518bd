#include "X11Session.h"

#include <QTextDocumentFragment>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

bool waitUntil(const std::function<bool()>& ready, int ms = 10000)
{
    for (QDeadlineTimer deadline(ms); !deadline.hasExpired(); QThread::msleep(100))
        if (ready())
            return true;
    return false;
}

// The first line a process writes, as Xvfb -displayfd and dbus-daemon --print-address do.
QString firstLine(QProcess& process)
{
    waitUntil([&] { return process.waitForReadyRead(100), process.canReadLine(); });
    return QString::fromUtf8(process.readLine().trimmed());
}

} // namespace

X11Session::~X11Session()
{
    // Each asked to end, the X server last (what is left the QProcess kills): a killed X server
    // leaves its lock behind, and a server started at the same time elsewhere can take its display.
    for (auto* process :
         {m_program.get(), m_notifications.get(), m_accessibilityBus.get(), m_tray.get(),
          m_trayWatcher.get(), m_windowManager.get(), m_bus.get(), m_xvfb.get()}) {
        if (process) {
            process->terminate();
            process->waitForFinished(3000);
        }
    }
}

QProcessEnvironment X11Session::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DISPLAY"_s, m_display);
    env.insert(u"HOME"_s, m_home.path());
    env.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u"config"_s));
    env.insert(u"XDG_DATA_HOME"_s, m_home.filePath(u"data"_s));
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    // Without the private bus none, and none started on the side for the display either.
    env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s,
               m_busAddress.isEmpty() ? u"disabled:"_s : m_busAddress);
    return env;
}

bool X11Session::launch(std::unique_ptr<QProcess>& process, const QString& program,
                        const QStringList& arguments, QProcess::ProcessChannelMode channels)
{
    process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->setProcessChannelMode(channels);
    process->start(program, arguments);
    return process->waitForStarted(5000) || fail(program + u" did not start"_s);
}

bool X11Session::start(bool sessionBus)
{
    if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
        return fail(u"xdotool is not installed"_s);
    if (!launch(m_xvfb, u"Xvfb"_s,
                u"-displayfd 1 -screen 0 1024x768x24 -nolisten tcp"_s.split(u' ')))
        return false;
    m_display = u":"_s + firstLine(*m_xvfb); // an empty one fails with what Xvfb says
    if (!sessionBus)
        return true;
    if (!launch(m_bus, u"dbus-daemon"_s,
                u"--session --nofork --nopidfile --print-address=1"_s.split(u' ')))
        return false;
    m_busAddress = firstLine(*m_bus);
    return !m_busAddress.isEmpty() || fail(u"dbus-daemon gave no address"_s);
}

bool X11Session::startDesktop(bool statusNotifier)
{
    if (!launch(m_windowManager, u"openbox"_s, {}))
        return false;
    QThread::msleep(500);
    // The host registers with the watcher, and the program asks the watcher whether a host
    // runs: each waits for the one before it.
    const auto watcherSays = [&](const QString& property, const QString& value) {
        const QString get = u"--dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher "
                            u"org.freedesktop.DBus.Properties.Get "
                            u"string:org.kde.StatusNotifierWatcher string:"_s;
        return waitUntil([&] { return busCall(get + property).contains(value); }) ||
               fail(u"the StatusNotifier watcher did not report "_s + property);
    };
    const bool started =
        statusNotifier ? launch(m_trayWatcher, u"status-notifier-watcher"_s, {}) &&
                             watcherSays(u"ProtocolVersion"_s, u"variant"_s) &&
                             launch(m_tray, u"gtk-sni-tray-standalone"_s,
                                    u"--bottom --size 24"_s.split(u' ')) &&
                             watcherSays(u"IsStatusNotifierHostRegistered"_s, u"boolean true"_s)
                       : launch(m_tray, u"trayer"_s,
                                u"--edge bottom --align right --widthtype pixel --width 200 "
                                u"--height 24"_s.split(u' '));
    return started && (waitUntil([&] { return !trayPanel().isEmpty(); }) ||
                       fail(u"the tray showed no panel"_s));
}

QString X11Session::startAccessibilityBus()
{
    const QString enable = u"--dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set "
                           u"string:org.a11y.Status string:IsEnabled variant:boolean:true"_s;
    QString address;
    if (launch(m_accessibilityBus, u"/usr/libexec/at-spi-bus-launcher"_s,
               {u"--launch-immediately"_s}) &&
        waitUntil([&] {
            address = busCall(u"--dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress"_s)
                          .section(u'"', 1, 1);
            return !address.isEmpty();
        }) &&
        !busCall(enable).isEmpty())
        return address;
    return fail(u"the accessibility bus did not start (apt-get install at-spi2-core)"_s), QString();
}

bool X11Session::startNotificationServer()
{
    // Every notification dunst takes, a replacement too, runs a script that logs it.
    const QString script = m_home.write(
        u"notified.sh"_s, "#!/bin/sh\nprintf '%s\\t%s\\t%s\\n' \"$DUNST_ID\" "
                          "\"$DUNST_SUMMARY\" \"$DUNST_BODY\" >> \"$HOME/notifications.log\"\n");
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    // Nothing expires, however slow the machine; duplicates are not merged and nothing is held
    // back, so every notification sent is one counted.
    const QString config = m_home.write(
        u"dunstrc"_s, "[global]\n    stack_duplicates = false\n    notification_limit = 0\n"
                      "[urgency_low]\n    timeout = 0\n[urgency_normal]\n    timeout = 0\n"
                      "[urgency_critical]\n    timeout = 0\n[log]\n    script = " +
                          script.toUtf8() + '\n');
    if (!launch(m_notifications, u"dunst"_s, {u"-config"_s, config, u"-verbosity"_s, u"crit"_s}))
        return false;
    const QString owned = u"--dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner "
                          u"string:org.freedesktop.Notifications"_s;
    return waitUntil([&] { return busCall(owned).endsWith(u"true"_s); }) ||
           fail(u"dunst did not take org.freedesktop.Notifications"_s);
}

QList<std::pair<uint, QString>> X11Session::notificationsReceived() const
{
    // Whole lines only: a script may be writing the last one.
    QList<QByteArray> lines = m_home.read(u"notifications.log"_s).split('\n');
    lines.removeLast();
    QList<std::pair<uint, QString>> received;
    for (const QByteArray& line : lines) {
        const QStringList fields = QString::fromUtf8(line).split(u'\t'); // the body is markup
        const QString body = fields.mid(2).join(u'\t');
        received.append(
            {fields[0].toUInt(),
             fields.value(1) + u": "_s + QTextDocumentFragment::fromHtml(body).toPlainText()});
    }
    return received;
}

bool X11Session::startProgram(const QStringList& settings, const QString& executable)
{
    QDir().mkpath(m_home.filePath(u"config"_s));
    if (!settings.isEmpty())
        m_home.write(u"config/Hollowmere.ini"_s,
                     (u"[Skylistener]\n"_s + settings.join(u'\n') + u'\n').toUtf8());
    // No sound card here: ALSA's default device discards the sound, so streams play as usual.
    m_home.write(u".asoundrc"_s, "pcm.!default { type null }\n");
    if (!launch(m_program, executable, {}, QProcess::ForwardedErrorChannel))
        return false;
    const auto shown = [&] {
        m_window = xdotool(u"search --onlyvisible --name skylistener"_s).section(u'\n', 0, 0);
        return !m_window.isEmpty();
    };
    if (!waitUntil(shown, 30000))
        return fail(u"no main window on display "_s + m_display + u"; Xvfb says: "_s +
                    QString::fromUtf8(m_xvfb->readAllStandardError().right(300)));
    xdotool(u"windowfocus --sync "_s + m_window);
    QThread::msleep(300);
    return true;
}

bool X11Session::programEnded()
{
    return m_program->waitForFinished(10000) && m_program->exitStatus() == QProcess::NormalExit &&
           m_program->exitCode() == 0;
}

QString X11Session::run(const QString& program, const QString& words) const
{
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(program, words.split(u' '));
    const bool ok = tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit &&
                    tool.exitCode() == 0;
    return ok ? QString::fromUtf8(tool.readAllStandardOutput()).trimmed() : QString();
}

QRect X11Session::windowGeometry() const
{
    // "WINDOW=1\nX=10\nY=20\nWIDTH=343\nHEIGHT=182\nSCREEN=0" from --shell.
    const QStringList lines = xdotool(u"getwindowgeometry --shell "_s + m_window).split(u'\n');
    const auto value = [&](int line) { return lines.value(line).section(u'=', 1).toInt(); };
    return {value(1), value(2), value(3), value(4)};
}
