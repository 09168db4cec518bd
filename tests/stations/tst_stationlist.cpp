// Reading and writing station list files; lookup, add, replace and delete, also on files made
// to hurt the reader and when writing fails; what the lists show; what a value may not contain.
#include "HostileStationFile.h"
#include "SmallDisk.h"
#include "TestFolder.h"
#include "base/ProcessState.h"
#include "stations/Cp1250.h"
#include "stations/ListTitle.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"
#include "stations/StationValueCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

class tst_StationList : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestFolder> m_folder;

    QByteArray current() const { return m_folder->read(u"list.ksl"_s); }
    void useList(const QByteArray& bytes)
    {
        setStationFilePath(m_folder->write(u"list.ksl"_s, bytes));
    }
    static QStringList names(const QString& text, StationFilter filter,
                             QString StationRecord::*field = &StationRecord::name)
    {
        QStringList out;
        for (const StationRecord& r : StationListEntries(text, filter))
            out.append(r.*field);
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        setStationFilePath(m_folder->filePath(u"list.ksl"_s));
    }

    void readingRemovesLineBreaksAndTabs()
    {
        const TestFolder& folder = *m_folder;
        // CR LF pairs and tabs go, a lone CR or LF stays; a tab between CR and LF leaves CR LF.
        QCOMPARE(ReadStationFile(folder.write(u"a.ksl"_s, "a\r\nb\tc\rd\ne\r\t\nf\r\n")),
                 u"abc\rd\ne\r\nf"_s);
        QCOMPARE(ReadStationFile(folder.write(u"crlf.ksl"_s, "\r\n")), QString());
        QCOMPARE(ReadStationFile(folder.filePath(u"missing.ksl"_s)), QString());
        QCOMPARE(ReadStationFile(QString()), QString());
    }

    void windows1250BothWays()
    {
        const QString letters = u"áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ„“–€"_s;
        bool ok = false;
        const QByteArray bytes = Cp1250::encode(letters, &ok);
        QVERIFY(ok);
        QCOMPARE(bytes.size(), letters.size());
        QCOMPARE(bytes.left(2), QByteArray("\xE1\xE8"));
        const QString path = m_folder->filePath(u"cz.ksl"_s);
        QVERIFY(WriteStationFile(letters, path)); // ended by CR LF
        QCOMPARE(m_folder->read(u"cz.ksl"_s), bytes + "\r\n");
        QCOMPARE(ReadStationFile(path), letters);

        // Every byte survives a read and a write, the undefined ones included.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Cp1250::encode(Cp1250::decode(all), &ok), all);
        QVERIFY(ok);
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

    void stationExists()
    {
        // A URL field outside records counts too, also the last thing in the file.
        useList(StationBytes("A", "http://Radio.cz/\xC8RO") +
                "<stationurl>http://b</stationurl>\r\n");
        QVERIFY(StationExists(u"http://radio.cz/čro"_s)); // accented letters too
        QVERIFY(StationExists(u"http://b"_s));
        QVERIFY(!StationExists(u"http://radio.cz/"_s)); // a prefix is not the station
        QVERIFY(!StationExists(u"http://radio.cz/čro/more"_s));
        QVERIFY(!StationExists(QString()));
    }

    void addReplaceDelete()
    {
        // Argument order is bold, visible; the record stores visible first.
        QVERIFY(AddStation(u"Nová"_s, u"http://n"_s, u"255"_s, u"1"_s, u"0"_s));
        QCOMPARE(current(), StationBytes("Nov\xE1", "http://n", "255", "0", "1") + "\r\n");

        // Adding keeps text outside records, without CR LF pairs and tabs.
        useList("intro\t\r\n" + StationBytes("A", "http://a") + "\r\n");
        QVERIFY(AddStation(u"B"_s, u"http://b"_s, u"0"_s, u"0"_s, u"1"_s));
        QCOMPARE(current(),
                 "intro" + StationBytes("A", "http://a") + StationBytes("B", "http://b") + "\r\n");

        // Replacing rewrites the station whose URL matches in any case, not one it prefixes,
        // keeps the other records in mixed-case tags and drops what is outside records.
        useList("head<RADIOSTATION><stationname>A</stationname><stationurl>http://a</stationurl>"
                "</RADIOSTATION>between<Radiostation><STATIONURL>http://a/long</STATIONURL>"
                "</radioStation>tail<radiostation>unterminated\r\n");
        QVERIFY(ReplaceStation(u"HTTP://A"_s, u"New"_s, u"http://new"_s, u"5"_s, u"1"_s, u"1"_s));
        const QByteArray kept =
            "<radiostation><STATIONURL>http://a/long</STATIONURL></radiostation>";
        QCOMPARE(current(), StationBytes("New", "http://new", "5", "1", "1") + kept + "\r\n");
        // Empty URLs write nothing.
        QVERIFY(ReplaceStation(QString(), u"x"_s, u"http://x"_s, u"0"_s, u"0"_s, u"1"_s));
        QVERIFY(ReplaceStation(u"http://new"_s, u"x"_s, QString(), u"0"_s, u"0"_s, u"1"_s));
        QCOMPARE(current(), StationBytes("New", "http://new", "5", "1", "1") + kept + "\r\n");

        // Deleting an unknown URL still rewrites; the last one leaves CR LF; then nothing to do.
        useList(StationBytes("A", "http://a") + "\r\n\t" + StationBytes("B", "http://B") + "\r\n");
        QVERIFY(DeleteStation(u"http://none"_s));
        QCOMPARE(current(), StationBytes("A", "http://a") + StationBytes("B", "http://B") + "\r\n");
        QVERIFY(DeleteStation(u"http://a"_s));
        QVERIFY(DeleteStation(u"http://b"_s));
        QCOMPARE(current(), QByteArray("\r\n"));
        QFile::remove(StationFilePath());
        QVERIFY(DeleteStation(u"http://b"_s));
        QVERIFY(!QFile::exists(StationFilePath()));
    }

    void failedWritesKeepTheFile_data()
    {
        QTest::addColumn<int>("cause");
        QTest::newRow("read-only list") << 0;
        QTest::newRow("removed folder") << 1;
        QTest::newRow("full disk") << 2;
    }
    void failedWritesKeepTheFile()
    {
        QFETCH(int, cause);
        const QString folder = m_folder->filePath(u"lists"_s);
        QVERIFY(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath(u"list.ksl"_s);
        setStationFilePath(path);
        // The full list leaves the small disk a few bytes; any larger list does not fit.
        std::optional<SmallDisk> disk;
        if (cause == 2)
            disk.emplace(folder, 64 * 1024);
        const QByteArray before = StationListOfSize(StationBytes("A", "http://a"), 64 * 1024 - 100);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(before), before.size());
        }
        if (cause == 0)
            QFile::setPermissions(path, QFile::ReadOwner);
        if (cause == 1)
            QVERIFY(QDir(folder).removeRecursively());

        QString message;
        QVERIFY(!AddStation(u"B"_s, u"http://b"_s, u"0"_s, u"0"_s, u"1"_s, &message));
        QCOMPARE(message, StationFileWriteErrorMessage(path));
        // A list that has gone reads as empty: replacing and deleting have nothing to write.
        message.clear();
        QCOMPARE(ReplaceStation(u"http://a"_s, QString(200, u'B'), u"http://b"_s, u"0"_s, u"0"_s,
                                u"1"_s, &message),
                 cause == 1);
        QCOMPARE(message.isEmpty(), cause == 1);
        if (cause != 2) // the same size may fit under a file-size limit
            QCOMPARE(DeleteStation(u"http://none"_s), cause == 1);
        if (cause == 1) {
            QVERIFY(!QFileInfo::exists(folder)); // not made again
            return;
        }
        // The old list is whole, no half-written file is left behind, and it still reads.
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"list.ksl"_s});
        QVERIFY(StationExists(u"http://a"_s));
    }

    void listEntries()
    {
        const QString text = DecodeStationText(
            StationBytes("\x8Akoda", "http://s") + StationBytes("beta", "http://b", "x", "1", "1") +
            StationBytes("Alfa", "http://a", "", "0") + StationBytes("Cyril", "http://c") +
            StationBytes("\xC8"
                         "estm\xEDr",
                         "http://cc") +
            StationBytes("", "http://noname") + StationBytes("No URL", "") +
            StationBytes("Duplicate", "HTTP://B") +
            "<radiostation><stationname>Bez visible</stationname><stationurl>http://v"
            "</stationurl></radiostation>");
        // Czech order; hidden and incomplete stations and the later duplicate left out.
        QCOMPARE(names(text, StationFilter::VisibleOnly),
                 (QStringList{u"beta"_s, u"Cyril"_s, u"Čestmír"_s, u"Škoda"_s}));
        QVERIFY(StationListEntries(text, StationFilter::VisibleOnly)[0].bold);
        QCOMPARE(names(text, StationFilter::All),
                 (QStringList{u"Alfa"_s, u"beta"_s, u"Bez visible"_s, u"Cyril"_s, u"Čestmír"_s,
                              u"Škoda"_s}));
    }

    void countsColoursTitlesAndValueProblems()
    {
        const std::pair<int, QString> counts[] = {{0, u"Žádné stanice"_s},
                                                  {1, u"Celkem 1 stanice"_s},
                                                  {4, u"Celkem 4 stanice"_s},
                                                  {5, u"Celkem 5 stanic"_s}};
        for (const auto& [count, text] : counts)
            QCOMPARE(StationCountText(count), text);
        const std::pair<QString, quint32> colours[] = {
            {u"16711680"_s, 0xFF0000u}, {u"red"_s, 0u}, {u"-2147483640"_s, 0x80000008u}};
        for (const auto& [text, colour] : colours)
            QCOMPARE(StationColourValue(text), colour);
        // The file name up to ".ksl" in any case, the first letter in upper case.
        const std::pair<QString, QString> titles[] = {{u"mY LiST.Ksl"_s, u"MY LiST"_s},
                                                      {u"old.ksl.ksl"_s, u"Old"_s},
                                                      {u"jazz"_s, u"Jazz"_s},
                                                      {u".ksl"_s, QString()},
                                                      {u"čeština.ksl"_s, u"Čeština"_s}};
        for (const auto& [fileName, title] : titles)
            QCOMPARE(GetListTitle(fileName), title);

        // Storable text has no problem; others name the field and the reason.
        QCOMPARE(StationValueProblem(StationField::Name, u"Český rozhlas – <1> bold"_s), QString());
        QVERIFY(StationValueProblem(StationField::Name, u"Радио"_s)
                    .startsWith(u"Název stanice obsahuje znaky"_s));
        QVERIFY(StationValueProblem(StationField::Url, u"http://a.cz/日本"_s)
                    .startsWith(u"URL stanice"_s));
        for (const QString& value : {u"a</stationname>b"_s, u"<RadioStation>"_s, u"</VISIBLE>"_s})
            QVERIFY2(StationValueProblem(StationField::Name, value).contains(u"značkou"_s),
                     qPrintable(value));
    }

    void hostileFileLoadsAndChanges()
    {
        // NULs, undefined bytes and a thousand records that never end: the complete stations at
        // both ends are found, and a rewrite keeps them and drops what was never a station.
        const QByteArray bytes = HostileStationBytes(1 << 20);
        useList(bytes);
        const QString text = ReadStationFile(StationFilePath());
        QVERIFY(text.size() > bytes.size() * 9 / 10);
        QCOMPARE(names(text, StationFilter::VisibleOnly, &StationRecord::url),
                 (QStringList{u"http://konec/"_s, u"http://start/"_s}));
        QVERIFY(StationExists(u"http://konec/"_s));
        QVERIFY(DeleteStation(u"http://start/"_s));
        const QString after = ReadStationFile(StationFilePath());
        QVERIFY(after.size() < text.size());
        QCOMPARE(names(after, StationFilter::All, &StationRecord::url),
                 QStringList{u"http://konec/"_s});
    }
};

QTEST_GUILESS_MAIN(tst_StationList)
#include "tst_stationlist.moc"
