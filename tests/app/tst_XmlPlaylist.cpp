#include "app/XmlPlaylist.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_XmlPlaylist : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recognisesXmlPlaylistsByExtension();
    void readsAsxEntriesInOrder();
    void readsXspfTracksInOrder();
    void remotePlaylistsNameNoLocalFiles();
    void survivesBrokenXml();
};

void tst_XmlPlaylist::recognisesXmlPlaylistsByExtension()
{
    QVERIFY(XmlPlaylist::isXmlPlaylist(u"http://example.org/radio.asx"_s));
    QVERIFY(XmlPlaylist::isXmlPlaylist(u"http://example.org/radio.ASX?session=1"_s));
    QVERIFY(XmlPlaylist::isXmlPlaylist(u"https://example.org/list.xspf"_s));
    QVERIFY(XmlPlaylist::isXmlPlaylist(u"/home/user/radio.wax"_s));
    QVERIFY(XmlPlaylist::isXmlPlaylist(u"C:\\Radio\\radio.wvx"_s));
    QVERIFY(!XmlPlaylist::isXmlPlaylist(u"http://example.org/radio.pls"_s));
    QVERIFY(!XmlPlaylist::isXmlPlaylist(u"http://example.org/stream.mp3?list=.asx"_s));
    QVERIFY(!XmlPlaylist::isXmlPlaylist(u"http://example.org/asx"_s));
    QVERIFY(!XmlPlaylist::isXmlPlaylist(QString()));
}

void tst_XmlPlaylist::readsAsxEntriesInOrder()
{
    const QUrl base(u"http://radio.example.org/lists/station.asx"_s);
    // Byte order mark, blank lines, CR LF, capitals, a bare "&", relative and nested entries.
    const QByteArray asx = "\xEF\xBB\xBF\r\n\r\n<ASX VERSION=\"3.0\">\r\n"
                           "  <TITLE>Rádio</TITLE>\r\n"
                           "  <Entry><Ref HREF=\"http://a.example.org/live?x=1&y=2\"/>\r\n"
                           "         <ref href=\"mms://b.example.org/live\"/></Entry>\r\n"
                           "\r\n"
                           "  <entry><ref href=\"backup/stream.mp3\" /></entry>\r\n"
                           "  <entryref href=\"../more.asx\"/>\r\n"
                           "  <entry><ref href=\"  \"/></entry>\r\n"
                           "  <entry><ref href=\"a&amp;b.mp3\"/></entry>\r\n"
                           "</ASX>\r\n";
    QBuffer buffer;
    buffer.setData(asx);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const QStringList expected = {
        u"http://a.example.org/live?x=1&y=2"_s,
        u"mms://b.example.org/live"_s,
        u"http://radio.example.org/lists/backup/stream.mp3"_s,
        u"http://radio.example.org/more.asx"_s,
        u"http://radio.example.org/lists/a&b.mp3"_s,
    };
    QCOMPARE(XmlPlaylist::entries(buffer.readAll(), base), expected);

    // Relative entries of a file on this computer are files next to it.
    const QUrl local = QUrl::fromLocalFile(u"/home/user/radio/station.asx"_s);
    QCOMPARE(XmlPlaylist::entries("<asx><entry><ref href=\"tone.mp3\"/></entry></asx>", local),
             QStringList{u"/home/user/radio/tone.mp3"_s});
}

void tst_XmlPlaylist::readsXspfTracksInOrder()
{
    const QUrl base(u"http://radio.example.org/station.xspf"_s);
    const QByteArray xspf = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n"
                            "  <location>http://ignored.example.org/self.xspf</location>\n"
                            "  <trackList>\n"
                            "    <track><title>One</title>\n"
                            "      <location> http://one.example.org/live </location>\n"
                            "      <location>http://one-backup.example.org/live</location>\n"
                            "    </track>\n"
                            "    <track><location>two.m3u</location></track>\n"
                            "    <track><title>no location</title></track>\n"
                            "  </trackList>\n</playlist>\n";
    const QStringList expected = {
        u"http://one.example.org/live"_s,
        u"http://one-backup.example.org/live"_s,
        u"http://radio.example.org/two.m3u"_s,
    };
    QCOMPARE(XmlPlaylist::entries(xspf, base), expected);
}

void tst_XmlPlaylist::remotePlaylistsNameNoLocalFiles()
{
    const QByteArray asx = "<asx>"
                           "<entry><ref href=\"file:///etc/passwd\"/></entry>"
                           "<entry><ref href=\"/etc/passwd\"/></entry>"
                           "<entry><ref href=\"lavfi://sine\"/></entry>"
                           "<entry><ref href=\"edl://%10%/etc/passwd\"/></entry>"
                           "<entry><ref href=\"rtsp://radio.example.org/live\"/></entry>"
                           "</asx>";
    // A path on a web server stays on that server.
    const QStringList remote = {u"http://radio.example.org/etc/passwd"_s,
                                u"rtsp://radio.example.org/live"_s};
    QCOMPARE(XmlPlaylist::entries(asx, QUrl(u"http://radio.example.org/a.asx"_s)), remote);
    // The same playlist on this computer may name its files; the player's own check decides on
    // the rest.
    const QStringList local = XmlPlaylist::entries(asx, QUrl::fromLocalFile(u"/tmp/a.asx"_s));
    QVERIFY(local.contains(u"/etc/passwd"_s));
    QCOMPARE(local.last(), u"rtsp://radio.example.org/live"_s);
}

void tst_XmlPlaylist::survivesBrokenXml()
{
    const QUrl base(u"http://radio.example.org/a.asx"_s);
    // Entries before the fault are kept.
    QCOMPARE(
        XmlPlaylist::entries("<asx><entry><ref href=\"http://a.example.org/\"/></entry>"
                             "</wrong><entry><ref href=\"http://b.example.org/\"/></entry></asx>",
                             base),
        QStringList{u"http://a.example.org/"_s});
    QVERIFY(XmlPlaylist::entries({}, base).isEmpty());
    QVERIFY(XmlPlaylist::entries("\x00\x01\x02 not xml at all", base).isEmpty());
    QVERIFY(XmlPlaylist::entries("[playlist]\nFile1=http://a.example.org/\n", base).isEmpty());
    QVERIFY(XmlPlaylist::entries(QByteArray(100000, '<'), base).isEmpty());
    // Deep nesting of elements is only text to walk through.
    QByteArray deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<entry>";
    QVERIFY(XmlPlaylist::entries("<asx>" + deep + "<ref href=\"http://a.example.org/\"/>", base)
                .contains(u"http://a.example.org/"_s));
}

QTEST_GUILESS_MAIN(tst_XmlPlaylist)
#include "tst_XmlPlaylist.moc"
