#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A local radio station for tests and benchmarks: icecast2 with a configuration of its own on
// a free loopback port, fed by ffmpeg with a 440 Hz tone as MP3 at 128 kbit/s on the mount
// /tone.mp3. The server can be killed and started again on the same port; the destructor
// stops both processes by their process ids.
class IcecastServer
{
public:
    // With `benchMounts` the same source also feeds /tone.aac (AAC at 128 kbit/s) and, from a
    // server that sends no burst of old data on connect, /noburst.mp3, /noburst.aac and
    // /noburst.bin (MP3 announced as application/octet-stream).
    explicit IcecastServer(bool benchMounts = false);
    ~IcecastServer();

    IcecastServer(const IcecastServer&) = delete;
    IcecastServer& operator=(const IcecastServer&) = delete;

    // Starts the server and the source and waits until the mount answers. On failure (a tool
    // missing, a process that would not start) error() says why.
    bool start();
    // Kills the server as a crash would; the source dies with its connection.
    void killServer();
    // After killServer(): the server and a new source on the same port.
    bool restart();
    // Kills only the source, as a broken encoder would; the server stays up without the mount.
    void killSource();
    // After killSource(): a new source on the mount.
    bool restartSource();

    // Sets the stream title the server sends to its listeners.
    bool setTitle(const QString& title);

    QString error() const { return m_error; }
    quint16 port() const { return m_port; }
    QString streamUrl() const;
    // An address on this server, e.g. url(u"/tone.mp3"_s).
    QString url(const QString& path) const;

    // Sends one HTTP GET to the server and returns the whole answer (headers included);
    // reading stops after `limit` bytes, so a stream mount answers too.
    QByteArray get(const QString& pathAndQuery, qsizetype limit = 4096) const;

private:
    bool startServer();
    bool startSource();
    bool waitForMount();
    void stopProcess(std::unique_ptr<QProcess>& process);

    QTemporaryDir m_dir;
    QString m_config;
    QByteArray m_password;
    quint16 m_port = 0;
    QString m_error;
    bool m_benchMounts = false;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_source;
};
