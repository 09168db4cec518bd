#pragma once

#include "TestFolder.h"

#include <memory>

// A private X server (Xvfb) and the real program on it, with its settings in a temporary home.
// Input goes through xdotool (XTEST), as a person's would. A start that fails says why.
class X11Session
{
public:
    ~X11Session();

    // Xvfb, and with `sessionBus` a private session bus for what starts later; else no bus.
    bool start(bool sessionBus = false);
    // dbus-send on the private bus, and xdotool, with these words: their output, empty on failure.
    QString busCall(const QString& words) const
    {
        return run(QStringLiteral("dbus-send"), QStringLiteral("--session --print-reply ") + words);
    }
    QString xdotool(const QString& words) const { return run(QStringLiteral("xdotool"), words); }
    // openbox and a tray panel along the bottom: an XEmbed notification area (trayer) or, with
    // `statusNotifier`, a StatusNotifier host (which needs the bus).
    bool startDesktop(bool statusNotifier = false);
    QString trayPanel() const;
    // The accessibility bus, switched on as a screen reader does: its address, or empty.
    QString startAccessibilityBus();

    // dunst on the private bus, each notification shown until closed.
    bool startNotificationServer();
    int notificationsShown() const; // -1 without dunst
    struct Notification
    {
        uint id;               // the same for one replaced in place
        QString summary, body; // the body as dunst shows it (markup rendered)
    };
    // Every notification dunst has taken, in order, replacements included.
    QList<Notification> notificationsReceived() const;

    QString homeFile(const QString& name) const { return m_home.filePath(name); }
    QString settingsFile() const { return homeFile(QStringLiteral("config/Hollowmere.ini")); }
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

    TestFolder m_home;
    QString m_display, m_window, m_busAddress;
    std::unique_ptr<QProcess> m_xvfb, m_bus, m_windowManager, m_trayWatcher, m_tray, m_program,
        m_accessibilityBus, m_notifications;
};
