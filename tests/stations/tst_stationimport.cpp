// Playlists of other players read and imported into the current list, and the ones we export.
#include "TestFolder.h"
#include "base/ProcessState.h"
#include "stations/PlaylistImport.h"
#include "stations/StationExport.h"
#include "stations/StationFile.h"
#include "stations/StationImport.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class tst_StationImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsAndWritesEachFormat()
    {
        const std::tuple<QString, QByteArray, QString> cases[] = {
            // BOM, CR LF, a comma in an attribute's quotes, other comments, no name, blank lines.
            {u"a.m3u8"_s,
             "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:-1 tvg-name=\"a, b\",  Český rozhlas "
             "\r\nhttp://a/2\r\n#EXTVLCOPT:x\r\n\r\n  http://b/  \r\n#EXTINF:5\nhttp://c\n",
             u"Český rozhlas|http://a/2;|http://b/;|http://c"_s},
            {u"a.M3U"_s, "#EXTINF:-1,R\341dio Caf\351\nhttp://l\n", u"Rádio Café|http://l"_s},
            // Keys in any case and order; a title without its file; a key given twice.
            {u"b.PLS"_s,
             "[playlist]\r\nTitle2=Žižkov\r\nfile2 = http://z \r\nFile1=http://o"
             "\r\nTitle3=Nic\r\nFile2=http://again\r\nFilex=http://x\r\nNumberOfEntries=3\r\n",
             u"Žižkov|http://z;|http://o"_s},
            // The first web location of a track, the track's own title; a fault ends the reading.
            {u"c.xspf"_s,
             "<playlist><title>L</title><trackList><track><location>file:///x</location>"
             "<location> http://w/ </location><x><title>no</title></x><title>Dvojka</title>"
             "</track><track><location>rtmp://r</location></track><track><title>-</title></track>"
             "</trackList><track><location>http://cut</location></bad></track>",
             u"Dvojka|http://w/;|rtmp://r"_s},
            {u"d.xspf"_s,
             "<playlist><track><location>http://a</location></track>" +
                 QByteArray("<x>").repeated(100000),
             u"|http://a"_s},
        };
        for (const auto& [file, bytes, expected] : cases) {
            QStringList found;
            for (const ImportedStation& s : ReadPlaylistStations(bytes, file))
                found << s.name + u'|' + s.url;
            QCOMPARE(found.join(u';'), expected);
        }

        // A line break in a name becomes a blank; an address with one is left out.
        const QList<StationRecord> stations{
            {u"Rádio, \"Žižkov\" = 1\n2"_s, u"http://z/?a=1"_s, u"0"_s},
            {u"x"_s, u"http://bad\r"_s, u"0"_s},
            {u"Dvojka"_s, u"https://d"_s, u"0"_s}};
        QCOMPARE(PlaylistBytes(stations, PlaylistFormat::M3u8),
                 u"#EXTM3U\n#EXTINF:-1,Rádio, \"Žižkov\" = 1 2\nhttp://z/?a=1\n"
                 u"#EXTINF:-1,Dvojka\nhttps://d\n"_s.toUtf8());
        const QString missing = QDir::tempPath() + u"/chybí/x.pls"_s;
        QCOMPARE(ExportStationList(missing),
                 u"Stanice se nepodařilo uložit do souboru \"%1\"."_s.arg(missing));
    }

    void importsIntoTheListAndCounts()
    {
        TestFolder folder;
        const QByteArray list = StationBytes("Alfa", "http://Alfa/") + "\r\n";
        setStationFilePath(folder.write(u"list.ksl"_s, list));
        const QString playlist = folder.write(
            u"in.m3u"_s, "#EXTINF:-1,Nové rádio\nhttp://new/1\nhttp://bez/\n"
                         "#EXTINF:-1,x<StationUrl>\nhttp://t\n#EXTINF:-1,a\001b\nhttp://c\n"
                         "#EXTINF:-1,日本\nhttp://j\nfile:///etc/passwd\njavascript:x\n"
                         "http:///etc\nhttp://u/</stationurl>\nHTTP://alfa/\nhttp://NEW/1\n");
        QCOMPARE(ImportPlaylistFile(playlist),
                 u"Přidány 2 stanice, přeskočeno 9 (2 již v seznamu, 4 neplatné adresy, "
                 u"3 neplatné názvy)."_s);
        const QByteArray expected = StationBytes("Alfa", "http://Alfa/") +
                                    StationBytes("Nov\351 r\341dio", "http://new/1") +
                                    StationBytes("http://bez/", "http://bez/") + "\r\n";
        QCOMPARE(folder.read(u"list.ksl"_s), expected);

        // Refused whole: a list that cannot be written, a file over 10 MB.
        QFile::setPermissions(StationFilePath(), QFile::ReadOwner);
        folder.write(u"more.pls"_s, "File1=http://more/\n");
        QCOMPARE(ImportPlaylistFile(folder.filePath(u"more.pls"_s)),
                 StationFileWriteErrorMessage(StationFilePath()));
        const QString large = folder.write(u"l.m3u"_s, QByteArray(MaxPlaylistFileSize + 1, '#'));
        QCOMPARE(ImportPlaylistFile(large),
                 u"Soubor %1 je větší než 10 MB, stanice z něj nelze načíst."_s.arg(large));
        QCOMPARE(folder.read(u"list.ksl"_s), expected);

        // Czech forms for 1, 2 to 4 and the rest; only the reasons there are.
        QCOMPARE(ImportSummaryText({1, 5, 1, 0, {}}),
                 u"Přidána 1 stanice, přeskočeno 6 (5 již v seznamu, 1 neplatná adresa)."_s);
        QCOMPARE(ImportSummaryText({4, 0, 5, 2, {}}),
                 u"Přidány 4 stanice, přeskočeno 7 (5 neplatných adres, 2 neplatné názvy)."_s);
    }
};

QTEST_GUILESS_MAIN(tst_StationImport)
#include "tst_stationimport.moc"
