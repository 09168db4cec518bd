// The mpv player against a local Icecast station and loopback servers that misbehave.
#include "app/MpvPlayer.h"
#include "stations/Cp1250.h"
#include "support/IcecastServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Wait = 40000;

// A loopback server that reads each request's head and hands it to `answer`.
class LoopbackServer : public QTcpServer
{
public:
    LoopbackServer()
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request =
                        socket->property("request").toByteArray() + socket->readAll();
                    socket->setProperty("request", request);
                    if (request.contains("\r\n\r\n") && !socket->property("answered").isValid()) {
                        socket->setProperty("answered", true);
                        answer(socket, request);
                    }
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString url(const QString& path) const
    {
        return u"http://127.0.0.1:%1%2"_s.arg(serverPort()).arg(path);
    }

protected:
    virtual void answer(QTcpSocket* socket, const QByteArray& request) = 0;
};

// Answers with the bytes routed for the path (or a 404) and hangs up.
class CannedServer : public LoopbackServer
{
public:
    void route(const QByteArray& path, const QByteArray& answer) { m_routes.insert(path, answer); }

protected:
    void answer(QTcpSocket* socket, const QByteArray& request) override
    {
        socket->write(
            m_routes.value(request.split(' ').value(1), "HTTP/1.0 404 Not Found\r\n\r\n"));
        socket->disconnectFromHost();
    }

private:
    QHash<QByteArray, QByteArray> m_routes;
};

QByteArray httpAnswer(const QByteArray& contentType, const QByteArray& body)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: " + contentType +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// A Shoutcast-style station looping MP3 frames, with the title's bytes (in any code page) sent
// in-band after every `MetaInt` bytes of audio.
class IcyServer : public LoopbackServer
{
public:
    IcyServer(QByteArray statusLine, QByteArray audio, QByteArray title)
        : m_statusLine(std::move(statusLine))
        , m_audio(std::move(audio))
    {
        QByteArray text = "StreamTitle='" + title + "';StreamUrl='';";
        text.append(QByteArray((16 - text.size() % 16) % 16, '\0'));
        m_meta = char(text.size() / 16) + text;
    }
    // Listeners get this many bytes and then nothing on an open connection: a hung source.
    void stallAfter(qsizetype bytes) { m_limit = bytes; }

protected:
    void answer(QTcpSocket* socket, const QByteArray& request) override
    {
        const bool icy = request.toLower().contains("icy-metadata: 1");
        socket->setProperty("icy", icy);
        socket->write(m_statusLine + "\r\nContent-Type: audio/mpeg\r\n" +
                      (icy ? "icy-metaint: " + QByteArray::number(MetaInt) + "\r\n" : "") +
                      "icy-name: Loopback\r\n\r\n");
        connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] { feed(socket); });
        feed(socket);
    }

private:
    static constexpr int MetaInt = 8192;

    void feed(QTcpSocket* socket)
    {
        qsizetype offset = socket->property("offset").toLongLong();
        while (socket->bytesToWrite() < 4 * MetaInt && offset < m_limit) {
            QByteArray chunk;
            for (qsizetype i = 0; i < MetaInt; ++i)
                chunk += m_audio.at((offset + i) % m_audio.size());
            offset += MetaInt;
            socket->write(chunk);
            if (socket->property("icy").toBool())
                socket->write(m_meta);
        }
        socket->setProperty("offset", offset);
    }

    QByteArray m_statusLine;
    QByteArray m_audio;
    QByteArray m_meta;
    qsizetype m_limit = std::numeric_limits<qsizetype>::max();
};

// Ticks on the GUI thread while a test waits: far fewer ticks than expected mean it blocked.
struct Heartbeat
{
    Heartbeat()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { ++ticks; });
        timer.start(20);
        clock.start();
    }
    bool steady() const { return ticks >= clock.elapsed() / 100; }
    QByteArray report() const
    {
        return QByteArray::number(ticks) + " ticks in " + QByteArray::number(clock.elapsed()) +
               " ms";
    }
    QTimer timer;
    QElapsedTimer clock;
    qint64 ticks = 0;
};

QList<int> states(const QSignalSpy& spy)
{
    QList<int> result;
    for (const QList<QVariant>& call : spy)
        result.append(call.at(0).toInt());
    return result;
}

} // namespace

class tst_MpvPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void playStopAndVolume();
    void plays_data();
    void plays();
    void reportsErrors_data();
    void reportsErrors();
    void isRadioAddress();
    void titlesInTheStationsCodePage_data();
    void titlesInTheStationsCodePage();
    void reconnectsWhenStationStalls();
    void reconnectsAfterServerOrSourceFault();

private:
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_files.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(bytes);
        return file.fileName();
    }
    QString tone(const QString& name, const QString& source, const QStringList& codec = {})
    {
        const QString file = m_files.filePath(name);
        QProcess::execute(u"ffmpeg"_s, QStringList{u"-nostdin"_s, u"-loglevel"_s, u"error"_s,
                                                   u"-y"_s, u"-f"_s, u"lavfi"_s, u"-i"_s, source} +
                                           codec + QStringList{file});
        return file;
    }

    std::unique_ptr<IcecastServer> m_server;
    QTemporaryDir m_files;
    std::unique_ptr<CannedServer> m_web;
    QTcpServer m_silent; // accepts and never answers
    quint16 m_closedPort = 0;
    const QString m_marker = m_files.filePath(u"script-ran"_s);
    QString m_script;
    QByteArray m_audio;
};

void tst_MpvPlayer::initTestCase()
{
    m_server = std::make_unique<IcecastServer>();
    if (!m_server->start())
        QFAIL(qPrintable(u"The local Icecast station did not start: "_s + m_server->error()));
    QVERIFY(m_silent.listen(QHostAddress::LocalHost, 0));

    // A script that leaves a mark when run, and an mpv configuration, used by every test, that
    // asks for it: nothing may run it.
    m_script = write(u"mark.lua"_s, "local f = io.open('" + m_marker.toUtf8() +
                                        "', 'w')\nf:write('ran')\nf:close()\n");
    if (!QStandardPaths::findExecutable(u"mpv"_s).isEmpty()) {
        // The mark works: mpv itself, told to, runs the script.
        QProcess::execute(u"mpv"_s, {u"--no-config"_s, u"--really-quiet"_s, u"--ao=null"_s,
                                     u"--script="_s + m_script, u"av://lavfi:sine=duration=0.1"_s});
        QVERIFY(QFile::remove(m_marker));
    }
    QVERIFY(QDir(m_files.path()).mkdir(u"home"_s));
    write(u"home/mpv.conf"_s, "script=" + m_script.toUtf8() + "\n");
    write(u"home/input.conf"_s, "x run /bin/sh -c 'touch " + m_marker.toUtf8() + "'\n");
    qputenv("MPV_HOME", m_files.filePath(u"home"_s).toUtf8());
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        m_closedPort = probe.serverPort();
    }
    QFile mp3(tone(u"loop.mp3"_s, u"sine=frequency=330:duration=4"_s,
                   {u"-c:a"_s, u"libmp3lame"_s, u"-b:a"_s, u"64k"_s}));
    QVERIFY(mp3.open(QIODevice::ReadOnly));
    m_audio = mp3.readAll();
    QVERIFY(m_audio.size() > 16000);

    // Playlists with BOMs, CR LF, blank lines, dead first entries (DEAD), relative entries (sent
    // on to the station), references to themselves and content types that say nothing or lie.
    const QByteArray dead = "http://127.0.0.1:" + QByteArray::number(m_closedPort) + "/dead.mp3";
    m_web = std::make_unique<CannedServer>();
    CannedServer& web = *m_web;
    const auto list = [&](const QByteArray& path, const char* type, QByteArray body) {
        web.route(path, httpAnswer(type, body.replace("DEAD", dead).replace("\n", "\r\n")));
    };
    web.route("/live/tone.mp3",
              "HTTP/1.0 302 Found\r\nLocation: " + m_server->streamUrl().toUtf8() + "\r\n\r\n");
    list("/a.pls", "text/plain",
         "\xEF\xBB\xBF\n[playlist]\n\nNumberOfEntries=2\nFile1=DEAD\n\nFile2=live/tone.mp3\n");
    list("/b.m3u", "application/octet-stream",
         "\xEF\xBB\xBF#EXTM3U\n\n#EXTINF:-1,Dead\nDEAD\n\n#EXTINF:-1,Tone\nlive/tone.mp3\n");
    list("/c.m3u8", "text/html", "#EXTM3U\nDEAD\nlive/tone.mp3\n");
    list("/d.asx", "text/plain",
         "\xEF\xBB\xBF\n\n<ASX Version=\"3.0\">\n<ENTRY><REF HREF=\"DEAD\"/></ENTRY>\n"
         "<ENTRYREF HREF=\"d.asx\"/>\n\n<Entry><Ref href=\"live/tone.mp3\"/></Entry>\n</ASX>\n");
    list("/e.xspf", "application/octet-stream",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" "
         "xmlns=\"http://xspf.org/ns/0/\"><trackList>\n<track><location>DEAD</location></track>"
         "\n\n<track><location>e.xspf</location></track>\n<track><location>live/tone.mp3"
         "</location></track>\n</trackList></playlist>\n");
    // A playlist in the middle whose only entry is dead gives way to the entry after it.
    list("/dead.pls", "audio/x-scpls", "[playlist]\nFile1=DEAD\n");
    list("/g.xspf", "application/xspf+xml",
         "<playlist><trackList><track><location>dead.pls</location></track><track><location>"
         "live/tone.mp3</location></track></trackList></playlist>");
    list("/f.asx", "audio/x-ms-asf", "<asx><entryref href=\"/e.xspf\"/></asx>");
    list("/self.asx", "video/x-ms-asf",
         "<asx><entry><ref href=\"self.asx\"/></entry><entryref href=\"self.asx\"/></asx>");
    list("/loop.pls", "audio/x-scpls",
         "[playlist]\nNumberOfEntries=1\nFile1=" + web.url(u"/loop.pls"_s).toUtf8() + "\n");
    web.route("/garbage", QByteArray(4096, '\x17') + "garbage\r\n\r\n");
    web.route("/index.html", httpAnswer("text/html", "<html><body>Not a radio</body></html>\n"));
    QByteArray noise(256 * 1024, Qt::Uninitialized);
    QRandomGenerator random(1250);
    for (char& byte : noise)
        byte = static_cast<char>(random.bounded(256));
    web.route("/noise.mp3", "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n" + noise);
    // A network playlist may not point at a file on this computer.
    web.route("/sneaky.m3u",
              httpAnswer("audio/x-mpegurl", m_files.filePath(u"sneaky.m3u"_s).toUtf8() + "\n"));
}

void tst_MpvPlayer::playStopAndVolume()
{
    MpvPlayer player(u"null"_s);
    QSignalSpy stateSpy(&player, &Player::PlayStateChange);
    QSignalSpy statusSpy(&player, &Player::StatusChange);
    player.setVolume(150);
    QCOMPARE(player.volume(), 100);
    player.setVolume(-5);
    QCOMPARE(player.volume(), 0);
    player.setVolume(64);
    player.setMute(true);
    player.play(); // nothing to play yet
    QVERIFY(stateSpy.isEmpty());

    const QString url = m_server->streamUrl();
    player.setURL(url);
    QCOMPARE(player.playState(), int(Player::Connecting));
    QCOMPARE(player.status(), u"Připojování…"_s);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QVERIFY(player.status().startsWith(u"Přehrávání"_s));
    QCOMPARE(states(stateSpy).first(), int(Player::Connecting));
    for (qsizetype i = 1; i < stateSpy.size(); ++i)
        QVERIFY(states(stateSpy).at(i) != states(stateSpy).at(i - 1));
    QTRY_VERIFY_WITH_TIMEOUT(player.bitRate() > 120000 && player.bitRate() < 136000, Wait);
    QCOMPARE(player.volume(), 64);
    QCOMPARE(player.mute(), true);

    // Icecast sends in-band titles of MP3 streams in Latin-1, so the title stays ASCII.
    const QString title = u"Tone Generator - Sine 440 Hz"_s;
    QVERIFY2(m_server->setTitle(title), qPrintable(m_server->error()));
    QTRY_COMPARE_WITH_TIMEOUT(player.status(), u"Přehrávání: "_s + title, Wait);

    // play() on the playing stream does not open it again.
    stateSpy.clear();
    player.play();
    QTest::qWait(500);
    QVERIFY(stateSpy.isEmpty());

    statusSpy.clear();
    player.stop();
    QCOMPARE(player.status(), u"Zastaveno"_s);
    QCOMPARE(player.URL(), url);
    QCOMPARE(player.bitRate(), 0);
    QCOMPARE(states(stateSpy), QList<int>{int(Player::Stopped)});
    QCOMPARE(statusSpy.size(), 1);
    // What mpv still reports about the stopped stream must not bring it back.
    QTest::qWait(1500);
    QCOMPARE(player.playState(), int(Player::Stopped));
    QCOMPARE(player.status(), u"Zastaveno"_s);

    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QCOMPARE(player.URL(), url);
    player.stop();
    stateSpy.clear();
    statusSpy.clear();
    player.stop();
    QVERIFY(stateSpy.isEmpty() && statusSpy.isEmpty());

    // A file plays to its end and then the player stops.
    stateSpy.clear();
    player.setURL(tone(u"short.mp3"_s, u"sine=frequency=440:duration=2"_s));
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Stopped), Wait);
    QCOMPARE(player.status(), u"Zastaveno"_s);
    QVERIFY(states(stateSpy).contains(int(Player::Playing)));
}

void tst_MpvPlayer::plays_data()
{
    QTest::addColumn<QString>("url");
    const QByteArray stream = m_server->streamUrl().toUtf8();
    QTest::newRow("pls") << write(u"station.pls"_s,
                                  "[playlist]\nNumberOfEntries=1\nFile1=" + stream + "\n");
    QTest::newRow("m3u") << write(u"station.m3u"_s, "#EXTM3U\n#EXTINF:-1,Tone\n" + stream + "\n");
    QTest::newRow("m3u8") << write(u"station.m3u8"_s, stream + "\n");
    QTest::newRow("xspf") << write(u"station.xspf"_s, "<playlist><trackList><track><location>" +
                                                          stream +
                                                          "</location></track></trackList>"
                                                          "</playlist>");
    QTest::newRow("dead first") << write(u"mirrors.m3u"_s,
                                         "http://127.0.0.1:1/gone.mp3\n" + stream);
    QTest::newRow("icecast m3u") << m_server->streamUrl() + u".m3u"_s;
    for (const char* path :
         {"/a.pls", "/b.m3u", "/c.m3u8", "/d.asx", "/e.xspf", "/f.asx", "/g.xspf"})
        QTest::newRow(path) << m_web->url(QString::fromLatin1(path));
}

void tst_MpvPlayer::plays()
{
    QFETCH(QString, url);
    MpvPlayer player(u"null"_s);
    QSignalSpy stateSpy(&player, &Player::PlayStateChange);
    player.setURL(url);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QVERIFY(!states(stateSpy).contains(int(Player::Error)));
    QCOMPARE(player.URL(), url);
}

void tst_MpvPlayer::reportsErrors_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("refusedAs"); // status of an address refused before mpv sees it
    const QString unsupported = u"Chyba: nepodporovaný typ adresy"_s;
    for (const char* url : {"lavfi://sine", "av://lavfi:sine", "edl://%10%/etc/passwd",
                            "memory://hello", "fd://0", "ytdl://x"})
        QTest::newRow(url) << QString::fromLatin1(url) << unsupported;
    // Each would reach a working station if the rest were ignored.
    const QString stream = m_server->streamUrl();
    const QList<std::pair<const char*, QString>> malformed = {
        {"CR LF", stream + u"\r\nX-Injected: 1"_s},
        {"LF", stream + u"\n"_s},
        {"NUL", stream + QChar(0) + u".txt"_s},
        {"tab", stream + u"\t"_s},
        {"100 KB query", stream + u"?"_s + QString(100 * 1024, u'a')},
        {"100 KB path", QString(100 * 1024, u'/')},
    };
    for (const auto& [name, url] : malformed)
        QTest::newRow(name) << url << u"Chyba: "_s;

    const QByteArray script = m_script.toUtf8();
    const QList<std::pair<const char*, QString>> failing = {
        // Playlists get the same checks on their entries.
        {"tab in pls", write(u"broken.pls"_s, "[playlist]\nFile1=" + stream.toUtf8() + "\tX\n")},
        {"lavfi in m3u", write(u"sneaky.m3u"_s, "#EXTM3U\nlavfi://sine\n")},
        {"network list to file", m_web->url(u"/sneaky.m3u"_s)},
        {"self asx", m_web->url(u"/self.asx"_s)},
        {"self pls", m_web->url(u"/loop.pls"_s)},
        {"refused port", u"http://127.0.0.1:%1/tone.mp3"_s.arg(m_closedPort)},
        {"never answers", u"http://127.0.0.1:%1/tone.mp3"_s.arg(m_silent.serverPort())},
        {"garbage", m_web->url(u"/garbage"_s)},
        {"html", m_web->url(u"/index.html"_s)},
        {"404", m_web->url(u"/tone.mp3"_s)},
        {"404 mount", m_server->url(u"/no-such-mount.mp3"_s)},
        {"noise as mp3", m_web->url(u"/noise.mp3"_s)},
        {"missing file", m_files.filePath(u"no such file.mp3"_s)},
        // No script or configuration can be run through a station's address.
        {"--script", u"--script="_s + m_script},
        {"--scripts", u"--scripts="_s + m_script},
        {"--include", u"--include="_s + m_files.filePath(u"home/mpv.conf"_s)},
        {"script=", u"script="_s + m_script},
        {"options in m3u",
         write(u"options.m3u"_s, "--script=" + script + "\n--scripts=" + script + "\n")},
    };
    for (const auto& [name, url] : failing)
        QTest::newRow(name) << url << QString();
}

void tst_MpvPlayer::reportsErrors()
{
    QFETCH(QString, url);
    QFETCH(QString, refusedAs);
    Heartbeat beat;
    MpvPlayer player(u"null"_s);
    QSignalSpy stateSpy(&player, &Player::PlayStateChange);
    player.setURL(url);
    if (!refusedAs.isEmpty()) {
        QVERIFY(!MpvPlayer::isRadioAddress(url));
        QCOMPARE(player.playState(), int(Player::Error));
        QVERIFY2(player.status().startsWith(refusedAs), qPrintable(player.status()));
        QVERIFY(player.status().size() < 100);
        player.play();
    }
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Error), Wait);
    QVERIFY2(player.status().startsWith(u"Chyba: "_s), qPrintable(player.status()));
    QCOMPARE(states(stateSpy).first(),
             int(refusedAs.isEmpty() ? Player::Connecting : Player::Error));
    QCOMPARE(player.bitRate(), 0);
    QCOMPARE(player.URL(), url);
    // An address that never played is not tried again and again.
    QTest::qWait(1000);
    QCOMPARE(player.playState(), int(Player::Error));
    QVERIFY(!states(stateSpy).contains(int(Player::Playing)));
    QVERIFY(!states(stateSpy).contains(int(Player::Reconnecting)));
    QVERIFY(!QFile::exists(m_marker));
    QVERIFY2(beat.steady(), beat.report());
}

void tst_MpvPlayer::isRadioAddress()
{
    for (const QString& url :
         {u"http://example.org/a.mp3"_s, u"HTTPS://example.org/a.pls"_s, u"mms://example.org/a"_s,
          u"rtsp://example.org/a"_s, u"/home/user/a.m3u"_s, u"file:///home/user/a.mp3"_s,
          u"C:\\Music\\a.mp3"_s})
        QVERIFY2(MpvPlayer::isRadioAddress(url), qPrintable(url));
    QString scheme;
    QVERIFY(!MpvPlayer::isRadioAddress(u"Lavfi://sine"_s, &scheme));
    QCOMPARE(scheme, u"lavfi"_s);
    QVERIFY(!MpvPlayer::isRadioAddress(u"ytdl:search"_s, &scheme));
    QCOMPARE(scheme, u"ytdl"_s);
}

void tst_MpvPlayer::titlesInTheStationsCodePage_data()
{
    QTest::addColumn<QByteArray>("statusLine");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const QString czech = u"Žluťoučký kůň úpěl ďábelské ódy"_s;
    bool encodable = false;
    const QByteArray cp1250 = Cp1250::encode(czech, &encodable);
    QVERIFY(encodable);
    // Windows-1250 bytes are no valid UTF-8; UTF-8 stays UTF-8 and a line break becomes a space.
    QTest::newRow("ICY 1250") << QByteArray("ICY 200 OK") << cp1250 << czech;
    QTest::newRow("HTTP 1250") << QByteArray("HTTP/1.0 200 OK") << cp1250 << czech;
    QTest::newRow("UTF-8") << QByteArray("HTTP/1.0 200 OK") << czech.toUtf8() + "\r\n- Live"
                           << czech + u" - Live"_s;
}

void tst_MpvPlayer::titlesInTheStationsCodePage()
{
    QFETCH(QByteArray, statusLine);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    IcyServer station(statusLine, m_audio, bytes);
    MpvPlayer player(u"null"_s);
    player.setURL(station.url(u"/live"_s));
    QTRY_COMPARE_WITH_TIMEOUT(player.status(), u"Přehrávání: "_s + expected, Wait);
    QCOMPARE(player.playState(), int(Player::Playing));
}

void tst_MpvPlayer::reconnectsWhenStationStalls()
{
    Heartbeat beat;
    IcyServer station("ICY 200 OK", m_audio, "Tone");
    station.stallAfter(64 * 1024);
    MpvPlayer player(u"null"_s);
    player.setURL(station.url(u"/live"_s));
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), 2 * Wait);
    QVERIFY2(player.status().startsWith(u"Obnovování spojení…"_s), qPrintable(player.status()));
    station.stallAfter(std::numeric_limits<qsizetype>::max());
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QVERIFY2(beat.steady(), beat.report());
}

void tst_MpvPlayer::reconnectsAfterServerOrSourceFault()
{
    Heartbeat beat;
    MpvPlayer player(u"null"_s);
    QSignalSpy stateSpy(&player, &Player::PlayStateChange);
    player.setURL(m_server->streamUrl());
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);

    stateSpy.clear();
    m_server->killServer();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), Wait);
    QVERIFY2(player.status().startsWith(u"Obnovování spojení…"_s), qPrintable(player.status()));
    QCOMPARE(player.bitRate(), 0);
    // The first attempts fail on a closed port and the pauses grow.
    QTRY_VERIFY_WITH_TIMEOUT(player.status().contains(u"za 2 s"_s), Wait);
    // The station comes back and the player finds it by itself, soon.
    QVERIFY2(m_server->restart(), qPrintable(m_server->error()));
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), 5000);
    QCOMPARE(player.URL(), m_server->streamUrl());
    // Throughout the break the player may buffer or reconnect, but never says it failed.
    QVERIFY(!states(stateSpy).contains(int(Player::Error)));
    QVERIFY(!states(stateSpy).contains(int(Player::Connecting)));

    // The server stays and answers 404 for the mount: still the station is awaited.
    m_server->killSource();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), Wait);
    QTRY_VERIFY_WITH_TIMEOUT(player.status().contains(u"za 4 s"_s), Wait);
    QCOMPARE(player.playState(), int(Player::Reconnecting));
    QVERIFY2(m_server->restartSource(), qPrintable(m_server->error()));
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QVERIFY(!states(stateSpy).contains(int(Player::Error)));

    // A stop ends the retries: the player stays stopped when the station returns.
    m_server->killServer();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), Wait);
    player.stop();
    QVERIFY2(m_server->restart(), qPrintable(m_server->error()));
    QTest::qWait(4000);
    QCOMPARE(player.playState(), int(Player::Stopped));
    QCOMPARE(player.status(), u"Zastaveno"_s);

    // So does another station.
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    m_server->killServer();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), Wait);
    const QString other = m_files.filePath(u"no such station.mp3"_s);
    player.setURL(other);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Error), Wait);
    QVERIFY2(m_server->restart(), qPrintable(m_server->error()));
    QTest::qWait(3000);
    QCOMPARE(player.playState(), int(Player::Error));
    QCOMPARE(player.URL(), other);
    QVERIFY2(beat.steady(), beat.report());
}

QTEST_GUILESS_MAIN(tst_MpvPlayer)
#include "tst_MpvPlayer.moc"
