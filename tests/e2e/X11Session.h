#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A private X server (Xvfb) on a display of its own, and the real program started on it with
// settings in a temporary folder. Input goes through xdotool (the XTEST extension), as a
// person's would; screenshots come from ImageMagick's import.
class X11Session
{
public:
    X11Session();
    ~X11Session();

    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    // Starts Xvfb; false (see error()) when it or xdotool is missing.
    bool start();
    QString error() const { return m_error; }
    QString display() const { return m_display; }

    // A private session bus (dbus-daemon) for the desktop and the program started after it;
    // without it both run with no session bus. False when it does not start.
    bool startSessionBus();
    // Calls a method over that bus with dbus-send (arguments in its notation, e.g.
    // "string:abc"); the reply as dbus-send prints it, empty when the call failed.
    QString busCall(const QString& service, const QString& path, const QString& method,
                    const QStringList& arguments = {}) const;

    // Where the desktop shows tray icons: an XEmbed notification area (trayer) or a
    // StatusNotifier host (status-notifier-watcher and gtk-sni-tray-standalone, which need the
    // session bus). Both sit in a panel along the bottom of the screen.
    enum class Tray
    {
        XEmbed,
        StatusNotifier,
    };
    // A window manager (openbox) and a tray on the display, for tests that minimise windows
    // or need a tray; false when one is missing.
    bool startDesktop(Tray tray = Tray::XEmbed);

    // The folder that stands in for the user's configuration and data folders.
    QString homePath() const { return m_home.path(); }
    // Writes the program's settings file with these key=value lines.
    void writeSettings(const QStringList& lines) const;
    QString settingsFile() const;

    // Starts the program and waits for its main window; false on failure.
    bool startProgram(const QString& executable);
    // Closes the program the way a user would (Ctrl+X) and waits for it to end.
    bool closeProgram();
    // Waits for the program to end by itself; true when it ended normally with status 0.
    bool programEnded();

    // Runs xdotool with the arguments; its standard output, trimmed.
    QString xdotool(const QStringList& arguments) const;
    QString windowId() const { return m_window; }
    // The tray's panel window; empty before startDesktop().
    QString trayPanel() const;
    QString windowTitle() const;
    QRect windowGeometry() const;

    bool screenshot(const QString& path) const;

private:
    // The environment of every process on the display.
    QProcessEnvironment environment() const;

    QTemporaryDir m_home;
    QString m_display;
    QString m_error;
    QString m_window;
    QString m_busAddress;
    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_bus;
    std::unique_ptr<QProcess> m_windowManager;
    std::unique_ptr<QProcess> m_trayWatcher;
    std::unique_ptr<QProcess> m_tray;
    std::unique_ptr<QProcess> m_program;
};
