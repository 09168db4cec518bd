// Reading, scanning, parsing and writing station list files.
#include "TestFolder.h"
#include "stations/Cp1250.h"
#include "stations/StationFile.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_StationFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readingAndWriting()
    {
        TestFolder folder;
        // CR LF pairs and tabs go, a lone CR or LF stays; a tab between CR and LF leaves CR LF.
        QCOMPARE(ReadStationFile(folder.write(u"a.ksl"_s, "a\r\nb\tc\rd\ne\r\t\nf\r\n")),
                 u"abc\rd\ne\r\nf"_s);
        QCOMPARE(ReadStationFile(folder.write(u"crlf.ksl"_s, "\r\n")), QString());
        QCOMPARE(ReadStationFile(folder.filePath(u"missing.ksl"_s)), QString());
        QCOMPARE(ReadStationFile(QString()), QString());

        // A write replaces the whole file and ends it with CR LF; an empty path writes nothing.
        const QString path = folder.write(u"list.ksl"_s, "old content that is longer\r\n");
        QVERIFY(WriteStationFile(u"abc"_s, path));
        QCOMPARE(folder.read(u"list.ksl"_s), QByteArray("abc\r\n"));
        QVERIFY(WriteStationFile(u"x"_s, QString()));
    }

    void windows1250BothWays()
    {
        const QString letters = u"áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ„“–€"_s;
        bool ok = false;
        const QByteArray bytes = Cp1250::encode(letters, &ok);
        QVERIFY(ok);
        QCOMPARE(bytes.size(), letters.size());
        QCOMPARE(bytes.left(2), QByteArray("\xE1\xE8"));
        TestFolder folder;
        const QString path = folder.filePath(u"cz.ksl"_s);
        QVERIFY(WriteStationFile(letters, path));
        QCOMPARE(folder.read(u"cz.ksl"_s), bytes + "\r\n");
        QCOMPARE(ReadStationFile(path), letters);

        // Every byte survives a read and a write, the undefined ones included.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Cp1250::encode(Cp1250::decode(all), &ok), all);
        QVERIFY(ok);
        QVERIFY(!Cp1250::canEncode(u"Kraków ✓"_s));
        QVERIFY(Cp1250::canEncode(u"Žluťoučký kůň"_s));
        Cp1250::encode(u"a✓"_s, &ok);
        QVERIFY(!ok);
    }

    void scanFindsRecords()
    {
        const auto inner = [](const QString& text) {
            QStringList out;
            StationRecordScan scan(text);
            for (QStringView record; scan.next(record);)
                out.append(record.toString());
            return out;
        };
        // Text outside records is skipped, tags in any case.
        QCOMPARE(inner(u"junk<RadioStation>a</RADIOSTATION>mid<radiostation>b</radiostation>"_s),
                 (QStringList{u"a"_s, u"b"_s}));
        // An unterminated record runs on to the next closing tag; a last one is not read.
        QCOMPARE(inner(u"<radiostation>a<radiostation>b</radiostation><radiostation>c"_s),
                 (QStringList{u"a<radiostation>b"_s}));
        QCOMPARE(inner(u"<radiostation></radiostation>"_s), (QStringList{QString()}));
        QVERIFY(inner(u"</radiostation><radiostation>"_s).isEmpty());
    }

    void parsingFields()
    {
        // Any letter case and order read the same.
        const StationRecord r = ParseStationRecord(
            u"<BOLD>1</bold><Visible>1</VISIBLE><stationColor>255</StationColor>"
            u"<STATIONURL>http://x/1</stationurl><STATIONNAME>Jedna</STATIONNAME>"_s);
        QVERIFY(r.name == u"Jedna"_s && r.url == u"http://x/1"_s && r.colour == u"255"_s);
        QVERIFY(r.visible && r.bold);
        const StationRecord empty = ParseStationRecord(u"other text"_s);
        QVERIFY(empty.name.isEmpty() && empty.url.isEmpty() && empty.colour.isEmpty());
        QVERIFY(!empty.visible && !empty.bold); // an absent visible field hides the station

        // Hidden only by exactly "0", bold only by exactly "1".
        QVERIFY(ParseStationRecord(u"<visible></visible>"_s).visible);
        QVERIFY(!ParseStationRecord(u"<visible>0</visible>"_s).visible);
        QVERIFY(!ParseStationRecord(u"<bold> 1</bold>"_s).bold);

        // The first occurrence wins; an unclosed field is absent.
        const StationRecord twice =
            ParseStationRecord(u"<stationname>První</stationname><stationname>Druhý</stationname>"
                               u"<stationurl>http://a"_s);
        QCOMPARE(twice.name, u"První"_s);
        QVERIFY(twice.url.isEmpty());
        QCOMPARE(GetStationUrl(u"x<StationUrl>http://a</STATIONURL><stationurl>b"_s),
                 u"http://a"_s);
    }
};

QTEST_GUILESS_MAIN(tst_StationFile)
#include "tst_stationfile.moc"
