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

#include <functional>
#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Wait = 40000;
constexpr qsizetype Endless = std::numeric_limits<qsizetype>::max();

// A loopback server that hands each request's head to `answer`.
struct LoopbackServer : QTcpServer
{
    std::function<void(QTcpSocket*, const QByteArray&)> answer;
    QHash<QByteArray, QByteArray> routes; // canned answers by path; others get a 404
    LoopbackServer()
    {
        answer = [this](QTcpSocket* socket, const QByteArray& request) {
            socket->write(routes.value(request.split(' ').value(1), "HTTP/1.0 404 No\r\n\r\n"));
            socket->disconnectFromHost();
        };
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request =
                        socket->property("r").toByteArray() + socket->readAll();
                    socket->setProperty("r", request);
                    if (request.contains("\r\n\r\n") && !socket->property("done").isValid()) {
                        socket->setProperty("done", true);
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
};

QByteArray httpAnswer(const QByteArray& type, const QByteArray& body)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// A Shoutcast-style station looping MP3 frames, with the title's bytes (in any code page) sent
// in-band after every 8192 bytes of audio; after `limit` bytes it hangs, the connection open.
struct IcyServer : LoopbackServer
{
    qsizetype limit = Endless;
    IcyServer(const QByteArray& statusLine, const QByteArray& audio, const QByteArray& title)
    {
        QByteArray meta = "StreamTitle='" + title + "';StreamUrl='';";
        meta.append(QByteArray((16 - meta.size() % 16) % 16, '\0'));
        meta.prepend(char(meta.size() / 16));
        answer = [=, this](QTcpSocket* socket, const QByteArray& request) {
            const bool icy = request.toLower().contains("icy-metadata: 1");
            socket->write(statusLine + "\r\nContent-Type: audio/mpeg\r\n" +
                          (icy ? "icy-metaint: 8192\r\n" : "") + "\r\n");
            const auto feed = [=, this] {
                qsizetype offset = socket->property("offset").toLongLong();
                for (; socket->bytesToWrite() < 4 * 8192 && offset < limit; offset += 8192) {
                    QByteArray chunk;
                    for (qsizetype i = 0; i < 8192; ++i)
                        chunk += audio.at((offset + i) % audio.size());
                    socket->write(icy ? chunk + meta : chunk);
                }
                socket->setProperty("offset", offset);
            };
            connect(socket, &QTcpSocket::bytesWritten, socket, feed);
            feed();
        };
    }
};

// Ticks on the GUI thread while a test waits: far fewer ticks than expected mean it blocked.
struct Heartbeat
{
    QTimer timer;
    QElapsedTimer clock;
    qint64 ticks = 0;
    Heartbeat()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { ++ticks; });
        timer.start(20);
        clock.start();
    }
    bool steady() const { return ticks >= clock.elapsed() / 100; }
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

    std::unique_ptr<IcecastServer> m_server;
    QTemporaryDir m_files;
    std::unique_ptr<LoopbackServer> m_web;
    QTcpServer m_silent; // accepts and never answers
    quint16 m_closedPort = 0;
    const QString m_marker = m_files.filePath(u"script-ran"_s);
    QString m_script;
    QByteArray m_audio;

    QString write(const char* name, const QByteArray& bytes)
    {
        QFile file(m_files.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) >= 0 ? file.fileName()
                                                                         : QString();
    }
    QString tone(const QString& name, const QString& source, const QStringList& codec = {})
    {
        const QString file = m_files.filePath(name);
        QProcess::execute(u"ffmpeg"_s, QStringList{u"-nostdin"_s, u"-loglevel"_s, u"error"_s,
                                                   u"-y"_s, u"-f"_s, u"lavfi"_s, u"-i"_s, source} +
                                           codec + QStringList{file});
        return file;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_server = std::make_unique<IcecastServer>();
        if (!m_server->start())
            QFAIL(qPrintable(u"The local Icecast station did not start: "_s + m_server->error()));
        QVERIFY(m_silent.listen(QHostAddress::LocalHost, 0));
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            m_closedPort = probe.serverPort();
        }

        // A script that leaves a mark when run, and an mpv configuration, used by every test,
        // that asks for it: nothing may run it. mpv itself, told to, does run it.
        m_script = write("mark.lua", "local f = io.open('" + m_marker.toUtf8() +
                                         "', 'w')\nf:write('ran')\nf:close()\n");
        if (!QStandardPaths::findExecutable(u"mpv"_s).isEmpty()) {
            QProcess::execute(u"mpv"_s,
                              {u"--no-config"_s, u"--really-quiet"_s, u"--ao=null"_s,
                               u"--script="_s + m_script, u"av://lavfi:sine=duration=0.1"_s});
            QVERIFY(QFile::remove(m_marker));
        }
        QVERIFY(QDir(m_files.path()).mkdir(u"home"_s));
        write("home/mpv.conf", "script=" + m_script.toUtf8() + "\n");
        write("home/input.conf", "x run /bin/sh -c 'touch " + m_marker.toUtf8() + "'\n");
        qputenv("MPV_HOME", m_files.filePath(u"home"_s).toUtf8());

        QFile mp3(tone(u"loop.mp3"_s, u"sine=frequency=330:duration=4"_s,
                       {u"-c:a"_s, u"libmp3lame"_s, u"-b:a"_s, u"64k"_s}));
        QVERIFY(mp3.open(QIODevice::ReadOnly));
        m_audio = mp3.readAll();
        QVERIFY(m_audio.size() > 16000);

        // Playlists with BOMs, CR LF, blank lines, dead first entries (DEAD), relative entries
        // (sent on to the station), references to themselves and content types that lie.
        const QByteArray dead = "http://127.0.0.1:" + QByteArray::number(m_closedPort) + "/d.mp3";
        m_web = std::make_unique<LoopbackServer>();
        auto& routes = m_web->routes;
        const auto list = [&](const QByteArray& path, const char* type, QByteArray body) {
            routes.insert(path, httpAnswer(type, body.replace("DEAD", dead).replace("\n", "\r\n")));
        };
        routes.insert("/live/tone.mp3", "HTTP/1.0 302 Found\r\nLocation: " +
                                            m_server->streamUrl().toUtf8() + "\r\n\r\n");
        list("/a.pls", "text/plain",
             "\xEF\xBB\xBF\n[playlist]\n\nNumberOfEntries=2\nFile1=DEAD\n\nFile2=live/tone.mp3\n");
        list("/b.m3u", "application/octet-stream",
             "\xEF\xBB\xBF#EXTM3U\n\n#EXTINF:-1,Dead\nDEAD\n\n#EXTINF:-1,Tone\nlive/tone.mp3\n");
        list("/c.m3u8", "text/html", "#EXTM3U\nDEAD\nlive/tone.mp3\n");
        list(
            "/d.asx", "text/plain",
            "\xEF\xBB\xBF\n\n<ASX Version=\"3.0\">\n<ENTRY><REF HREF=\"DEAD\"/></ENTRY>\n"
            "<ENTRYREF HREF=\"d.asx\"/>\n\n<Entry><Ref href=\"live/tone.mp3\"/></Entry>\n</ASX>\n");
        list("/e.xspf", "application/octet-stream",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" "
             "xmlns=\"http://xspf.org/ns/0/\"><trackList>\n<track><location>DEAD</location>"
             "</track>\n\n<track><location>e.xspf</location></track>\n<track><location>"
             "live/tone.mp3</location></track>\n</trackList></playlist>\n");
        // A playlist in the middle whose only entry is dead gives way to the entry after it.
        list("/dead.pls", "audio/x-scpls", "[playlist]\nFile1=DEAD\n");
        list("/g.xspf", "application/xspf+xml",
             "<playlist><trackList><track><location>dead.pls</location></track><track><location>"
             "live/tone.mp3</location></track></trackList></playlist>");
        list("/f.asx", "audio/x-ms-asf", "<asx><entryref href=\"/e.xspf\"/></asx>");
        list("/self.asx", "video/x-ms-asf",
             "<asx><entry><ref href=\"self.asx\"/></entry><entryref href=\"self.asx\"/></asx>");
        list("/loop.pls", "audio/x-scpls",
             "[playlist]\nFile1=" + m_web->url(u"/loop.pls"_s).toUtf8());
        routes.insert("/garbage", QByteArray(4096, '\x17') + "garbage\r\n\r\n");
        routes.insert("/index.html", httpAnswer("text/html", "<html><body>No radio</body></html>"));
        QByteArray noise(256 * 1024, Qt::Uninitialized);
        QRandomGenerator random(1250);
        for (char& byte : noise)
            byte = static_cast<char>(random.bounded(256));
        routes.insert("/noise.mp3", "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n" + noise);
        // A network playlist may not point at a file on this computer.
        routes.insert("/sneaky.m3u", httpAnswer("audio/x-mpegurl",
                                                m_files.filePath(u"sneaky.m3u"_s).toUtf8() + "\n"));
    }

    void playStopAndVolume()
    {
        for (const QString& url : {u"HTTPS://example.org/a.pls"_s, u"mms://example.org/a"_s,
                                   u"rtsp://example.org/a"_s, u"C:\\Music\\a.mp3"_s})
            QVERIFY2(MpvPlayer::isRadioAddress(url), qPrintable(url));
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
        QVERIFY2(m_server->setTitle(u"Tone - Sine 440 Hz"_s), qPrintable(m_server->error()));
        QTRY_COMPARE_WITH_TIMEOUT(player.status(), u"Přehrávání: Tone - Sine 440 Hz"_s, Wait);

        // play() on the playing stream does not open it again.
        stateSpy.clear();
        player.play();
        QTest::qWait(500);
        QVERIFY(stateSpy.isEmpty());

        statusSpy.clear();
        player.stop();
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
        player.stop();
        stateSpy.clear();
        statusSpy.clear();
        player.stop();
        QVERIFY(stateSpy.isEmpty() && statusSpy.isEmpty());

        // A file plays to its end and then the player stops.
        player.setURL(tone(u"short.mp3"_s, u"sine=frequency=440:duration=2"_s));
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Stopped), Wait);
        QCOMPARE(player.status(), u"Zastaveno"_s);
        QVERIFY(states(stateSpy).contains(int(Player::Playing)));
    }

    void plays_data()
    {
        QTest::addColumn<QString>("url");
        const QByteArray stream = m_server->streamUrl().toUtf8();
        QTest::newRow("xspf") << write("s.xspf", "<playlist><trackList><track><location>" + stream +
                                                     "</location></track></trackList>"
                                                     "</playlist>");
        QTest::newRow("dead first") << write("m.m3u", "http://127.0.0.1:1/gone.mp3\n" + stream);
        QTest::newRow("icecast m3u") << m_server->streamUrl() + u".m3u"_s;
        for (const char* path :
             {"/a.pls", "/b.m3u", "/c.m3u8", "/d.asx", "/e.xspf", "/f.asx", "/g.xspf"})
            QTest::newRow(path) << m_web->url(QString::fromLatin1(path));
    }

    void plays()
    {
        QFETCH(QString, url);
        MpvPlayer player(u"null"_s);
        QSignalSpy stateSpy(&player, &Player::PlayStateChange);
        player.setURL(url);
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
        QVERIFY(!states(stateSpy).contains(int(Player::Error)));
        QCOMPARE(player.URL(), url);
    }

    void reportsErrors_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("refusedAs"); // status of an address refused before mpv sees it
        for (const char* scheme : {"lavfi", "av", "edl", "memory", "fd", "ytdl"})
            QTest::newRow(scheme) << QString::fromLatin1(scheme) + u"://x"_s
                                  << u"Chyba: nepodporovaný typ adresy (%1)"_s.arg(
                                         QLatin1StringView(scheme));
        QTest::newRow("capitals") << u"Lavfi://sine"_s
                                  << u"Chyba: nepodporovaný typ adresy (lavfi)"_s;
        // Each would reach a working station if the rest were ignored.
        const QString stream = m_server->streamUrl();
        QTest::newRow("CR LF") << stream + u"\r\nX-Injected: 1"_s << u"Chyba: "_s;
        QTest::newRow("LF") << stream + u"\n"_s << u"Chyba: "_s;
        QTest::newRow("NUL") << stream + QChar(0) + u".txt"_s << u"Chyba: "_s;
        QTest::newRow("tab") << stream + u"\t"_s << u"Chyba: "_s;
        QTest::newRow("100 KB query")
            << stream + u"?"_s + QString(100 * 1024, u'a') << u"Chyba: "_s;
        QTest::newRow("100 KB path") << QString(100 * 1024, u'/') << u"Chyba: "_s;

        const QByteArray script = m_script.toUtf8();
        const std::pair<const char*, QString> failing[] = {
            // Playlists get the same checks on their entries.
            {"tab in pls", write("broken.pls", "[playlist]\nFile1=" + stream.toUtf8() + "\tX\n")},
            {"lavfi in m3u", write("sneaky.m3u", "#EXTM3U\nlavfi://sine\n")},
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
            {"options in m3u", write("o.m3u", "--script=" + script + "\n--scripts=" + script)},
        };
        for (const auto& [name, url] : failing)
            QTest::newRow(name) << url << QString();
    }

    void reportsErrors()
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
        QVERIFY(beat.steady());
    }

    void titlesInTheStationsCodePage_data()
    {
        QTest::addColumn<QByteArray>("statusLine");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QString czech = u"Žluťoučký kůň úpěl ďábelské ódy"_s;
        const QByteArray cp1250 = Cp1250::encode(czech);
        // Windows-1250 bytes are no valid UTF-8; UTF-8 stays UTF-8, a line break becomes a space.
        QTest::newRow("ICY 1250") << QByteArray("ICY 200 OK") << cp1250 << czech;
        QTest::newRow("HTTP 1250") << QByteArray("HTTP/1.0 200 OK") << cp1250 << czech;
        QTest::newRow("UTF-8") << QByteArray("HTTP/1.0 200 OK") << czech.toUtf8() + "\r\n- Live"
                               << czech + u" - Live"_s;
    }

    void titlesInTheStationsCodePage()
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

    void reconnectsWhenStationStalls()
    {
        Heartbeat beat;
        IcyServer station("ICY 200 OK", m_audio, "Tone");
        station.limit = 64 * 1024;
        MpvPlayer player(u"null"_s);
        player.setURL(station.url(u"/live"_s));
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), 2 * Wait);
        QVERIFY2(player.status().startsWith(u"Obnovování spojení…"_s), qPrintable(player.status()));
        station.limit = Endless;
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
        QVERIFY(beat.steady());
    }

    void reconnectsAfterServerOrSourceFault()
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
        // The server stays and answers 404 for the mount: still the station is awaited.
        m_server->killSource();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), Wait);
        QTRY_VERIFY_WITH_TIMEOUT(player.status().contains(u"za 4 s"_s), Wait);
        QCOMPARE(player.playState(), int(Player::Reconnecting));
        QVERIFY2(m_server->restartSource(), qPrintable(m_server->error()));
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
        // Throughout the breaks the player may buffer or reconnect, but never says it failed.
        QVERIFY(!states(stateSpy).contains(int(Player::Error)));
        QVERIFY(!states(stateSpy).contains(int(Player::Connecting)));

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
        QVERIFY(beat.steady());
    }
};

QTEST_GUILESS_MAIN(tst_MpvPlayer)
#include "tst_MpvPlayer.moc"
