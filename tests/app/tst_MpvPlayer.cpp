#include "app/MpvPlayer.h"
#include "stations/Cp1250.h"
#include "support/IcecastServer.h"

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

// A loopback server that answers each request with the bytes given for its path (or with the
// same bytes for every path) and hangs up.
class CannedServer : public QTcpServer
{
public:
    explicit CannedServer(QByteArray answer)
        : m_answer(std::move(answer))
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request =
                        socket->property("request").toByteArray() + socket->readAll();
                    socket->setProperty("request", request);
                    if (!request.contains("\r\n\r\n") || socket->property("answered").isValid())
                        return;
                    socket->setProperty("answered", true);
                    socket->write(m_routes.value(request.split(' ').value(1), m_answer));
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    void route(const QByteArray& path, const QByteArray& answer) { m_routes.insert(path, answer); }
    QString url(const QString& path) const
    {
        return u"http://127.0.0.1:%1%2"_s.arg(serverPort()).arg(path);
    }
    void setAnswer(QByteArray answer) { m_answer = std::move(answer); }

private:
    QByteArray m_answer;
    QHash<QByteArray, QByteArray> m_routes;
};

QByteArray httpAnswer(const QByteArray& contentType, const QByteArray& body)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: " + contentType +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// Ticks on the GUI thread while a test waits. Far fewer ticks than the time allows mean that
// something blocked the thread.
class Heartbeat
{
public:
    Heartbeat()
    {
        m_timer.setInterval(Interval);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { ++m_ticks; });
        m_timer.start();
        m_clock.start();
    }
    // At least a fifth of the ticks the time since the start allows.
    bool steady() const { return m_ticks >= m_clock.elapsed() / (5 * Interval); }
    QByteArray report() const
    {
        return QByteArray::number(m_ticks) + " ticks in " + QByteArray::number(m_clock.elapsed()) +
               " ms";
    }

private:
    static constexpr int Interval = 20;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_ticks = 0;
};

// A small Shoutcast-style station: MP3 frames from a file, sent in a loop as fast as the
// listener takes them, with an in-band title block after every `MetaInt` bytes of audio. The
// title goes out as the bytes given, in whatever code page the test chose.
class IcyServer : public QTcpServer
{
public:
    IcyServer(QByteArray statusLine, QByteArray audio, QByteArray title)
        : m_statusLine(std::move(statusLine))
        , m_audio(std::move(audio))
    {
        QByteArray text = "StreamTitle='" + title + "';StreamUrl='';";
        text.append(QByteArray((16 - text.size() % 16) % 16, '\0'));
        m_meta = char(text.size() / 16) + text;
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request =
                        socket->property("request").toByteArray() + socket->readAll();
                    socket->setProperty("request", request);
                    if (request.contains("\r\n\r\n") && !socket->property("offset").isValid()) {
                        socket->setProperty("offset", 0);
                        const bool icy = request.toLower().contains("icy-metadata: 1");
                        socket->setProperty("icy", icy);
                        socket->write(m_statusLine + "\r\nContent-Type: audio/mpeg\r\n" +
                                      (icy ? "icy-metaint: " + QByteArray::number(MetaInt) + "\r\n"
                                           : QByteArray()) +
                                      "icy-name: Loopback\r\n\r\n");
                        feed(socket);
                    }
                });
                connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] {
                    if (socket->property("offset").isValid())
                        feed(socket);
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString url() const { return u"http://127.0.0.1:%1/live"_s.arg(serverPort()); }
    // From now on every listener gets this many bytes of audio and then nothing, with the
    // connection left open: a station whose source hangs.
    void stallAfter(qsizetype bytes) { m_limit = bytes; }

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
    void playsStreamWithBitRateAndTitle();
    void stopKeepsUrlAndPlayOpensAgain();
    void playlistsPlayLikeStreams();
    void playlistsOfEveryKindFromTheNetwork();
    void refusesAddressesThatAreNoRadio();
    void refusesMalformedAddresses();
    void addressesNeverRunScriptsOrReadConfiguration();
    void reportsStationsThatCannotPlay();
    void titlesInTheStationsCodePage();
    void volumeAndMute();
    void reconnectsAfterServerCrash();
    void reconnectsWhenSourceReturns();

private:
    std::unique_ptr<IcecastServer> m_server;
    QTemporaryDir m_files;
};

void tst_MpvPlayer::initTestCase()
{
    m_server = std::make_unique<IcecastServer>();
    if (!m_server->start())
        QFAIL(qPrintable(u"The local Icecast station did not start: "_s + m_server->error()));
}

void tst_MpvPlayer::playsStreamWithBitRateAndTitle()
{
    MpvPlayer player(u"null"_s);
    QSignalSpy stateSpy(&player, &Player::PlayStateChange);
    QSignalSpy statusSpy(&player, &Player::StatusChange);
    QCOMPARE(player.bitRate(), 0);

    const QString url = m_server->streamUrl();
    player.setURL(url);
    QCOMPARE(player.URL(), url);
    QCOMPARE(player.playState(), int(Player::Connecting));
    QCOMPARE(player.status(), u"Připojování…"_s);

    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QVERIFY(player.status().startsWith(u"Přehrávání"_s));
    // Every change was announced, starting with the connection and ending in playing.
    QCOMPARE(states(stateSpy).first(), int(Player::Connecting));
    QCOMPARE(states(stateSpy).last(), int(Player::Playing));
    for (qsizetype i = 1; i < stateSpy.size(); ++i)
        QVERIFY(states(stateSpy).at(i) != states(stateSpy).at(i - 1));
    QVERIFY(statusSpy.size() >= 2);

    QTRY_VERIFY_WITH_TIMEOUT(player.bitRate() > 120000 && player.bitRate() < 136000, Wait);

    // Icecast sends in-band titles of MP3 streams in Latin-1, so the title stays ASCII.
    const QString title = u"Tone Generator - Sine 440 Hz"_s;
    QVERIFY2(m_server->setTitle(title), qPrintable(m_server->error()));
    statusSpy.clear();
    QTRY_COMPARE_WITH_TIMEOUT(player.status(), u"Přehrávání: "_s + title, Wait);
    QVERIFY(!statusSpy.isEmpty());
    QCOMPARE(player.playState(), int(Player::Playing));
    QCOMPARE(player.URL(), url);
}

void tst_MpvPlayer::stopKeepsUrlAndPlayOpensAgain()
{
    MpvPlayer player(u"null"_s);
    QSignalSpy stateSpy(&player, &Player::PlayStateChange);
    QSignalSpy statusSpy(&player, &Player::StatusChange);

    // Nothing to play yet: play() does nothing.
    player.play();
    QCOMPARE(player.playState(), int(Player::Undefined));
    QVERIFY(stateSpy.isEmpty());

    const QString url = m_server->streamUrl();
    player.setURL(url);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);

    // play() on the playing stream does not open it again.
    stateSpy.clear();
    player.play();
    QTest::qWait(500);
    QVERIFY(stateSpy.isEmpty());
    QCOMPARE(player.playState(), int(Player::Playing));

    statusSpy.clear();
    player.stop();
    QCOMPARE(player.playState(), int(Player::Stopped));
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

    // A stop on a stopped player changes nothing.
    player.stop();
    stateSpy.clear();
    statusSpy.clear();
    player.stop();
    QVERIFY(stateSpy.isEmpty());
    QVERIFY(statusSpy.isEmpty());
}

void tst_MpvPlayer::playlistsPlayLikeStreams()
{
    const QString stream = m_server->streamUrl();
    const auto write = [this](const QString& name, const QByteArray& bytes) {
        QFile file(m_files.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(bytes);
        return file.fileName();
    };
    const QList<QString> playlists = {
        write(u"station.pls"_s,
              "[playlist]\nNumberOfEntries=1\nFile1=" + stream.toUtf8() + "\nTitle1=Tone\n"),
        write(u"station.m3u"_s, "#EXTM3U\n#EXTINF:-1,Tone\n" + stream.toUtf8() + "\n"),
        write(u"station.m3u8"_s, stream.toUtf8() + "\n"),
        // Icecast's own playlist for the mount, fetched over the network.
        stream + u".m3u"_s,
    };
    for (const QString& playlist : playlists) {
        QVERIFY(!playlist.isEmpty());
        MpvPlayer player(u"null"_s);
        player.setURL(playlist);
        QTRY_VERIFY2_WITH_TIMEOUT(player.playState() == Player::Playing, qPrintable(playlist),
                                  Wait);
        QCOMPARE(player.URL(), playlist);
    }

    // A file plays to its end and then the player stops.
    const QString file = m_files.filePath(u"short.mp3"_s);
    QCOMPARE(QProcess::execute(u"ffmpeg"_s,
                               {u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-y"_s, u"-f"_s,
                                u"lavfi"_s, u"-i"_s, u"sine=frequency=440:duration=2"_s, file}),
             0);
    {
        MpvPlayer player(u"null"_s);
        QSignalSpy stateSpy(&player, &Player::PlayStateChange);
        player.setURL(file);
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Stopped), Wait);
        QCOMPARE(player.status(), u"Zastaveno"_s);
        QVERIFY(states(stateSpy).contains(int(Player::Playing)));
    }

    // A playlist that names a first dead entry moves on to the next one.
    MpvPlayer player(u"null"_s);
    player.setURL(write(u"mirrors.m3u"_s, "http://127.0.0.1:1/gone.mp3\n" + stream.toUtf8()));
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
}

void tst_MpvPlayer::playlistsOfEveryKindFromTheNetwork()
{
    Heartbeat beat;
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    const QByteArray dead = "http://127.0.0.1:" + QByteArray::number(closedPort) + "/dead.mp3";
    const QByteArray bom = "\xEF\xBB\xBF";
    // Playlists with byte order marks, CR LF, blank lines, a dead first entry, relative entries
    // (the server sends those on to the station), references to themselves and content types
    // that say nothing or lie.
    CannedServer web("HTTP/1.0 404 Not Found\r\n\r\n");
    web.route("/live/tone.mp3",
              "HTTP/1.0 302 Found\r\nLocation: " + m_server->streamUrl().toUtf8() + "\r\n\r\n");
    web.route("/a.pls", httpAnswer("text/plain", bom +
                                                     "\r\n[playlist]\r\n\r\nNumberOfEntries=2"
                                                     "\r\nFile1=" +
                                                     dead + "\r\n\r\nFile2=live/tone.mp3\r\n"));
    web.route("/b.m3u", httpAnswer("application/octet-stream",
                                   bom + "#EXTM3U\r\n\r\n#EXTINF:-1,Dead\r\n" + dead +
                                       "\r\n\r\n#EXTINF:-1,Tone\r\nlive/tone.mp3\r\n"));
    web.route("/c.m3u8", httpAnswer("text/html", "#EXTM3U\r\n" + dead + "\r\nlive/tone.mp3\r\n"));
    web.route("/d.asx", httpAnswer("text/plain", bom +
                                                     "\r\n\r\n<ASX Version=\"3.0\">\r\n"
                                                     "<ENTRY><REF HREF=\"" +
                                                     dead +
                                                     "\"/></ENTRY>\r\n"
                                                     "<ENTRYREF HREF=\"d.asx\"/>\r\n\r\n"
                                                     "<Entry><Ref href=\"live/tone.mp3\"/>"
                                                     "</Entry>\r\n</ASX>\r\n"));
    web.route("/e.xspf",
              httpAnswer("application/octet-stream",
                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                         "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><trackList>\r\n"
                         "<track><location>" +
                             dead +
                             "</location></track>\r\n\r\n"
                             "<track><location>e.xspf</location></track>\r\n"
                             "<track><location>live/tone.mp3</location></track>\r\n"
                             "</trackList></playlist>\r\n"));
    // A playlist in the middle whose only entry is dead gives way to the entry after it.
    web.route("/dead.pls", httpAnswer("audio/x-scpls", "[playlist]\nFile1=" + dead + "\n"));
    web.route("/g.xspf", httpAnswer("application/xspf+xml",
                                    "<playlist><trackList><track><location>dead.pls</location>"
                                    "</track><track><location>live/tone.mp3</location></track>"
                                    "</trackList></playlist>"));
    // An ASX that only names an XSPF, and one that only names itself.
    web.route("/f.asx", httpAnswer("audio/x-ms-asf", "<asx><entryref href=\"/e.xspf\"/></asx>"));
    web.route("/self.asx",
              httpAnswer("video/x-ms-asf", "<asx><entry><ref href=\"self.asx\"/></entry>"
                                           "<entryref href=\"self.asx\"/></asx>"));

    for (const char* path :
         {"/a.pls", "/b.m3u", "/c.m3u8", "/d.asx", "/e.xspf", "/f.asx", "/g.xspf"}) {
        MpvPlayer player(u"null"_s);
        QSignalSpy stateSpy(&player, &Player::PlayStateChange);
        const QString url = web.url(QString::fromLatin1(path));
        player.setURL(url);
        QTRY_VERIFY2_WITH_TIMEOUT(player.playState() == Player::Playing, qPrintable(url), Wait);
        QVERIFY(!states(stateSpy).contains(int(Player::Error)));
        QCOMPARE(player.URL(), url);
        player.stop();
        QCOMPARE(player.playState(), int(Player::Stopped));
    }

    MpvPlayer player(u"null"_s);
    player.setURL(web.url(u"/self.asx"_s));
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Error), Wait);
    QVERIFY2(player.status().startsWith(u"Chyba: "_s), qPrintable(player.status()));

    // An XSPF on this computer.
    QFile local(m_files.filePath(u"station.xspf"_s));
    QVERIFY(local.open(QIODevice::WriteOnly));
    local.write("<playlist><trackList><track><location>" + m_server->streamUrl().toUtf8() +
                "</location></track></trackList></playlist>");
    local.close();
    player.setURL(local.fileName());
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QVERIFY2(beat.steady(), beat.report());
}

void tst_MpvPlayer::refusesAddressesThatAreNoRadio()
{
    QVERIFY(MpvPlayer::isRadioAddress(u"http://example.org/a.mp3"_s));
    QVERIFY(MpvPlayer::isRadioAddress(u"HTTPS://example.org/a.pls"_s));
    QVERIFY(MpvPlayer::isRadioAddress(u"mms://example.org/a"_s));
    QVERIFY(MpvPlayer::isRadioAddress(u"rtsp://example.org/a"_s));
    QVERIFY(MpvPlayer::isRadioAddress(u"/home/user/a.m3u"_s));
    QVERIFY(MpvPlayer::isRadioAddress(u"file:///home/user/a.mp3"_s));
    QVERIFY(MpvPlayer::isRadioAddress(u"C:\\Music\\a.mp3"_s));
    QString scheme;
    QVERIFY(!MpvPlayer::isRadioAddress(u"Lavfi://sine"_s, &scheme));
    QCOMPARE(scheme, u"lavfi"_s);
    QVERIFY(!MpvPlayer::isRadioAddress(u"ytdl:search"_s, &scheme));
    QCOMPARE(scheme, u"ytdl"_s);

    const QStringList refused = {
        u"lavfi://sine"_s,   u"av://lavfi:sine"_s, u"edl://%10%/etc/passwd"_s,
        u"memory://hello"_s, u"fd://0"_s,          u"ytdl://x"_s,
    };
    for (const QString& url : refused) {
        MpvPlayer player(u"null"_s);
        QSignalSpy stateSpy(&player, &Player::PlayStateChange);
        QSignalSpy statusSpy(&player, &Player::StatusChange);
        player.setURL(url);
        QCOMPARE(player.URL(), url);
        QCOMPARE(player.playState(), int(Player::Error));
        QVERIFY2(player.status().startsWith(u"Chyba: nepodporovaný typ adresy"_s),
                 qPrintable(player.status()));
        QCOMPARE(states(stateSpy), QList<int>{int(Player::Error)});
        QCOMPARE(statusSpy.size(), 1);
        player.play();
        QCOMPARE(player.playState(), int(Player::Error));
    }

    // A playlist cannot smuggle such an address past the check, nor can a playlist fetched
    // from the network point at a file on this computer.
    QFile list(m_files.filePath(u"sneaky.m3u"_s));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("#EXTM3U\nlavfi://sine\n");
    list.close();
    CannedServer remote("HTTP/1.0 200 OK\r\nContent-Type: audio/x-mpegurl\r\n\r\n" +
                        list.fileName().toUtf8() + "\n");
    for (const QString& url : {list.fileName(), remote.url(u"/sneaky.m3u"_s)}) {
        MpvPlayer player(u"null"_s);
        QSignalSpy stateSpy(&player, &Player::PlayStateChange);
        player.setURL(url);
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Error), Wait);
        QVERIFY2(player.status().startsWith(u"Chyba: "_s), qPrintable(player.status()));
        QVERIFY(!states(stateSpy).contains(int(Player::Playing)));
    }
}

void tst_MpvPlayer::refusesMalformedAddresses()
{
    Heartbeat beat;
    const QString stream = m_server->streamUrl();
    // Each of them would reach a working station if the rest were ignored.
    const QStringList malformed = {
        stream + u"\r\nX-Injected: 1"_s,
        stream + u"\n"_s,
        stream + QChar(0) + u".txt"_s,
        stream + u"\t"_s,
        stream + u"?"_s + QString(100 * 1024, u'a'),
        QString(100 * 1024, u'/'),
    };
    for (const QString& url : malformed) {
        QVERIFY(!MpvPlayer::isRadioAddress(url));
        MpvPlayer player(u"null"_s);
        QSignalSpy stateSpy(&player, &Player::PlayStateChange);
        player.setURL(url);
        QCOMPARE(player.URL(), url);
        QCOMPARE(player.playState(), int(Player::Error));
        QVERIFY2(player.status().startsWith(u"Chyba: "_s), qPrintable(player.status()));
        QVERIFY(player.status().size() < 100);
        player.play();
        QTest::qWait(300);
        QCOMPARE(player.playState(), int(Player::Error));
        QCOMPARE(states(stateSpy), QList<int>{int(Player::Error)});
    }

    // Entries of a playlist get the same check.
    QFile list(m_files.filePath(u"broken.pls"_s));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("[playlist]\nFile1=" + stream.toUtf8() + "\tX\n");
    list.close();
    MpvPlayer player(u"null"_s);
    player.setURL(list.fileName());
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Error), Wait);
    QVERIFY2(beat.steady(), beat.report());
}

void tst_MpvPlayer::addressesNeverRunScriptsOrReadConfiguration()
{
    // A script that leaves a mark when mpv runs it, and an mpv configuration that asks for it.
    const QString marker = m_files.filePath(u"script-ran"_s);
    const QString script = m_files.filePath(u"mark.lua"_s);
    QFile lua(script);
    QVERIFY(lua.open(QIODevice::WriteOnly));
    lua.write("local f = io.open('" + marker.toUtf8() + "', 'w')\nf:write('ran')\nf:close()\n");
    lua.close();
    if (!QStandardPaths::findExecutable(u"mpv"_s).isEmpty()) {
        // The mark works: mpv itself, told to, runs the script.
        QProcess::execute(u"mpv"_s, {u"--no-config"_s, u"--really-quiet"_s, u"--ao=null"_s,
                                     u"--script="_s + script, u"av://lavfi:sine=duration=0.1"_s});
        QVERIFY(QFile::remove(marker));
    }
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QFile conf(home.filePath(u"mpv.conf"_s));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("script=" + script.toUtf8() + "\n");
    conf.close();
    QFile input(home.filePath(u"input.conf"_s));
    QVERIFY(input.open(QIODevice::WriteOnly));
    input.write("x run /bin/sh -c 'touch " + marker.toUtf8() + "'\n");
    input.close();
    const QByteArray oldHome = qgetenv("MPV_HOME");
    qputenv("MPV_HOME", home.path().toUtf8());

    QFile list(m_files.filePath(u"options.m3u"_s));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("--script=" + script.toUtf8() + "\n--scripts=" + script.toUtf8() + "\n");
    list.close();
    const QStringList urls = {
        u"--script="_s + script,
        u"--scripts="_s + script,
        u"--include="_s + home.filePath(u"mpv.conf"_s),
        list.fileName(),
        u"script="_s + script,
    };
    for (const QString& url : urls) {
        MpvPlayer player(u"null"_s);
        player.setURL(url);
        QTRY_VERIFY2_WITH_TIMEOUT(player.playState() == Player::Error, qPrintable(url), Wait);
        QVERIFY2(!QFile::exists(marker), qPrintable(url));
    }
    {
        MpvPlayer player(u"null"_s);
        player.setURL(m_server->streamUrl());
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    }
    if (oldHome.isNull())
        qunsetenv("MPV_HOME");
    else
        qputenv("MPV_HOME", oldHome);
    QVERIFY(!QFile::exists(marker));
}

void tst_MpvPlayer::reportsStationsThatCannotPlay()
{
    Heartbeat beat;
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    CannedServer garbage(QByteArray(4096, '\x17') + "garbage\r\n\r\n");
    CannedServer page("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>"
                      "Not a radio</body></html>\n");
    // Accepts and never answers: the player gives up instead of connecting for ever.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
    CannedServer missing("HTTP/1.0 404 Not Found\r\nContent-Type: text/plain\r\n\r\nno\n");
    // Claims to be MP3 and sends noise.
    QByteArray noise(256 * 1024, Qt::Uninitialized);
    QRandomGenerator random(1250);
    for (char& byte : noise)
        byte = static_cast<char>(random.bounded(256));
    CannedServer noisy("HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n" + noise);
    // A playlist whose only entry is the playlist itself.
    CannedServer loop({});
    loop.setAnswer("HTTP/1.0 200 OK\r\nContent-Type: audio/x-scpls\r\n\r\n[playlist]\r\n"
                   "NumberOfEntries=1\r\nFile1=" +
                   loop.url(u"/loop.pls"_s).toUtf8() + "\r\n");

    const QStringList urls = {
        u"http://127.0.0.1:%1/tone.mp3"_s.arg(closedPort),
        garbage.url(u"/stream"_s),
        page.url(u"/index.html"_s),
        missing.url(u"/tone.mp3"_s),
        m_server->url(u"/no-such-mount.mp3"_s),
        noisy.url(u"/noise.mp3"_s),
        loop.url(u"/loop.pls"_s),
        m_files.filePath(u"no such file.mp3"_s),
        u"http://127.0.0.1:%1/tone.mp3"_s.arg(silent.serverPort()),
    };
    for (const QString& url : urls) {
        MpvPlayer player(u"null"_s);
        QSignalSpy stateSpy(&player, &Player::PlayStateChange);
        QSignalSpy statusSpy(&player, &Player::StatusChange);
        player.setURL(url);
        QTRY_VERIFY2_WITH_TIMEOUT(player.playState() == Player::Error, qPrintable(url), Wait);
        QVERIFY2(player.status().startsWith(u"Chyba: "_s), qPrintable(player.status()));
        QCOMPARE(states(stateSpy).first(), int(Player::Connecting));
        QCOMPARE(states(stateSpy).last(), int(Player::Error));
        QVERIFY2(!states(stateSpy).contains(int(Player::Playing)), qPrintable(url));
        QVERIFY(statusSpy.size() >= 2);
        QCOMPARE(player.bitRate(), 0);
        QCOMPARE(player.URL(), url);
        // An address that never played is not tried again and again.
        QTest::qWait(1500);
        QCOMPARE(player.playState(), int(Player::Error));
        QVERIFY(!states(stateSpy).contains(int(Player::Reconnecting)));
        QVERIFY2(beat.steady(), beat.report());
    }
}

void tst_MpvPlayer::titlesInTheStationsCodePage()
{
    const QString mp3 = m_files.filePath(u"loop.mp3"_s);
    if (!QFile::exists(mp3)) {
        QCOMPARE(QProcess::execute(u"ffmpeg"_s,
                                   {u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-y"_s, u"-f"_s,
                                    u"lavfi"_s, u"-i"_s, u"sine=frequency=330:duration=4"_s,
                                    u"-c:a"_s, u"libmp3lame"_s, u"-b:a"_s, u"64k"_s, mp3}),
                 0);
    }
    QFile file(mp3);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray audio = file.readAll();
    QVERIFY(audio.size() > 16000);

    const QString czech = u"Žluťoučký kůň úpěl ďábelské ódy"_s;
    bool encodable = false;
    const QByteArray cp1250 = Cp1250::encode(czech, &encodable);
    QVERIFY(encodable);
    struct Case
    {
        QByteArray statusLine;
        QByteArray bytes;
        QString expected;
    };
    const QList<Case> cases = {
        // Windows-1250 bytes are no valid UTF-8.
        {"ICY 200 OK", cp1250, czech},
        {"HTTP/1.0 200 OK", cp1250, czech},
        // UTF-8 stays UTF-8; a line break becomes a space.
        {"HTTP/1.0 200 OK", czech.toUtf8() + "\r\n- Live", czech + u" - Live"_s},
    };
    for (const Case& c : cases) {
        IcyServer station(c.statusLine, audio, c.bytes);
        MpvPlayer player(u"null"_s);
        player.setURL(station.url());
        QTRY_COMPARE_WITH_TIMEOUT(player.status(), u"Přehrávání: "_s + c.expected, Wait);
        QCOMPARE(player.playState(), int(Player::Playing));
    }

    // A station that stops sending but keeps the connection open is noticed and reconnected;
    // once it sends again it plays again.
    Heartbeat beat;
    IcyServer station("ICY 200 OK", audio, cp1250);
    station.stallAfter(64 * 1024);
    MpvPlayer player(u"null"_s);
    player.setURL(station.url());
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), 2 * Wait);
    QVERIFY2(player.status().startsWith(u"Obnovování spojení…"_s), qPrintable(player.status()));
    station.stallAfter(std::numeric_limits<qsizetype>::max());
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QVERIFY2(beat.steady(), beat.report());
}

void tst_MpvPlayer::volumeAndMute()
{
    MpvPlayer player(u"null"_s);
    QCOMPARE(player.volume(), 50);
    QCOMPARE(player.mute(), false);
    player.setVolume(37);
    QCOMPARE(player.volume(), 37);
    player.setVolume(150);
    QCOMPARE(player.volume(), 100);
    player.setVolume(-5);
    QCOMPARE(player.volume(), 0);
    player.setMute(true);
    QCOMPARE(player.mute(), true);

    // The settings hold while a stream plays.
    player.setVolume(64);
    player.setURL(m_server->streamUrl());
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QCOMPARE(player.volume(), 64);
    QCOMPARE(player.mute(), true);
    player.setMute(false);
    QCOMPARE(player.mute(), false);
}

void tst_MpvPlayer::reconnectsAfterServerCrash()
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
    // Throughout the break the player said it was reconnecting, never that it failed.
    QCOMPARE(states(stateSpy).first(), int(Player::Reconnecting));
    QVERIFY(!states(stateSpy).contains(int(Player::Error)));
    QVERIFY(!states(stateSpy).contains(int(Player::Connecting)));
    QVERIFY2(beat.steady(), beat.report());

    // A stop ends the retries: the player stays stopped when the station returns.
    m_server->killServer();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), Wait);
    player.stop();
    QCOMPARE(player.playState(), int(Player::Stopped));
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

void tst_MpvPlayer::reconnectsWhenSourceReturns()
{
    Heartbeat beat;
    MpvPlayer player(u"null"_s);
    QSignalSpy stateSpy(&player, &Player::PlayStateChange);
    player.setURL(m_server->streamUrl());
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);

    // The server stays and answers 404 for the mount: still the station is awaited.
    stateSpy.clear();
    m_server->killSource();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), Wait);
    QVERIFY2(player.status().startsWith(u"Obnovování spojení…"_s), qPrintable(player.status()));
    QTRY_VERIFY_WITH_TIMEOUT(player.status().contains(u"za 4 s"_s), Wait);
    QCOMPARE(player.playState(), int(Player::Reconnecting));

    QVERIFY2(m_server->restartSource(), qPrintable(m_server->error()));
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
    QVERIFY(!states(stateSpy).contains(int(Player::Error)));
    QVERIFY2(beat.steady(), beat.report());
}

QTEST_GUILESS_MAIN(tst_MpvPlayer)
#include "tst_MpvPlayer.moc"
