// The mpv player against a local Icecast station and loopback servers that misbehave.
#include "app/MpvPlayer.h"
#include "app/Recorder.h"
#include "stations/Cp1250.h"
#include "support/IcecastServer.h"
#include "support/TestFolder.h"
#include "support/TlsStation.h"

#include <QtNetwork>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int Wait = 40000;

// A loopback server: canned answers by path, else a 404; with `audio`, a Shoutcast station looping
// it with the title's raw bytes in-band every 8192 bytes, that stalls after `limit` bytes.
struct LoopbackServer : QTcpServer
{
    QHash<QByteArray, QByteArray> routes;
    QByteArray audio, meta;
    qsizetype limit = std::numeric_limits<qsizetype>::max();
    LoopbackServer(const QByteArray& loop = {}, const QByteArray& title = {})
        : audio(loop + loop)
        , meta("StreamTitle='" + title + "';")
    {
        meta = meta.leftJustified((meta.size() + 15) / 16 * 16, '\0').prepend(meta.size() / 16);
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray head = socket->peek(1 << 20);
                    if (head.contains("\r\n\r\n") && !socket->property("done").isValid()) {
                        socket->setProperty("done", true);
                        answer(socket, head);
                    }
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    void answer(QTcpSocket* socket, const QByteArray& head)
    {
        if (audio.isEmpty()) {
            socket->write(routes.value(head.split(' ').value(1), "HTTP/1.0 404 No\r\n\r\n"));
            socket->disconnectFromHost();
            return;
        }
        const bool icy = head.toLower().contains("icy-metadata: 1");
        socket->write(QByteArray("ICY 200 OK\r\nContent-Type: audio/mpeg\r\n") +
                      (icy ? "icy-metaint: 8192\r\n" : "") + "\r\n");
        const auto feed = [=, this] {
            qsizetype offset = socket->property("offset").toLongLong();
            for (; socket->bytesToWrite() < 4 * 8192 && offset < limit; offset += 8192) {
                const QByteArray chunk = audio.mid(offset % (audio.size() / 2), 8192);
                socket->write(icy ? chunk + meta : chunk);
            }
            socket->setProperty("offset", offset);
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, feed);
        feed();
    }
    QString url(const QString& path) const
    {
        return u"http://127.0.0.1:%1%2"_s.arg(serverPort()).arg(path);
    }
};

// Ticks on the GUI thread while a test waits: far fewer ticks than expected mean it blocked.
struct Heartbeat : QTimer
{
    QElapsedTimer clock;
    qint64 ticks = 0;
    Heartbeat()
    {
        connect(this, &QTimer::timeout, [this] { ++ticks; });
        start(20);
        clock.start();
    }
    bool steady() const { return ticks >= clock.elapsed() / 100; }
};

bool saw(const QSignalSpy& states, int state)
{
    return states.contains(QVariantList{state});
}

} // namespace

class tst_MpvPlayer : public QObject
{
    Q_OBJECT

    IcecastServer m_server;
    TestFolder m_files;
    LoopbackServer m_web;
    QTcpServer m_silent; // accepts and never answers
    const QString m_marker = m_files.filePath(u"script-ran"_s);
    QString m_script;

    // Serves a playlist (CR LF, DEAD for a dead entry) as a row where the player ends in `state`.
    void served(const char* path, const char* type, QByteArray body, int state = Player::Error)
    {
        body.replace("DEAD", "http://127.0.0.1:1/d.mp3").replace("\n", "\r\n");
        m_web.routes[path] = "HTTP/1.0 200 OK\r\nContent-Type: " + QByteArray(type) +
                             "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" +
                             body;
        QTest::newRow(path) << m_web.url(QString::fromLatin1(path)) << state << QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_server.start(), qPrintable(u"No local Icecast station: "_s + m_server.error()));
        QVERIFY(m_silent.listen(QHostAddress::LocalHost, 0));
        // A script that leaves a mark when run, and an mpv configuration, read by every test,
        // that asks for it: nothing may run it. mpv itself, told to, does run it.
        m_script = m_files.write(u"mark.lua"_s, "local f = io.open('" + m_marker.toUtf8() +
                                                    "', 'w')\nf:write('ran')\nf:close()\n");
        QProcess::execute(u"mpv"_s, {u"--no-config"_s, u"--really-quiet"_s, u"--ao=null"_s,
                                     u"--script="_s + m_script, u"av://lavfi:sine=duration=0.1"_s});
        QVERIFY(QFile::remove(m_marker));
        QVERIFY(QDir(m_files.path()).mkdir(u"home"_s));
        m_files.write(u"home/mpv.conf"_s, "script=" + m_script.toUtf8() + "\n");
        m_files.write(u"home/input.conf"_s, "x run /bin/sh -c 'touch " + m_marker.toUtf8() + "'\n");
        qputenv("MPV_HOME", m_files.filePath(u"home"_s).toUtf8());

        QProcess::execute(u"ffmpeg"_s, {u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-f"_s,
                                        u"lavfi"_s, u"-i"_s, u"sine=frequency=330:duration=4"_s,
                                        u"-b:a"_s, u"64k"_s, m_files.filePath(u"tone.mp3"_s)});
        m_web.routes["/live/tone.mp3"] =
            "HTTP/1.0 302 Found\r\nLocation: " + m_server.streamUrl().toUtf8() + "\r\n\r\n";
        m_web.routes["/garbage"] = QByteArray(4096, '\x17') + "garbage\r\n\r\n";
    }

    // One session on the local station: states, title, stop and play, faults, a file that ends.
    void playsStopsAndReconnects()
    {
        Heartbeat beat;
        MpvPlayer player(u"null"_s);
        QSignalSpy states(&player, &Player::PlayStateChange);
        QSignalSpy statuses(&player, &Player::StatusChange);
        for (const auto& [asked, kept] : {std::pair{150, 100}, {-5, 0}, {64, 64}}) {
            player.setVolume(asked);
            QCOMPARE(player.volume(), kept);
        }
        player.setMute(true);
        player.play(); // nothing to play yet
        QVERIFY(states.isEmpty());

        player.setURL(m_server.streamUrl());
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
        for (qsizetype i = 1; i < states.size(); ++i)
            QVERIFY(states.at(i) != states.at(i - 1));
        QTRY_VERIFY_WITH_TIMEOUT(player.bitRate() > 120000 && player.bitRate() < 136000, Wait);
        QVERIFY(player.volume() == 64 && player.mute());
        // Icecast sends in-band titles of MP3 streams in Latin-1, so the title stays ASCII.
        QVERIFY2(m_server.setTitle(u"Tone - Sine 440 Hz"_s), qPrintable(m_server.error()));
        QTRY_COMPARE_WITH_TIMEOUT(player.status(), u"Přehrávání: Tone - Sine 440 Hz"_s, Wait);

        // play() on the playing stream does not open it again. Stop says so once, a second stop
        // not at all, and what mpv still reports about the stopped stream does not bring it back.
        states.clear();
        player.play();
        QVERIFY(!states.wait(500));
        statuses.clear();
        player.stop();
        QVERIFY(player.URL() == m_server.streamUrl() && player.bitRate() == 0);
        QVERIFY(!states.wait(1500));
        player.stop();
        QVERIFY(states == QList<QVariantList>{{int(Player::Stopped)}} && statuses.size() == 1);
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);

        // A broken station is awaited with growing pauses and found soon after it returns, also
        // when only its source broke and the server answers 404; the player never says it failed.
        states.clear();
        m_server.killServer();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), Wait);
        QCOMPARE(player.bitRate(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(player.status().contains(u"za 2 s"_s), Wait);
        QVERIFY2(m_server.restart(), qPrintable(m_server.error()));
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), 5000);
        m_server.killSource();
        QTRY_VERIFY_WITH_TIMEOUT(player.status().contains(u"za 4 s"_s), Wait);
        QVERIFY2(m_server.restartSource(), qPrintable(m_server.error()));
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
        QVERIFY(!saw(states, Player::Error) && !saw(states, Player::Connecting));

        // A stop ends the retries: the station's return does not bring it back.
        m_server.killServer();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), Wait);
        player.stop();
        states.clear();
        QVERIFY2(m_server.restart(), qPrintable(m_server.error()));
        QVERIFY(!states.wait(4000));

        // A file plays to its end and then the player stops.
        player.setURL(m_files.filePath(u"tone.mp3"_s));
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Stopped), Wait);
        QVERIFY(saw(states, Player::Playing) && beat.steady());
    }

    void opens_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("refusal"); // the status of an address refused before mpv
        const auto row = [](const char* name, const QString& url, int state = Player::Error,
                            const QString& refusal = {}) {
            QTest::newRow(name) << url << state << refusal;
        };
        // Playlists here and on the network with a BOM, CR LF, blank lines, dead first and
        // relative entries, references to themselves and content types that lie.
        const QString stream = m_server.streamUrl();
        const QByteArray script = m_script.toUtf8();
        row("asx file",
            m_files.write(u"s.asx"_s, "<asx><ref href=\"http://127.0.0.1:1/\"/><ref href=\"" +
                                          stream.toUtf8() + "\"/></asx>"),
            Player::Playing);
        row("icecast m3u", stream + u".m3u"_s, Player::Playing);
        served("/a.pls", "text/plain",
               "\xEF\xBB\xBF\n[playlist]\n\nNumberOfEntries=2\nFile1=DEAD\n\nFile2=live/tone.mp3\n",
               Player::Playing);
        served("/e.xspf", "application/octet-stream",
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" "
               "xmlns=\"http://xspf.org/ns/0/\"><trackList>\n<track><location>DEAD</location>"
               "</track>\n\n<track><location>e.xspf</location></track>\n<track><location>"
               "live/tone.mp3</location></track>\n</trackList></playlist>\n",
               Player::Playing);
        // A playlist in the middle whose only entry is dead gives way to the entry after it.
        served("/dead.pls", "audio/x-scpls", "[playlist]\nFile1=DEAD\n");
        served("/g.xspf", "application/xspf+xml",
               "<playlist><trackList><track><location>dead.pls</location></track><track><location>"
               "live/tone.mp3</location></track></trackList></playlist>",
               Player::Playing);
        // It would reach a working station if the rest were ignored (words: tst_playbackrules).
        row("NUL CR LF", stream + QChar(0) + u"\r\nX-Injected: 1"_s, Player::Error,
            u"Chyba: adresa obsahuje neplatné znaky"_s);
        // Playlists get the same checks on their entries (all checks: tst_playbackrules).
        row("lavfi in m3u", m_files.write(u"sneaky.m3u"_s, "#EXTM3U\nlavfi://sine\n"));
        // A network playlist may not point at a file on this computer, nor at itself.
        served("/sneaky.m3u", "audio/x-mpegurl", m_files.filePath(u"sneaky.m3u"_s).toUtf8());
        served("/self.asx", "video/x-ms-asf",
               "<asx><entry><ref href=\"self.asx\"/></entry><entryref href=\"self.asx\"/></asx>");
        served("/loop.pls", "audio/x-scpls",
               "[playlist]\nFile1=" + m_web.url(u"/loop.pls"_s).toUtf8());
        row("refused port", u"http://127.0.0.1:1/tone.mp3"_s); // nothing listens there
        row("never answers", u"http://127.0.0.1:%1/tone.mp3"_s.arg(m_silent.serverPort()));
        row("garbage", m_web.url(u"/garbage"_s));
        served("/index.html", "text/html", "<html><body>No radio</body></html>");
        row("404 mount", m_server.url(u"/no-such-mount.mp3"_s));
        row("missing file", m_files.filePath(u"no such file.mp3"_s));
        // No script can be run through a station's address.
        row("--script", u"--script="_s + m_script);
        row("options in m3u",
            m_files.write(u"o.m3u"_s, "--script=" + script + "\n--scripts=" + script));
    }

    void opens()
    {
        QFETCH(QString, url);
        QFETCH(int, state);
        QFETCH(QString, refusal);
        Heartbeat beat;
        MpvPlayer player(u"null"_s);
        QSignalSpy states(&player, &Player::PlayStateChange);
        player.setURL(url);
        QCOMPARE(player.status(), refusal.isEmpty() ? u"Připojování…"_s : refusal);
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), state, Wait);
        // Dead entries are passed over in silence; an address that never played is not retried.
        QVERIFY(!saw(states, state == Player::Error ? Player::Playing : Player::Error) &&
                !saw(states, Player::Reconnecting));
        if (state == Player::Error) {
            QVERIFY2(player.status().startsWith(u"Chyba: "_s), qPrintable(player.status()));
            states.clear();
            QVERIFY(!states.wait(1000));
            // A new address is news even when the state stays the same.
            player.setURL(url);
            QCOMPARE(states.size(), 1);
        }
        QVERIFY(player.URL() == url && !QFile::exists(m_marker) && beat.steady());
    }

    // An https station plays only with a certificate from an authority the player trusts, made
    // out to the station's address; any other ends with its cause and never plays for a moment.
    void checksCertificates()
    {
        TlsStation selfSigned, privateCa, otherHost;
        QVERIFY2(selfSigned.start(false), qPrintable(selfSigned.error()));
        QVERIFY2(privateCa.start(true), qPrintable(privateCa.error()));
        QVERIFY2(otherHost.start(true, u"elsewhere.example"_s), qPrintable(otherHost.error()));
        const QString untrusted = u"Chyba: certifikát serveru není důvěryhodný"_s;
        MpvPlayer player(u"null"_s);
        QSignalSpy states(&player, &Player::PlayStateChange);
        for (const auto& [url, authorities, status] :
             {std::tuple{selfSigned.url(), QString(), untrusted},
              // The system does not know the private authority; only the player, when told.
              {privateCa.url(), QString(), untrusted},
              {selfSigned.url(), privateCa.caFile(), untrusted},
              {privateCa.url(), privateCa.caFile(), u"Přehrávání"_s},
              {otherHost.url(), otherHost.caFile(),
               u"Chyba: certifikát serveru nepatří této adrese"_s}}) {
            player.setCertificateAuthorities(authorities);
            states.clear();
            player.setURL(url);
            QTRY_VERIFY_WITH_TIMEOUT(
                player.playState() == Player::Playing || player.playState() == Player::Error, Wait);
            QCOMPARE(player.status(), status);
            QVERIFY(player.playState() == Player::Playing || !saw(states, Player::Playing));
        }
    }

    // A full disk ends the recording with the folder named; the station plays on.
    void recordingEndsOnAFullDisk()
    {
        MpvPlayer player(u"null"_s);
        Recorder recorder(player);
        QSignalSpy ended(&recorder, &Recorder::Ended);
        player.setURL(m_server.streamUrl());
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
        const QString folder = m_files.filePath(u"nahrávky"_s);
        QVERIFY(recorder.start(folder, u"Plno"_s));
        {
            DiskFull full(64 * 1024);
            QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, Wait);
        }
        QVERIFY(ended.first().first().toString().startsWith(u"Do složky "_s + folder));
        QTest::qWait(1000);
        QCOMPARE(player.playState(), int(Player::Playing));
    }
    // A Shoutcast station's Windows-1250 title is shown; when it stalls with its connection open,
    // the player reconnects and plays again once the station sends.
    void titlesAndStalls()
    {
        const QString czech = u"Žluťoučký kůň úpěl ďábelské ódy"_s;
        Heartbeat beat;
        LoopbackServer station(m_files.read(u"tone.mp3"_s), Cp1250::encode(czech) + "\r\n- Live");
        station.limit = 64 * 1024;
        MpvPlayer player(u"null"_s);
        player.setURL(station.url(u"/live"_s));
        QTRY_COMPARE_WITH_TIMEOUT(player.status(), u"Přehrávání: "_s + czech + u" - Live"_s, Wait);
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Reconnecting), 2 * Wait);
        station.limit = std::numeric_limits<qsizetype>::max();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), Wait);
        QVERIFY(beat.steady());
    }
};

QTEST_GUILESS_MAIN(tst_MpvPlayer)
#include "tst_MpvPlayer.moc"
