// Reading, scanning, parsing and writing station list files.
#include "TestFolder.h"
#include "stations/Cp1250.h"
#include "stations/StationFile.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList innerTexts(const QString& text)
{
    QStringList out;
    StationRecordScan scan(text);
    QStringView inner;
    while (scan.next(inner))
        out.append(inner.toString());
    return out;
}

} // namespace

class tst_StationFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readingPreparesTheText()
    {
        TestFolder folder;
        // CR LF pairs and tabs go, a lone CR or LF stays; a tab between CR and LF leaves CR LF.
        const QString path = folder.write(u"a.ksl"_s, "a\r\nb\tc\rd\ne\r\t\nf\r\n");
        QCOMPARE(ReadStationFile(path), u"abc\rd\ne\r\nf"_s);

        QCOMPARE(ReadStationFile(folder.write(u"crlf.ksl"_s, "\r\n")), QString());
        QCOMPARE(ReadStationFile(folder.write(u"empty.ksl"_s, "")), QString());
        QCOMPARE(ReadStationFile(folder.filePath(u"missing.ksl"_s)), QString());
        QCOMPARE(ReadStationFile(QString()), QString());
        QCOMPARE(ReadStationFile(folder.path()), QString()); // a folder is not a list
    }

    void windows1250RoundTripsEveryCzechLetter()
    {
        const QString letters = u"áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ„“–€"_s;
        bool ok = false;
        const QByteArray bytes = Cp1250::encode(letters, &ok);
        QVERIFY(ok);
        QCOMPARE(bytes.size(), letters.size());
        QCOMPARE(bytes.left(2), QByteArray("\xE1\xE8"));
        QCOMPARE(Cp1250::decode(bytes), letters);

        // Every byte survives a read and a write, the undefined ones included.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Cp1250::encode(Cp1250::decode(all), &ok), all);
        QVERIFY(ok);

        QVERIFY(!Cp1250::canEncode(u"Kraków ✓"_s));
        QVERIFY(!Cp1250::canEncode(u"日本"_s));
        QVERIFY(Cp1250::canEncode(u"Žluťoučký kůň"_s));
        Cp1250::encode(u"a✓"_s, &ok);
        QVERIFY(!ok);

        TestFolder folder;
        const QString path = folder.filePath(u"cz.ksl"_s);
        QVERIFY(WriteStationFile(letters, path));
        QCOMPARE(folder.read(u"cz.ksl"_s), bytes + "\r\n");
        QCOMPARE(ReadStationFile(path), letters);
    }

    void scanFindsRecordsLikeTheFormatSays()
    {
        // Text outside records is skipped, tags in any case.
        QCOMPARE(innerTexts(
                     u"junk<RadioStation>a</RADIOSTATION>mid<radiostation>b</radiostation>tail"_s),
                 (QStringList{u"a"_s, u"b"_s}));
        // An unterminated record runs on to the next closing tag and swallows the one between.
        QCOMPARE(innerTexts(u"<radiostation>a<radiostation>b</radiostation>"_s),
                 (QStringList{u"a<radiostation>b"_s}));
        // A last record without its closing tag is not read.
        QCOMPARE(innerTexts(u"<radiostation>a</radiostation><radiostation>b"_s),
                 (QStringList{u"a"_s}));
        QCOMPARE(innerTexts(u"<radiostation></radiostation>"_s), (QStringList{QString()}));
        QVERIFY(innerTexts(QString()).isEmpty());
        QVERIFY(innerTexts(u"</radiostation><radiostation>"_s).isEmpty());
    }

    void parsingFields()
    {
        // Written order and reversed order with mixed-case tags read the same.
        const StationRecord a = ParseStationRecord(
            u"<stationname>Jedna</stationname><stationurl>http://x/1</stationurl>"
            u"<stationcolor>255</stationcolor><visible>1</visible><bold>1</bold>"_s);
        const StationRecord b = ParseStationRecord(
            u"<BOLD>1</bold><Visible>1</VISIBLE><stationColor>255</StationColor>"
            u"<STATIONURL>http://x/1</stationurl><STATIONNAME>Jedna</STATIONNAME>"_s);
        for (const StationRecord& r : {a, b}) {
            QCOMPARE(r.name, u"Jedna"_s);
            QCOMPARE(r.url, u"http://x/1"_s);
            QCOMPARE(r.colour, u"255"_s);
            QVERIFY(r.visible);
            QVERIFY(r.bold);
        }

        // Fresh values for absent fields: visible and bold false.
        const StationRecord empty = ParseStationRecord(u"other text"_s);
        QVERIFY(empty.name.isEmpty() && empty.url.isEmpty() && empty.colour.isEmpty());
        QVERIFY(!empty.visible && !empty.bold);

        // visible: hidden only by exactly "0" or absence; bold only by exactly "1".
        QVERIFY(ParseStationRecord(u"<visible></visible>"_s).visible);
        QVERIFY(!ParseStationRecord(u"<visible>0</visible>"_s).visible);
        QVERIFY(ParseStationRecord(u"<visible>no</visible>"_s).visible);
        QVERIFY(!ParseStationRecord(u"<bold>true</bold>"_s).bold);
        QVERIFY(!ParseStationRecord(u"<bold></bold>"_s).bold);
        QVERIFY(!ParseStationRecord(u"<bold> 1</bold>"_s).bold);

        // The first occurrence wins; letters of values are kept; an unclosed field is absent.
        const StationRecord twice =
            ParseStationRecord(u"<stationname>První</stationname><stationname>Druhý</stationname>"
                               u"<stationurl>HTTP://Big/Case"_s);
        QCOMPARE(twice.name, u"První"_s);
        QVERIFY(twice.url.isEmpty());

        QCOMPARE(GetStationUrl(u"x<StationUrl>http://a</STATIONURL>"_s), u"http://a"_s);
        QCOMPARE(GetStationUrl(u"<stationname>a</stationname>"_s), QString());
    }

    void handEditedFileReadsLikeTheSingleLineForm()
    {
        TestFolder folder;
        const QString path =
            folder.write(u"hand.ksl"_s, "<radiostation>\r\n\t<stationname>Ra\tdio</"
                                        "stationname>\r\n\t<stationurl>http://r</stationurl>\r\n"
                                        "\t<visible>1</visible>\r\n</radiostation>\r\n");
        const QString text = ReadStationFile(path);
        QCOMPARE(innerTexts(text).size(), 1);
        const StationRecord r = ParseStationRecord(innerTexts(text).first());
        QCOMPARE(r.name, u"Radio"_s); // the tab inside the name is gone
        QCOMPARE(r.url, u"http://r"_s);
        QVERIFY(r.visible);
    }

    void writingReplacesTheWholeFile()
    {
        TestFolder folder;
        const QString path = folder.write(u"list.ksl"_s, "old content that is longer\r\n");
        QVERIFY(WriteStationFile(QString(), path));
        QCOMPARE(folder.read(u"list.ksl"_s), QByteArray("\r\n"));
        QVERIFY(WriteStationFile(u"abc"_s, path));
        QCOMPARE(folder.read(u"list.ksl"_s), QByteArray("abc\r\n"));
        QVERIFY(WriteStationFile(u"x"_s, QString())); // an empty path writes nothing

        QCOMPARE(
            BuildStationRecord(u"N"_s, u"U"_s, u"7"_s, u"1"_s, u"0"_s),
            u"<radiostation><stationname>N</stationname><stationurl>U</stationurl>"
            u"<stationcolor>7</stationcolor><visible>1</visible><bold>0</bold></radiostation>"_s);
        QCOMPARE(WrapStationRecord(u"<STATIONNAME>a</STATIONNAME>"_s),
                 u"<radiostation><STATIONNAME>a</STATIONNAME></radiostation>"_s);
    }

    void failedWritesLeaveTheOldFileWhole()
    {
        TestFolder folder;
        QString message;

        // The folder does not exist.
        const QString missing = folder.filePath(u"gone/list.ksl"_s);
        QVERIFY(!WriteStationFile(u"new"_s, missing, &message));
        QVERIFY(message.contains(u"list.ksl"_s));
        QVERIFY(message.contains(u"nepodařilo"_s));
        QVERIFY(!QFile::exists(missing));

        // The file is read-only.
        const QString path = folder.write(u"ro.ksl"_s, "precious\r\n");
        QFile::setPermissions(path, QFile::ReadOwner);
        message.clear();
        QVERIFY(!WriteStationFile(u"new"_s, path, &message));
        QVERIFY(message.contains(u"ro.ksl"_s));
        QCOMPARE(folder.read(u"ro.ksl"_s), QByteArray("precious\r\n"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
};

QTEST_GUILESS_MAIN(tst_StationFile)
#include "tst_stationfile.moc"
