#include "IcecastServer.h"

#include <QtNetwork>

#include <algorithm>

#include <unistd.h>

using namespace Qt::StringLiterals;

// %1 the password, %2 the port, %3 and %4 the base and log folders, %5 the change of owner when
// started as root, %6 more mounts.
constexpr char Config[] = R"(<icecast><limits><sources>8</sources></limits>
<authentication><source-password>%1</source-password><admin-user>admin</admin-user>
<admin-password>%1</admin-password></authentication>
<listen-socket><port>%2</port><bind-address>127.0.0.1</bind-address></listen-socket>
<paths><basedir>%3</basedir><logdir>%4</logdir><webroot>/usr/share/icecast2/web</webroot>
<adminroot>/usr/share/icecast2/admin</adminroot></paths>
<security><chroot>0</chroot>%5</security>%6</icecast>
)";

IcecastServer::IcecastServer(Mounts more)
    : m_more(std::move(more))
    , m_password(QUuid::createUuid().toByteArray(QUuid::Id128).left(16))
{}

IcecastServer::~IcecastServer()
{
    stop(m_source);
    stop(m_server);
}

bool IcecastServer::start()
{
    if (QTcpServer probe; probe.listen(QHostAddress::LocalHost, 0))
        m_port = probe.serverPort();
    // Started as root, icecast2 becomes nobody and must still reach its folders.
    const QString logDir = m_dir.filePath(u"log"_s);
    QDir().mkpath(logDir);
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(m_dir.path(), open);
    QFile::setPermissions(logDir, open | QFile::WriteGroup | QFile::WriteOther);
    const QByteArray config =
        QString::fromLatin1(Config)
            .arg(QString::fromLatin1(m_password))
            .arg(m_port)
            .arg(m_dir.path().toHtmlEscaped(), logDir.toHtmlEscaped(),
                 ::geteuid() == 0
                     ? u"<changeowner><user>nobody</user><group>nogroup</group></changeowner>"_s
                     : QString(),
                 QString::fromUtf8(m_more.config))
            .toUtf8();
    if (QFile file(m_dir.filePath(u"icecast.xml"_s));
        !file.open(QIODevice::WriteOnly) || file.write(config) != config.size())
        return fail(u"cannot write "_s + file.fileName());
    return restart();
}

bool IcecastServer::launch(std::unique_ptr<QProcess>& process, const QString& program,
                           const QStringList& arguments, const std::function<bool()>& ready)
{
    const QString log = m_dir.filePath(program + u".out"_s);
    process = std::make_unique<QProcess>();
    process->setStandardOutputFile(log, QIODevice::Append);
    process->setStandardErrorFile(log, QIODevice::Append);
    process->start(program, arguments);
    if (!process->waitForStarted(15000))
        return fail(program + u" did not start (apt-get install icecast2 ffmpeg): "_s +
                    process->errorString());
    for (QDeadlineTimer deadline(15000);
         !deadline.hasExpired() && process->state() == QProcess::Running; QThread::msleep(100)) {
        if (ready())
            return true;
    }
    QFile out(log);
    out.open(QIODevice::ReadOnly);
    return fail(program + u" is not ready: "_s + QString::fromUtf8(out.readAll().right(600)));
}

bool IcecastServer::restart()
{
    stop(m_source);
    stop(m_server);
    return launch(m_server, u"icecast2"_s, {u"-c"_s, m_dir.filePath(u"icecast.xml"_s)},
                  [this] { return !get(u"/"_s, 1).isEmpty(); }) &&
           restartSource();
}

bool IcecastServer::restartSource()
{
    stop(m_source);
    const QString target = u"icecast://source:%1@127.0.0.1:%2"_s.arg(
        QString::fromLatin1(m_password), QString::number(m_port));
    QStringList arguments = u"-nostdin -hide_banner -loglevel error -re -f lavfi -i "
                            u"sine=frequency=440:sample_rate=44100 -ice_name"_s.split(u' ');
    arguments.append(u"Skylistener Test"_s);
    QStringList mounts;
    for (const QString& output :
         QStringList{mp3Output(u"audio/mpeg"_s, u"tone.mp3"_s)} + m_more.outputs) {
        arguments += output.arg(target).split(u' ');
        mounts.append(u'/' + output.section(u'/', -1));
    }
    return launch(m_source, u"ffmpeg"_s, arguments, [&] {
        return std::all_of(mounts.begin(), mounts.end(), [this](const QString& mount) {
            return get(mount, 64).mid(8, 5) == " 200 "; // after "HTTP/1.x"
        });
    });
}

bool IcecastServer::setTitle(const QString& title)
{
    const QByteArray answer =
        get(u"/admin/metadata?mount=/tone.mp3&mode=updinfo&charset=UTF-8&song="_s +
            QString::fromLatin1(QUrl::toPercentEncoding(title)));
    return answer.contains(" 200 ") ||
           fail(u"the title was not accepted: "_s + QString::fromUtf8(answer.left(300)));
}

QByteArray IcecastServer::get(const QString& pathAndQuery, qsizetype limit) const
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    socket.write("GET " + pathAndQuery.toUtf8() + " HTTP/1.0\r\nHost: 127.0.0.1\r\n" +
                 "Authorization: Basic " + ("admin:" + m_password).toBase64() + "\r\n\r\n");
    QByteArray answer;
    while (answer.size() < limit && socket.waitForReadyRead(2000))
        answer += socket.readAll();
    return answer;
}

void IcecastServer::stop(std::unique_ptr<QProcess>& process, bool crash)
{
    if (process) {
        crash ? process->kill() : process->terminate();
        process->waitForFinished(3000); // else the QProcess kills it as it goes
    }
    process.reset();
}
