// ASX and XSPF playlists: which addresses are ones, and the entries read from them in order.
#include "app/XmlPlaylist.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_XmlPlaylist : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries()
    {
        for (const auto& [url, is] : {std::pair{u"http://e.org/radio.ASX?session=1"_s, true},
                                      {u"/home/user/radio.wax"_s, true},
                                      {u"http://e.org/a.mp3?list=.asx"_s, false},
                                      {u"http://e.org/asx"_s, false}})
            QVERIFY2(XmlPlaylist::isXmlPlaylist(url) == is, qPrintable(url));

        const struct
        {
            QByteArray bytes;
            QStringList expected;
            QUrl base = QUrl(u"http://r.org/l/a.asx"_s);
        } cases[] = {
            // BOM, blank lines, CR LF, capitals, bare and escaped "&", relative and nested entries.
            {"\xEF\xBB\xBF\r\n\r\n<ASX VERSION=\"3\">\r\n<TITLE>Rádio</TITLE><Entry><Ref HREF=\"ht"
             "tp://a.org/?x=1&y=2\"/><ref href=\"mms://b.org/\"/></Entry>\r\n<entry><ref href=\""
             "s.mp3\" /></entry><entryref href=\"../m.asx\"/><entry><ref href=\"  \"/></entry>"
             "<entry><ref href=\"a&amp;b&#38;c\"/></entry></ASX>\r\n",
             {u"http://a.org/?x=1&y=2"_s, u"mms://b.org/"_s, u"http://r.org/l/s.mp3"_s,
              u"http://r.org/m.asx"_s, u"http://r.org/l/a&b&c"_s}},
            // Every location of a track, trimmed; none outside a track.
            {"<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><location>http://x.org/"
             "</location><trackList><track><title>1</title><location> http://a.org/ </location>"
             "\n<location>http://b.org/</location></track><track><location>c.m3u</location>"
             "</track><track><title>none</title></track></trackList></playlist>",
             {u"http://a.org/"_s, u"http://b.org/"_s, u"http://r.org/l/c.m3u"_s}},
            // Relative entries of a file on this computer are files next to it.
            {"<asx><entry><ref href=\"a.mp3\"/></entry></asx>",
             {u"/radio/a.mp3"_s},
             QUrl::fromLocalFile(u"/radio/b.asx"_s)},
            // A remote playlist names no local file nor special player address.
            {"<asx><ref href=\"file:///etc/passwd\"/><ref href=\"/etc/passwd\"/><ref href=\"lavfi"
             "://sine\"/><ref href=\"edl://%10%/etc/passwd\"/><ref href=\"rtsp://a.org/\"/></asx>",
             {u"http://r.org/etc/passwd"_s, u"rtsp://a.org/"_s}},
            // Entries before a fault in the XML are kept; deep nesting is only text to walk; what
            // is no XML gives none.
            {"<asx><ref href=\"http://a.org/\"/></wrong><ref href=\"http://b.org/\"/></asx>",
             {u"http://a.org/"_s}},
            {"<asx>" + QByteArray("<entry>").repeated(5000) + "<ref href=\"http://a.org/\"/>",
             {u"http://a.org/"_s}},
            {QByteArray("\x00\x01\x02 not xml", 11), {}},
            {QByteArray(100000, '<'), {}},
        };
        for (const auto& c : cases)
            QCOMPARE(XmlPlaylist::entries(c.bytes, c.base), c.expected);
    }
};

QTEST_GUILESS_MAIN(tst_XmlPlaylist)
#include "tst_XmlPlaylist.moc"
