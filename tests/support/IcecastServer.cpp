#include "IcecastServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>
#include <QUuid>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int StartTimeoutMs = 15000;

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

QByteArray xmlEscaped(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

IcecastServer::IcecastServer(bool benchMounts)
    : m_password(QUuid::createUuid().toByteArray(QUuid::Id128).left(16))
    , m_benchMounts(benchMounts)
{}

IcecastServer::~IcecastServer()
{
    stopProcess(m_source);
    stopProcess(m_server);
}

bool IcecastServer::start()
{
    for (const QString& tool : {u"icecast2"_s, u"ffmpeg"_s}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            m_error = u"%1 is not installed (apt-get install icecast2 ffmpeg)"_s.arg(tool);
            return false;
        }
    }
    if (!m_dir.isValid()) {
        m_error = u"cannot create a temporary folder"_s;
        return false;
    }
    m_port = freeLoopbackPort();
    if (m_port == 0) {
        m_error = u"no free loopback port"_s;
        return false;
    }

    // Started as root, icecast2 becomes nobody and must still reach its folders.
    const QString logDir = m_dir.filePath(u"log"_s);
    QDir().mkpath(logDir);
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(m_dir.path(), open);
    QFile::setPermissions(logDir, open | QFile::WriteGroup | QFile::WriteOther);

    const bool root = ::geteuid() == 0;
    QByteArray config;
    config += "<icecast>\n"
              "  <location>loopback</location>\n  <admin>test@localhost</admin>\n"
              "  <limits>\n    <clients>32</clients>\n    <sources>8</sources>\n"
              "    <queue-size>524288</queue-size>\n    <client-timeout>30</client-timeout>\n"
              "    <header-timeout>15</header-timeout>\n    <source-timeout>10</source-timeout>\n"
              "    <burst-on-connect>1</burst-on-connect>\n    <burst-size>65535</burst-size>\n"
              "  </limits>\n";
    if (m_benchMounts) {
        for (const char* mount : {"/noburst.mp3", "/noburst.aac", "/noburst.bin"})
            config += QByteArray("  <mount type=\"normal\">\n    <mount-name>") + mount +
                      "</mount-name>\n    <burst-size>0</burst-size>\n  </mount>\n";
    }
    config += "  <authentication>\n    <source-password>" + m_password +
              "</source-password>\n    <relay-password>" + m_password +
              "</relay-password>\n    <admin-user>admin</admin-user>\n    <admin-password>" +
              m_password + "</admin-password>\n  </authentication>\n";
    config += "  <hostname>127.0.0.1</hostname>\n  <listen-socket>\n    <port>" +
              QByteArray::number(m_port) +
              "</port>\n    <bind-address>127.0.0.1</bind-address>\n  </listen-socket>\n";
    config += "  <fileserve>1</fileserve>\n  <paths>\n    <basedir>" + xmlEscaped(m_dir.path()) +
              "</basedir>\n    <logdir>" + xmlEscaped(logDir) +
              "</logdir>\n    <webroot>/usr/share/icecast2/web</webroot>\n"
              "    <adminroot>/usr/share/icecast2/admin</adminroot>\n  </paths>\n";
    config += "  <logging>\n    <accesslog>access.log</accesslog>\n"
              "    <errorlog>error.log</errorlog>\n    <loglevel>2</loglevel>\n"
              "  </logging>\n";
    config += "  <security>\n    <chroot>0</chroot>\n";
    if (root)
        config += "    <changeowner>\n      <user>nobody</user>\n      <group>nogroup</group>\n"
                  "    </changeowner>\n";
    config += "  </security>\n</icecast>\n";

    m_config = m_dir.filePath(u"icecast.xml"_s);
    QFile file(m_config);
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size()) {
        m_error = u"cannot write %1"_s.arg(m_config);
        return false;
    }
    file.close();
    QFile::setPermissions(m_config, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::ReadOther);
    return restart();
}

bool IcecastServer::restart()
{
    stopProcess(m_source);
    stopProcess(m_server);
    return startServer() && startSource() && waitForMount();
}

void IcecastServer::killServer()
{
    if (m_server && m_server->state() != QProcess::NotRunning) {
        m_server->kill();
        m_server->waitForFinished(5000);
    }
    stopProcess(m_server);
    stopProcess(m_source);
}

void IcecastServer::killSource()
{
    if (m_source && m_source->state() != QProcess::NotRunning) {
        m_source->kill();
        m_source->waitForFinished(5000);
    }
    stopProcess(m_source);
}

bool IcecastServer::restartSource()
{
    stopProcess(m_source);
    return startSource() && waitForMount();
}

bool IcecastServer::startServer()
{
    m_server = std::make_unique<QProcess>();
    m_server->setProgram(u"icecast2"_s);
    m_server->setArguments({u"-c"_s, m_config});
    m_server->setStandardOutputFile(m_dir.filePath(u"icecast.out"_s), QIODevice::Append);
    m_server->setStandardErrorFile(m_dir.filePath(u"icecast.out"_s), QIODevice::Append);
    m_server->start();
    if (!m_server->waitForStarted(StartTimeoutMs)) {
        m_error = u"icecast2 did not start: %1"_s.arg(m_server->errorString());
        return false;
    }
    // The server listens a moment after it starts.
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!deadline.hasExpired()) {
        if (m_server->state() == QProcess::NotRunning)
            break;
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(500))
            return true;
        QThread::msleep(100);
    }
    QFile log(m_dir.filePath(u"icecast.out"_s));
    log.open(QIODevice::ReadOnly);
    m_error = u"icecast2 does not listen on port %1: %2"_s.arg(m_port).arg(
        QString::fromUtf8(log.readAll().right(600)));
    return false;
}

bool IcecastServer::startSource()
{
    m_source = std::make_unique<QProcess>();
    m_source->setProgram(u"ffmpeg"_s);
    m_source->setArguments({
        u"-nostdin"_s,
        u"-hide_banner"_s,
        u"-loglevel"_s,
        u"error"_s,
        u"-re"_s,
        u"-f"_s,
        u"lavfi"_s,
        u"-i"_s,
        u"sine=frequency=440:sample_rate=44100"_s,
        u"-c:a"_s,
        u"libmp3lame"_s,
        u"-b:a"_s,
        u"128k"_s,
        u"-ac"_s,
        u"2"_s,
        u"-content_type"_s,
        u"audio/mpeg"_s,
        u"-ice_name"_s,
        u"Skylistener Test"_s,
        u"-f"_s,
        u"mp3"_s,
        u"icecast://source:%1@127.0.0.1:%2/tone.mp3"_s.arg(QString::fromLatin1(m_password))
            .arg(m_port),
    });
    if (m_benchMounts) {
        struct Output
        {
            const char* codec;
            const char* type;
            const char* format;
            const char* mount;
        };
        for (const Output& out :
             {Output{"aac", "audio/aac", "adts", "tone.aac"},
              Output{"libmp3lame", "audio/mpeg", "mp3", "noburst.mp3"},
              Output{"aac", "audio/aac", "adts", "noburst.aac"},
              Output{"libmp3lame", "application/octet-stream", "mp3", "noburst.bin"}}) {
            m_source->setArguments(m_source->arguments() +
                                   QStringList{u"-c:a"_s, QString::fromLatin1(out.codec), u"-b:a"_s,
                                               u"128k"_s, u"-ac"_s, u"2"_s, u"-content_type"_s,
                                               QString::fromLatin1(out.type), u"-f"_s,
                                               QString::fromLatin1(out.format),
                                               u"icecast://source:%1@127.0.0.1:%2/%3"_s
                                                   .arg(QString::fromLatin1(m_password))
                                                   .arg(m_port)
                                                   .arg(QString::fromLatin1(out.mount))});
        }
    }
    m_source->setStandardOutputFile(QProcess::nullDevice());
    m_source->setStandardErrorFile(m_dir.filePath(u"ffmpeg.out"_s), QIODevice::Append);
    m_source->start();
    if (!m_source->waitForStarted(StartTimeoutMs)) {
        m_error = u"ffmpeg did not start: %1"_s.arg(m_source->errorString());
        return false;
    }
    return true;
}

bool IcecastServer::waitForMount()
{
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!deadline.hasExpired()) {
        const auto answers = [this](const QString& mount) {
            const QByteArray answer = get(mount, 64);
            return answer.startsWith("HTTP/1.0 200") || answer.startsWith("HTTP/1.1 200");
        };
        if (answers(u"/tone.mp3"_s) &&
            (!m_benchMounts || (answers(u"/tone.aac"_s) && answers(u"/noburst.mp3"_s) &&
                                answers(u"/noburst.aac"_s) && answers(u"/noburst.bin"_s))))
            return true;
        if (m_source->state() == QProcess::NotRunning)
            break;
        QThread::msleep(200);
    }
    QFile log(m_dir.filePath(u"ffmpeg.out"_s));
    log.open(QIODevice::ReadOnly);
    m_error = u"the mount /tone.mp3 does not answer: %1"_s.arg(
        QString::fromUtf8(log.readAll().right(600)));
    return false;
}

bool IcecastServer::setTitle(const QString& title)
{
    const QString query = u"/admin/metadata?mount=/tone.mp3&mode=updinfo&charset=UTF-8&song="_s +
                          QString::fromLatin1(QUrl::toPercentEncoding(title));
    const QByteArray answer = get(query);
    if (!answer.contains(" 200 ")) {
        m_error = u"the title was not accepted: %1"_s.arg(QString::fromUtf8(answer.left(300)));
        return false;
    }
    return true;
}

QString IcecastServer::streamUrl() const
{
    return url(u"/tone.mp3"_s);
}

QString IcecastServer::url(const QString& path) const
{
    return u"http://127.0.0.1:%1%2"_s.arg(m_port).arg(path);
}

QByteArray IcecastServer::get(const QString& pathAndQuery, qsizetype limit) const
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    if (!socket.waitForConnected(2000))
        return {};
    const QByteArray credentials = ("admin:" + m_password).toBase64();
    socket.write("GET " + pathAndQuery.toUtf8() + " HTTP/1.0\r\nHost: 127.0.0.1\r\n" +
                 "Authorization: Basic " + credentials + "\r\n\r\n");
    QByteArray answer;
    while (answer.size() < limit && socket.waitForReadyRead(2000))
        answer += socket.readAll();
    return answer;
}

void IcecastServer::stopProcess(std::unique_ptr<QProcess>& process)
{
    if (!process)
        return;
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
    process.reset();
}
