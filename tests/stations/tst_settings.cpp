// The settings store, the start-up and exit settings, and the application's folder.
#include "TestFolder.h"
#include "base/AppFolder.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Settings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storeAndStartupSettings()
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
        QCOMPARE(next->get(u"App"_s, u"Other"_s, u"Key"_s, u"d"_s), u"d"_s);

        using namespace SettingsKeys;
        const auto read = [](const SettingsStore& store) {
            const StartupSettings s = ReadStartupSettings(store, u"/apps/sky"_s);
            return QList<double>{double(s.minimizeToTray),
                                 double(s.animateTrayIcon),
                                 s.left.value_or(-1),
                                 s.top.value_or(-1),
                                 s.height,
                                 double(s.volume)};
        };
        QCOMPARE(read(*next), (QList<double>{0, 0, -1, -1, 2730, 50}));
        // The default list in the application's folder, a drive root with no doubled separator.
        QCOMPARE(ReadStartupSettings(*next, u"/apps/sky"_s).stationFile, u"/apps/sky/czech.ksl"_s);
        QCOMPARE(ReadStartupSettings(*next, u"D:\\"_s).stationFile, u"D:\\czech.ksl"_s);
        // MinTray|AniIco|Left|Top|Height|Volume: flags only "1", halves to the even volume.
        const std::pair<QString, QList<double>> cases[] = {
            {u"1|1|1500|-20.5|inf|62.5"_s, {1, 1, 1500, -20.5, 2730, 62}},
            {u" 1|1.0|abc|| 3000 |250"_s, {0, 0, -1, -1, 3000, 100}},
            {u"2|0|0|0|zzz|-3"_s, {0, 0, 0, 0, 2730, 0}},
            {u"0|0|||1|nic"_s, {0, 0, -1, -1, 1, 50}},
        };
        const QStringList keys{MinTray, AniIco, Left, Top, Height, Volume};
        for (const auto& [texts, expected] : cases) {
            for (int i = 0; i < 6; ++i)
                SaveSetting(store, keys[i], texts.split(u'|')[i]);
            QVERIFY2(read(store) == expected, qPrintable(texts));
        }
        // The exit writes five keys, the tray flags stay as they were.
        SaveExitSettings(store, {1500, 300.5, 2730, 80, u"/l/a.ksl"_s});
        const auto exited = folder.reopenSettings();
        QCOMPARE(read(*exited), (QList<double>{0, 0, 1500, 300.5, 2730, 80}));
        QCOMPARE(GetSetting(*exited, StationFile, QString()), u"/l/a.ksl"_s);

        // Found by fuzzing: values that look like serialised objects once made the reader
        // allocate gigabytes. They are plain text, and the file's other keys still read.
        folder.write(u"Hollowmere.ini"_s,
                     "[Skylistener]\nTop=@Variant(\\0\\0\\0\\x7f)\r\nHeight=@Variant(\\0\\0\\0\\t="
                     "1=@Variant(\\0\\0\\0\\x7f)\nVolume= 75 \n\x01\xff=\nLeft\n");
        const SettingsStore damaged(folder.path());
        QCOMPARE(read(damaged), (QList<double>{0, 0, -1, -1, 2730, 75}));
        QCOMPARE(GetSetting(damaged, Top, QString()), u"@Variant(000x7f)"_s);
    }

    void applicationFolder()
    {
        TestFolder folder;
        const QString seed = folder.write(u"seed.ksl"_s, "seed\r\n");
        QDir(folder.path()).mkdir(u"exe"_s);
        const QString exe = folder.filePath(u"exe"_s), user = folder.filePath(u"user/data"_s);
        QCOMPARE(ChooseApplicationFolder(exe, user, seed), QDir::toNativeSeparators(exe));
        // Neither an installed program's folder, even where it can be written to, nor a missing
        // one: the per-user folder, created and seeded with a list the user may change.
        for (const QString& other : {u"/usr/bin"_s, folder.filePath(u"none"_s)})
            QCOMPARE(ChooseApplicationFolder(other, user, seed), QDir::toNativeSeparators(user));
        QCOMPARE(folder.read(u"user/data/czech.ksl"_s), QByteArray("seed\r\n"));
        QVERIFY(QFile::permissions(folder.filePath(u"user/data/czech.ksl"_s)) & QFile::WriteOwner);
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
