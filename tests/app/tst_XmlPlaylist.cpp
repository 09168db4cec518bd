// ASX and XSPF playlists: which addresses are ones, and the entries read from them in order.
#include "app/XmlPlaylist.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_XmlPlaylist : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recognisesXmlPlaylistsByExtension()
    {
        const std::pair<QString, bool> cases[] = {
            {u"http://example.org/radio.ASX?session=1"_s, true},
            {u"https://example.org/list.xspf"_s, true},
            {u"/home/user/radio.wax"_s, true},
            {u"C:\\Radio\\radio.wvx"_s, true},
            {u"http://example.org/radio.pls"_s, false},
            {u"http://example.org/stream.mp3?list=.asx"_s, false},
            {u"http://example.org/asx"_s, false},
            {QString(), false},
        };
        for (const auto& [url, playlist] : cases)
            QVERIFY2(XmlPlaylist::isXmlPlaylist(url) == playlist, qPrintable(url));
    }

    void entries_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QStringList>("expected");
        const QString web = u"http://radio.example.org/lists/a.asx"_s;
        // Byte order mark, blank lines, CR LF, capitals, a bare "&", relative and nested entries.
        QTest::newRow("asx") << QByteArray(
                                    "\xEF\xBB\xBF\r\n\r\n<ASX VERSION=\"3.0\">\r\n"
                                    "<TITLE>Rádio</TITLE>\r\n"
                                    "<Entry><Ref HREF=\"http://a.example.org/live?x=1&y=2\"/>"
                                    "<ref href=\"mms://b.example.org/live\"/></Entry>\r\n"
                                    "<entry><ref href=\"backup/stream.mp3\" /></entry>\r\n"
                                    "<entryref href=\"../more.asx\"/>\r\n"
                                    "<entry><ref href=\"  \"/></entry>\r\n"
                                    "<entry><ref href=\"a&amp;b.mp3\"/></entry></ASX>\r\n")
                             << web
                             << QStringList{u"http://a.example.org/live?x=1&y=2"_s,
                                            u"mms://b.example.org/live"_s,
                                            u"http://radio.example.org/lists/backup/stream.mp3"_s,
                                            u"http://radio.example.org/more.asx"_s,
                                            u"http://radio.example.org/lists/a&b.mp3"_s};
        QTest::newRow("xspf")
            << QByteArray(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n"
                   "<location>http://ignored.example.org/self.xspf</location><trackList>\n"
                   "<track><title>One</title><location> http://one.example.org/live </location>\n"
                   "<location>http://one-backup.example.org/live</location></track>\n"
                   "<track><location>two.m3u</location></track>\n"
                   "<track><title>no location</title></track></trackList></playlist>\n")
            << web
            << QStringList{u"http://one.example.org/live"_s,
                           u"http://one-backup.example.org/live"_s,
                           u"http://radio.example.org/lists/two.m3u"_s};
        // Relative entries of a file on this computer are files next to it.
        QTest::newRow("local file")
            << QByteArray("<asx><entry><ref href=\"tone.mp3\"/></entry></asx>")
            << u"/home/user/radio/station.asx"_s << QStringList{u"/home/user/radio/tone.mp3"_s};
        // A remote playlist names no local file nor a special player address; a path on a web
        // server stays on that server.
        QTest::newRow("remote names no local files")
            << QByteArray("<asx><entry><ref href=\"file:///etc/passwd\"/></entry>"
                          "<entry><ref href=\"/etc/passwd\"/></entry>"
                          "<entry><ref href=\"lavfi://sine\"/></entry>"
                          "<entry><ref href=\"edl://%10%/etc/passwd\"/></entry>"
                          "<entry><ref href=\"rtsp://radio.example.org/live\"/></entry></asx>")
            << web
            << QStringList{u"http://radio.example.org/etc/passwd"_s,
                           u"rtsp://radio.example.org/live"_s};
        // Entries before a fault in the XML are kept; what is no XML gives none.
        QTest::newRow("broken") << QByteArray("<asx><entry><ref href=\"http://a.example.org/\"/>"
                                              "</entry></wrong><entry><ref "
                                              "href=\"http://b.example.org/\"/></entry></asx>")
                                << web << QStringList{u"http://a.example.org/"_s};
        QTest::newRow("empty") << QByteArray() << web << QStringList();
        QTest::newRow("not xml") << QByteArray("\x00\x01\x02 not xml", 11) << web << QStringList();
        QTest::newRow("brackets") << QByteArray(100000, '<') << web << QStringList();
        // Deep nesting is only text to walk through.
        QTest::newRow("deep") << "<asx>" + QByteArray("<entry>").repeated(5000) +
                                     "<ref href=\"http://a.example.org/\"/>"
                              << web << QStringList{u"http://a.example.org/"_s};
    }

    void entries()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, base);
        QFETCH(QStringList, expected);
        const QUrl url = base.startsWith(u'/') ? QUrl::fromLocalFile(base) : QUrl(base);
        QCOMPARE(XmlPlaylist::entries(bytes, url), expected);
    }
};

QTEST_GUILESS_MAIN(tst_XmlPlaylist)
#include "tst_XmlPlaylist.moc"
