#include "TlsStation.h"

#include <QtNetwork>

using namespace Qt::StringLiterals;

TlsStation::~TlsStation()
{
    m_server.kill();
    m_server.waitForFinished(3000);
}

bool TlsStation::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return true;
    return fail(program + u" failed (apt-get install openssl ffmpeg): "_s + process.errorString() +
                u' ' + QString::fromUtf8(process.readAll().right(600)));
}

bool TlsStation::start(bool withPrivateCa, const QString& certifiedHost)
{
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkdir(u"www"_s))
        return fail(u"no temporary folder"_s);
    if (!run(u"ffmpeg"_s,
             {u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
              u"sine=frequency=440:duration=30"_s, u"-b:a"_s, u"64k"_s, u"www/tone.mp3"_s}))
        return false;

    // A new P-256 key, unencrypted, for each certificate; the server's signed by the authority.
    const auto certificate = [this](const QString& name, const QStringList& more) {
        return run(u"openssl"_s,
                   QStringList{u"req"_s, u"-x509"_s, u"-newkey"_s, u"ec"_s, u"-pkeyopt"_s,
                               u"ec_paramgen_curve:prime256v1"_s, u"-nodes"_s, u"-keyout"_s,
                               name + u".key"_s, u"-days"_s, u"2"_s, u"-out"_s, name + u".pem"_s} +
                       more);
    };
    if (withPrivateCa) {
        m_caFile = m_dir.filePath(u"ca.pem"_s);
        if (!certificate(u"ca"_s, {u"-subj"_s, u"/CN=Skylistener Test CA"_s}))
            return false;
    }
    const bool local = certifiedHost.isEmpty();
    QStringList server = {u"-subj"_s, u"/CN="_s + (local ? u"127.0.0.1"_s : certifiedHost),
                          u"-addext"_s,
                          u"subjectAltName="_s + (local ? u"IP:127.0.0.1,DNS:localhost"_s
                                                        : u"DNS:"_s + certifiedHost)};
    if (withPrivateCa)
        server << u"-CA"_s << u"ca.pem"_s << u"-CAkey"_s << u"ca.key"_s;
    if (!certificate(u"server"_s, server))
        return false;

    if (QTcpServer probe; probe.listen(QHostAddress::LocalHost, 0))
        m_port = probe.serverPort();
    const QString log = m_dir.filePath(u"s_server.out"_s);
    m_server.setWorkingDirectory(m_dir.filePath(u"www"_s)); // what -WWW serves
    m_server.setStandardOutputFile(log);
    m_server.setStandardErrorFile(log);
    m_server.start(u"openssl"_s,
                   {u"s_server"_s, u"-quiet"_s, u"-WWW"_s, u"-accept"_s,
                    u"127.0.0.1:%1"_s.arg(m_port), u"-cert"_s, m_dir.filePath(u"server.pem"_s),
                    u"-key"_s, m_dir.filePath(u"server.key"_s)});
    for (QDeadlineTimer deadline(15000); !deadline.hasExpired(); QThread::msleep(100)) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(500))
            return true;
    }
    QFile out(log);
    out.open(QIODevice::ReadOnly);
    return fail(u"openssl s_server is not ready: "_s + QString::fromUtf8(out.readAll().right(600)));
}
