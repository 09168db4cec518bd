#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A private X server (Xvfb) on a display of its own and the real program started on it, with
// its settings in a temporary home. Input goes through xdotool (the XTEST extension), as a
// person's would. Each start returns false with error() saying why when it fails.
class X11Session
{
public:
    X11Session() = default;
    ~X11Session();
    Q_DISABLE_COPY(X11Session)

    bool start();
    QString error() const { return m_error; }
    // A private session bus (dbus-daemon) for what starts after it; without it, none.
    bool startSessionBus();
    // A method call over that bus with dbus-send: its reply, empty when the call failed.
    QString busCall(const QString& service, const QString& path, const QString& method,
                    const QStringList& arguments = {}) const;
    // A window manager (openbox) and a tray panel along the bottom: an XEmbed notification area
    // (trayer) or, with `statusNotifier`, a StatusNotifier host, which needs the session bus.
    bool startDesktop(bool statusNotifier = false);
    QString trayPanel() const;

    QString settingsFile() const
    {
        return m_home.filePath(QStringLiteral("config/Hollowmere.ini"));
    }
    // Starts the program, with a settings file of these key=value lines unless none are given,
    // and waits for its main window to show and take the keyboard.
    bool startProgram(const QString& executable, const QStringList& settings = {});
    // Closes the program as a user would (Ctrl+X); both wait until the program ends and say
    // whether it ended normally with status 0.
    bool closeProgram();
    bool programEnded();

    // Runs xdotool with these words; its standard output, trimmed.
    QString xdotool(const QString& words) const;
    QString windowId() const { return m_window; }
    QString windowTitle() const { return xdotool(QStringLiteral("getwindowname ") + m_window); }
    QRect windowGeometry() const;

private:
    bool fail(const QString& why);
    QProcessEnvironment environment() const;
    bool launch(std::unique_ptr<QProcess>& process, const QString& program,
                const QStringList& arguments,
                QProcess::ProcessChannelMode channels = QProcess::SeparateChannels);
    // The first line the process writes to its standard output, empty if none comes.
    static QString firstLine(QProcess& process);

    QTemporaryDir m_home;
    QString m_display, m_error, m_window, m_busAddress;
    std::unique_ptr<QProcess> m_xvfb, m_bus, m_windowManager, m_trayWatcher, m_tray, m_program;
};
