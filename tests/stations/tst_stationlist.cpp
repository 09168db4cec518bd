// Station list files read, searched and changed, hostile ones too; the settings; the app's folder.
#include "HostileStationFile.h"
#include "TestFolder.h"
#include "base/AppFolder.h"
#include "base/ProcessState.h"
#include "stations/Cp1250.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class tst_StationList : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestFolder> m_folder;

    QByteArray current() const { return m_folder->read(u"list.ksl"_s); }
    void useList(const QByteArray& b) { setStationFilePath(m_folder->write(u"list.ksl"_s, b)); }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        setStationFilePath(m_folder->filePath(u"list.ksl"_s));
    }

    void readingAndWhatTheListsShow()
    {
        // CR LF pairs and tabs go, a lone CR or LF stays; a tab between CR and LF leaves CR LF.
        QCOMPARE(ReadStationFile(m_folder->write(u"a.ksl"_s, "a\r\nb\tc\rd\ne\r\t\nf\r\n")),
                 u"abc\rd\ne\r\nf"_s);
        // Every byte survives a read and a write, the undefined ones included.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        bool ok = false;
        QVERIFY(Cp1250::encode(Cp1250::decode(all), &ok) == all && ok);
        QVERIFY(Cp1250::encode(u"a✓"_s, &ok) == "a?" && !ok);

        // Any letter case and order; no visible field, or exactly "0", hides; only exactly "1"
        // makes bold; the first occurrence wins, an unclosed field is absent.
        const std::pair<QString, QString> records[] = {
            {u"<BOLD>1</bold><Visible>1</VISIBLE><stationColor>255</StationColor>"
             u"<STATIONURL>http://x/1</stationurl><STATIONNAME>Jedna</STATIONNAME>"_s,
             u"Jedna|http://x/1|255|1|1"_s},
            {u"<visible></visible><bold> 1</bold>"_s, u"|||1|0"_s},
            {u"<visible>0</visible><bold>1</bold>"_s, u"|||0|1"_s},
            {u"<stationname>První</stationname><stationname>Druhý</stationname>"
             u"<stationurl>http://a"_s,
             u"První|||0|0"_s},
        };
        for (const auto& [inner, fields] : records) {
            const StationRecord r = ParseStationRecord(inner);
            QCOMPARE(u"%1|%2|%3|%4|%5"_s.arg(r.name, r.url, r.colour).arg(r.visible).arg(r.bold),
                     fields);
        }

        const auto names = [](const QString& text, StationFilter filter,
                              QString StationRecord::*field = &StationRecord::name) {
            QStringList out;
            for (const StationRecord& r : StationListEntries(text, filter))
                out.append(r.*field);
            return out;
        };
        const QString text = DecodeStationText(
            StationBytes("\x8Akoda", "http://s") + StationBytes("beta", "http://b", "x", "1", "1") +
            StationBytes("Alfa", "http://a", "", "0") + StationBytes("Cyril 10", "http://c") +
            StationBytes("Cyril 9", "http://c9") + StationBytes("\310estm\355r", "http://cc") +
            StationBytes("", "http://noname") + StationBytes("No URL", "") +
            StationBytes("Duplicate", "HTTP://B") +
            "<radiostation><stationname>Bez visible</stationname><stationurl>http://v"
            "</stationurl></radiostation>");
        // Czech order, numbers by value; hidden, incomplete and later duplicate stations left out.
        QCOMPARE(names(text, StationFilter::VisibleOnly),
                 (QStringList{u"beta"_s, u"Cyril 9"_s, u"Cyril 10"_s, u"Čestmír"_s, u"Škoda"_s}));
        QCOMPARE(names(text, StationFilter::All),
                 (QStringList{u"Alfa"_s, u"beta"_s, u"Bez visible"_s, u"Cyril 9"_s, u"Cyril 10"_s,
                              u"Čestmír"_s, u"Škoda"_s}));

        QCOMPARE(StationCountText(5), u"Celkem 5 stanic"_s); // 2 to 4: the editor's tests

        // NULs, undefined bytes and a thousand records that never end: the complete stations at
        // both ends are found, and a rewrite keeps the one left.
        useList(HostileStationBytes(1 << 20));
        const QString hostile = ReadStationFile(StationFilePath());
        QCOMPARE(names(hostile, StationFilter::VisibleOnly, &StationRecord::url),
                 (QStringList{u"http://konec/"_s, u"http://start/"_s}));
        QVERIFY(StationExists(u"http://konec/"_s) && DeleteStation(u"http://start/"_s));
        QCOMPARE(names(ReadStationFile(StationFilePath()), StationFilter::All, &StationRecord::url),
                 QStringList{u"http://konec/"_s});
    }

    void existsAddReplaceDeleteAndFailedWrites()
    {
        // A missing list is made; argument order is bold, visible; the record stores visible first.
        QVERIFY(AddStation(u"Nová"_s, u"http://n"_s, u"255"_s, u"1"_s, u"0"_s));
        QCOMPARE(current(), StationBytes("Nov\xE1", "http://n", "255", "0", "1") + "\r\n");
        // A URL field outside records counts too, also the last thing in the file; accented
        // letters in any case; a prefix is not the station.
        useList(StationBytes("A", "http://Radio.cz/\xC8RO") +
                "<stationurl>http://b</stationurl>\r\n");
        QVERIFY(StationExists(u"http://radio.cz/čro"_s) && StationExists(u"http://b"_s));
        QVERIFY(!StationExists(u"http://radio.cz/"_s) &&
                !StationExists(u"http://radio.cz/čro/x"_s) && !StationExists(QString()));
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
        const QByteArray old = current();
        QVERIFY(ReplaceStation(u"http://a"_s, u"New"_s, QString(), u"5"_s, u"1"_s, u"1"_s));
        QCOMPARE(current(), old); // no record without an address
        QVERIFY(ReplaceStation(u"HTTP://A"_s, u"New"_s, u"http://new"_s, u"5"_s, u"1"_s, u"1"_s));
        QCOMPARE(current(), StationBytes("New", "http://new", "5", "1", "1") +
                                "<radiostation><STATIONURL>http://a/long</STATIONURL>"
                                "</radiostation>\r\n");

        // Deleting by the URL in any case; the last one leaves CR LF.
        useList(StationBytes("A", "http://a") + StationBytes("B", "http://B") + "\r\n");
        QVERIFY(DeleteStation(u"http://a"_s) && DeleteStation(u"http://b"_s));
        QCOMPARE(current(), QByteArray("\r\n"));

        // A list whose folder is gone: the write fails, and the folder is not made again.
        setStationFilePath(m_folder->filePath(u"gone/list.ksl"_s));
        QString message;
        QVERIFY(!AddStation(u"B"_s, u"http://b"_s, u"0"_s, u"0"_s, u"1"_s, &message));
        QCOMPARE(message, StationFileWriteErrorMessage(StationFilePath()));
        QVERIFY(!QFileInfo::exists(m_folder->filePath(u"gone"_s)));
        // A full disk keeps the old list whole and leaves no half-written file behind.
        const QByteArray before = StationBytes("A", "http://a") + "\r\n";
        QVERIFY(QDir().mkpath(m_folder->filePath(u"full"_s)));
        setStationFilePath(m_folder->write(u"full/list.ksl"_s, before));
        {
            DiskFull full(before.size()); // room for the old list only
            QVERIFY(!AddStation(u"B"_s, u"http://b"_s, u"0"_s, u"0"_s, u"1"_s, &message));
        }
        QCOMPARE(m_folder->read(u"full/list.ksl"_s), before);
        QCOMPARE(QDir(m_folder->filePath(u"full"_s)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"list.ksl"_s});
    }

    void settingsAndTheApplicationFolder()
    {
        TestFolder folder;
        SettingsStore& store = folder.settings();
        const QString text = u"Žluťoučký, kůň=1;#x\\n\r\n"_s;
        store.save(u"App"_s, u"Sec"_s, u"Key"_s, QString());
        QCOMPARE(store.get(u"App"_s, u"Sec"_s, u"Key"_s, u"d"_s), QString()); // empty, not default
        store.save(u"App"_s, u"Sec"_s, u"Key"_s, text);
        store.save(u"Other"_s, u"Sec"_s, u"Key"_s, u"o"_s);
        const auto next = folder.reopenSettings();
        QCOMPARE(next->get(u"App"_s, u"Sec"_s, u"Key"_s, QString()), text);
        QCOMPARE(next->get(u"Other"_s, u"Sec"_s, u"Key"_s, QString()), u"o"_s);

        using namespace SettingsKeys;
        const auto read = [](const SettingsStore& store) {
            const StartupSettings s = ReadStartupSettings(store, u"/apps/sky"_s);
            return QList<double>() << s.minimizeToTray << s.animateTrayIcon << s.left.value_or(-1)
                                   << s.top.value_or(-1) << s.height << s.volume;
        };
        QCOMPARE(read(*next), (QList<double>{0, 0, -1, -1, 2730, 50}));
        // MinTray|AniIco|Left|Top|Height|Volume: flags only "1", halves to the even volume.
        const std::pair<QString, QList<double>> cases[] = {
            {u"1|1|1500|-20.5|inf|62.5"_s, {1, 1, 1500, -20.5, 2730, 62}},
            {u" 1|1.0|abc|| 3000 |250"_s, {0, 0, -1, -1, 3000, 100}},
            {u"2|0|0|0|zzz|-3"_s, {0, 0, 0, 0, 2730, 0}},
        };
        const QStringList keys{MinTray, AniIco, Left, Top, Height, Volume};
        for (const auto& [texts, expected] : cases) {
            for (int i = 0; i < 6; ++i)
                SaveSetting(store, keys[i], texts.split(u'|')[i]);
            QVERIFY2(read(store) == expected, qPrintable(texts));
        }
        // The exit writes its keys, fractions too.
        SaveExitSettings(store, {1500, 300.5, 2730, 80, u"/l/a.ksl"_s});
        QCOMPARE(read(*folder.reopenSettings()), (QList<double>{0, 0, 1500, 300.5, 2730, 80}));

        // Sections of others in the same file survive the program's writes, each under its header.
        folder.write(u"Hollowmere.ini"_s, "[Andere]\nX=1\n[Skylistener]\nVolume=10\n");
        SettingsStore shared(folder.path());
        SaveSetting(shared, Volume, u"20"_s);
        QVERIFY(shared.sync());
        QCOMPARE(folder.read(u"Hollowmere.ini"_s), "[Andere]\nX=1\n\n[Skylistener]\nVolume=20\n");

        // Found by fuzzing: values that look like serialised objects once made the reader
        // allocate gigabytes. They are plain text, and the file's other keys still read.
        folder.write(u"Hollowmere.ini"_s,
                     "[Skylistener]\nTop=@Variant(\\0\\0\\0\\x7f)\r\nHeight=@Variant(\\0\\0\\0\\t="
                     "1=@Variant(\\0\\0\\0\\x7f)\nVolume= 75 \n\x01\xff=\nLeft\n");
        const SettingsStore damaged(folder.path());
        QCOMPARE(read(damaged), (QList<double>{0, 0, -1, -1, 2730, 75}));
        QCOMPARE(GetSetting(damaged, Top, QString()), u"@Variant(000x7f)"_s);

        const QString seed = folder.write(u"seed.ksl"_s, "seed\r\n");
        const QString user = folder.filePath(u"user/data"_s);
        // Neither an installed program's folder, even where it can be written to, nor a missing
        // one: the per-user folder, created and seeded with a list the user may change.
        for (const QString& other : {u"/usr/bin"_s, folder.filePath(u"none"_s)})
            QCOMPARE(ChooseApplicationFolder(other, user, seed), QDir::toNativeSeparators(user));
        QCOMPARE(folder.read(u"user/data/czech.ksl"_s), QByteArray("seed\r\n"));
    }
};

QTEST_GUILESS_MAIN(tst_StationList)
#include "tst_stationlist.moc"
