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

    // Xvfb, with xdotool and ImageMagick's import at hand.
    bool start();
    QString error() const { return m_error; }
    // A private session bus (dbus-daemon) for what starts after it; without it, none.
    bool startSessionBus();
    // A method call over that bus with dbus-send (arguments in its notation, e.g. "string:abc");
    // the reply as dbus-send prints it, empty when the call failed.
    QString busCall(const QString& service, const QString& path, const QString& method,
                    const QStringList& arguments = {}) const;
    // A window manager (openbox) and a tray in a panel along the bottom of the screen: an XEmbed
    // notification area (trayer) or with `statusNotifier` a StatusNotifier host
    // (status-notifier-watcher and gtk-sni-tray-standalone, which need the session bus).
    bool startDesktop(bool statusNotifier = false);

    // The program's settings file, written with these key=value lines.
    void writeSettings(const QStringList& lines) const;
    QString settingsFile() const
    {
        return m_home.path() + QStringLiteral("/config/Hollowmere.ini");
    }
    // Starts the program and waits for its main window.
    bool startProgram(const QString& executable);
    // Closes the program as a user would (Ctrl+X) and waits, as programEnded() does when it
    // ends by itself, until it ends: true when it ended normally with status 0.
    bool closeProgram();
    bool programEnded();

    // Runs xdotool with the arguments (or words); its standard output, trimmed.
    QString xdotool(const QStringList& arguments) const;
    QString xdotool(const QString& words) const { return xdotool(words.split(u' ')); }
    QString windowId() const { return m_window; }
    QString windowTitle() const { return xdotool({QStringLiteral("getwindowname"), m_window}); }
    QRect windowGeometry() const;
    QString trayPanel() const; // empty before startDesktop()
    bool screenshot(const QString& path) const;

private:
    bool fail(const QString& why);
    // The environment of every process on the display.
    QProcessEnvironment environment() const;

    QTemporaryDir m_home;
    QString m_display, m_error, m_window, m_busAddress;
    std::unique_ptr<QProcess> m_xvfb, m_bus, m_windowManager, m_trayWatcher, m_tray, m_program;
};
