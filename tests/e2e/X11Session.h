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
        return run(u"dbus-send"_s, u"--session --print-reply "_s + words);
    }
    QString xdotool(const QString& words) const { return run(u"xdotool"_s, words); }
    // openbox and a tray panel along the bottom: an XEmbed notification area (trayer) or, with
    // `statusNotifier`, a StatusNotifier host (which needs the bus).
    bool startDesktop(bool statusNotifier = false);
    QString trayPanel() const
    {
        const QString host = m_trayWatcher ? u"gtk-sni-tray-standalone"_s : u"trayer"_s;
        return xdotool(u"search --onlyvisible --class "_s + host).section(u'\n', 0, 0);
    }
    // The accessibility bus, switched on as a screen reader does: its address, or empty.
    QString startAccessibilityBus();

    // dunst on the private bus, each notification shown until closed.
    bool startNotificationServer();
    int notificationsShown() const { return run(u"dunstctl"_s, u"count displayed"_s).toInt(); }
    // Every notification dunst has taken, in order, replacements included: its id (the same for
    // one replaced in place) and "summary: body", the body as dunst shows it (markup rendered).
    QList<std::pair<uint, QString>> notificationsReceived() const;

    QString homeFile(const QString& name) const { return m_home.filePath(name); }
    QString settingsFile() const { return homeFile(u"config/Hollowmere.ini"_s); }
    // Starts the program, with a settings file of these key=value lines unless none are given,
    // and waits for its main window to show and take the keyboard.
    bool startProgram(const QStringList& settings = {},
                      const QString& executable = QStringLiteral(SKYLISTENER_EXE));
    // Closes the program with Ctrl+X; both wait until it ends: true when it ended with status 0.
    bool closeProgram()
    {
        xdotool(u"windowfocus --sync "_s + m_window + u" key ctrl+x"_s);
        return programEnded();
    }
    bool programEnded();

    QString windowId() const { return m_window; }
    QString windowTitle() const { return xdotool(u"getwindowname "_s + m_window); }
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
