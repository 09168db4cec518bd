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

    // A window manager (openbox) and a notification area (trayer) on the display, for tests
    // that minimise windows or need a tray; false when either is missing.
    bool startDesktop();

    // The folder that stands in for the user's configuration and data folders.
    QString homePath() const { return m_home.path(); }
    // Writes the program's settings file with these key=value lines.
    void writeSettings(const QStringList& lines) const;
    QString settingsFile() const;

    // Starts the program and waits for its main window; false on failure.
    bool startProgram(const QString& executable);
    // Closes the program the way a user would (Ctrl+X) and waits for it to end.
    bool closeProgram();

    // Runs xdotool with the arguments; its standard output, trimmed.
    QString xdotool(const QStringList& arguments) const;
    QString windowId() const { return m_window; }
    QString windowTitle() const;
    QRect windowGeometry() const;

    bool screenshot(const QString& path) const;

private:
    QTemporaryDir m_home;
    QString m_display;
    QString m_error;
    QString m_window;
    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_windowManager;
    std::unique_ptr<QProcess> m_tray;
    std::unique_ptr<QProcess> m_program;
};
