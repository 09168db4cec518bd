#pragma once

#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A private X server (Xvfb) and the real program on it, with its settings in a temporary home.
// Input goes through xdotool (XTEST), as a person's would. A start that fails says why.
class X11Session
{
public:
    ~X11Session();

    // Xvfb, and with `sessionBus` a private session bus for what starts later; else no bus.
    bool start(bool sessionBus = false);
    // dbus-send on the private bus, and xdotool, with these words: their output, empty when
    // they failed.
    QString busCall(const QString& words) const
    {
        return run(QStringLiteral("dbus-send"), QStringLiteral("--session --print-reply ") + words);
    }
    QString xdotool(const QString& words) const { return run(QStringLiteral("xdotool"), words); }
    // openbox and a tray panel along the bottom: an XEmbed notification area (trayer) or, with
    // `statusNotifier`, a StatusNotifier host (which needs the bus).
    bool startDesktop(bool statusNotifier = false);
    QString trayPanel() const;
    // The accessibility bus on the session bus, switched on as a screen reader does: its
    // address, or empty when it did not start.
    QString startAccessibilityBus();

    // dunst on the display and the private bus (start(true) first), each notification shown
    // until closed; waits until it serves org.freedesktop.Notifications.
    bool startNotificationServer();
    // How many notifications dunst shows now; -1 without it.
    int notificationsShown() const;
    // A notification as dunst took it: its id (the same for one replaced in place), the summary
    // and the body as dunst shows it (markup rendered).
    struct Notification
    {
        uint id;
        QString summary, body;
    };
    // Every notification dunst has taken since it started, in order, replacements included.
    QList<Notification> notificationsReceived() const;

    QString settingsFile() const
    {
        return m_home.filePath(QStringLiteral("config/Hollowmere.ini"));
    }
    // Starts the program, with a settings file of these key=value lines unless none are given,
    // and waits for its main window to show and take the keyboard.
    bool startProgram(const QStringList& settings = {},
                      const QString& executable = QStringLiteral(SKYLISTENER_EXE));
    // Closes the program with Ctrl+X; both wait until it ends: true when it ended with status 0.
    bool closeProgram();
    bool programEnded();

    QString windowId() const { return m_window; }
    QString windowTitle() const { return xdotool(QStringLiteral("getwindowname ") + m_window); }
    QRect windowGeometry() const;

private:
    static bool fail(const QString& why) { return qWarning("%s", qPrintable(why)), false; }
    QProcessEnvironment environment() const;
    QString run(const QString& program, const QString& words) const;
    bool launch(std::unique_ptr<QProcess>& process, const QString& program,
                const QStringList& arguments,
                QProcess::ProcessChannelMode channels = QProcess::SeparateChannels);

    QTemporaryDir m_home;
    QString m_display, m_window, m_busAddress;
    std::unique_ptr<QProcess> m_xvfb, m_bus, m_windowManager, m_trayWatcher, m_tray, m_program,
        m_accessibilityBus, m_notifications;
};
