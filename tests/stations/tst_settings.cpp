// The settings store and the program's conversions of its keys.
#include "TestFolder.h"
#include "base/AppFolder.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Settings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storeKeepsTexts()
    {
        TestFolder folder;
        SettingsStore& store = folder.settings();
        QCOMPARE(store.get(u"App"_s, u"Sec"_s, u"Key"_s, u"dflt"_s), u"dflt"_s);
        store.save(u"App"_s, u"Sec"_s, u"Key"_s, QString());
        QCOMPARE(store.get(u"App"_s, u"Sec"_s, u"Key"_s, u"dflt"_s),
                 QString()); // empty, not default
        store.save(u"App"_s, u"Sec"_s, u"Key"_s, u"Žluťoučký, kůň=1;#x"_s);
        store.save(u"Other"_s, u"Sec"_s, u"Key"_s, u"o"_s);
        const auto reopened = folder.reopenSettings();
        QCOMPARE(reopened->get(u"App"_s, u"Sec"_s, u"Key"_s, QString()), u"Žluťoučký, kůň=1;#x"_s);
        QCOMPARE(reopened->get(u"Other"_s, u"Sec"_s, u"Key"_s, QString()), u"o"_s);
        QCOMPARE(reopened->get(u"App"_s, u"Other"_s, u"Key"_s, u"d"_s), u"d"_s);
    }

    void damagedSettingsFileIsReadAsText()
    {
        // Found by fuzzing: values that look like serialised objects once made the reader
        // allocate gigabytes. They are plain text, and the file's other keys still read.
        TestFolder folder;
        QDir(folder.path()).mkpath(u"cfg"_s);
        folder.write(u"cfg/Hollowmere.ini"_s,
                     "[Skylistener]\nTop=@Variant(\\0\\0\\0\\x7f)\r\nHeight=@Variant(\\0\\0\\0\\t="
                     "1=@Variant(\\0\\0\\0\\x7f)\nVolume= 75 \n\x01\xff=\nLeft\n");
        const SettingsStore store(folder.filePath(u"cfg"_s));
        const StartupSettings s = ReadStartupSettings(store, u"/a"_s);
        QVERIFY(!s.top);
        QCOMPARE(s.height, 2730.0);
        QCOMPARE(s.volume, 75);
        QCOMPARE(GetSetting(store, SettingsKeys::Top, QString()), u"@Variant(000x7f)"_s);
    }

    void startupDefaultsOnAnEmptyStore()
    {
        TestFolder folder;
        const StartupSettings s = ReadStartupSettings(folder.settings(), u"/apps/sky"_s);
        QVERIFY(!s.animateTrayIcon && !s.minimizeToTray);
        QVERIFY(!s.left && !s.top);
        QCOMPARE(s.height, 2730.0);
        QCOMPARE(s.volume, 50);
        QCOMPARE(s.stationFile, u"/apps/sky"_s + QDir::separator() + u"czech.ksl"_s);
    }

    void startupConversions()
    {
        TestFolder folder;
        SettingsStore& store = folder.settings();
        const auto set = [&](const QString& key, const QString& text) {
            SaveSetting(store, key, text);
        };
        using namespace SettingsKeys;

        // Only exactly "1" turns a flag on.
        for (const QString& text : {u"2"_s, u" 1"_s, u"ano"_s, u"1.0"_s}) {
            set(MinTray, text);
            QVERIFY2(!ReadStartupSettings(store, u"/a"_s).minimizeToTray, qPrintable(text));
        }
        set(MinTray, u"1"_s);
        set(AniIco, u"1"_s);
        StartupSettings s = ReadStartupSettings(store, u"/a"_s);
        QVERIFY(s.minimizeToTray && s.animateTrayIcon);

        // Numbers, damaged numbers and volumes out of range.
        set(Left, u"1500"_s);
        set(Top, u"abc"_s);
        set(Height, u"zzz"_s);
        set(Volume, u"75"_s);
        set(StationFile, u"/x/rock.ksl"_s);
        s = ReadStartupSettings(store, u"/a"_s);
        QCOMPARE(s.left.value_or(-1), 1500.0);
        QVERIFY(!s.top);
        QCOMPARE(s.height, 2730.0);
        QCOMPARE(s.volume, 75);
        QCOMPARE(s.stationFile, u"/x/rock.ksl"_s);
        set(Volume, u"nic"_s);
        QCOMPARE(ReadStartupSettings(store, u"/a"_s).volume, 50);
        set(Volume, u"250"_s);
        QCOMPARE(ReadStartupSettings(store, u"/a"_s).volume, 100);
        set(Volume, u"-3"_s);
        QCOMPARE(ReadStartupSettings(store, u"/a"_s).volume, 0);
        set(Volume, u"62.5"_s); // halves go to the even neighbour
        QCOMPARE(ReadStartupSettings(store, u"/a"_s).volume, 62);
        set(Height, u"inf"_s);
        QCOMPARE(ReadStartupSettings(store, u"/a"_s).height, 2730.0);
        set(Height, u" 3000 "_s);
        QCOMPARE(ReadStartupSettings(store, u"/a"_s).height, 3000.0);
    }

    void exitWritesFiveKeys()
    {
        TestFolder folder;
        SaveExitSettings(folder.settings(), {.left = 1500,
                                             .top = 300.5,
                                             .height = 2730,
                                             .volume = 80,
                                             .stationFile = u"/l/a.ksl"_s});
        const auto next = folder.reopenSettings();
        const auto get = [&](const QString& key) { return GetSetting(*next, key, u"?"_s); };
        QCOMPARE(get(SettingsKeys::Left), u"1500"_s);
        QCOMPARE(ParseSettingNumber(get(SettingsKeys::Top)).value_or(0), 300.5);
        QCOMPARE(get(SettingsKeys::Height), u"2730"_s);
        QCOMPARE(get(SettingsKeys::Volume), u"80"_s);
        QCOMPARE(get(SettingsKeys::StationFile), u"/l/a.ksl"_s);
        QCOMPARE(get(SettingsKeys::MinTray), u"?"_s); // exit leaves the tray options alone
    }

    void trailingSeparator()
    {
        QCOMPARE(AddTrailingBackslash(QString()), QString());
        QCOMPARE(AddTrailingBackslash(u"C:\\"_s), u"C:\\"_s);
        QCOMPARE(AddTrailingBackslash(u"/home/u/"_s), u"/home/u/"_s);
        QCOMPARE(AddTrailingBackslash(u"/home/u"_s), u"/home/u"_s + QDir::separator());

        // A drive root as the application's folder gives no doubled separator in the default.
        TestFolder folder;
        QCOMPARE(ReadStartupSettings(folder.settings(), u"D:\\"_s).stationFile, u"D:\\czech.ksl"_s);
    }

    void applicationFolderChoice()
    {
        TestFolder folder;
        const QString seed = folder.write(u"seed.ksl"_s, "seed\r\n");
        QDir(folder.path()).mkdir(u"exe"_s);
        const QString exe = folder.filePath(u"exe"_s);
        const QString user = folder.filePath(u"user/data"_s);

        // A writable executable folder is the application's folder, seeded once.
        QCOMPARE(ChooseApplicationFolder(exe, user, seed), QDir::toNativeSeparators(exe));
        QCOMPARE(folder.read(u"exe/czech.ksl"_s), QByteArray("seed\r\n"));
        folder.write(u"exe/czech.ksl"_s, "mine\r\n");
        ChooseApplicationFolder(exe, user, seed);
        QCOMPARE(folder.read(u"exe/czech.ksl"_s), QByteArray("mine\r\n")); // never overwritten

        // An installed program's folder is never used, even where it can be written to.
        QCOMPARE(ChooseApplicationFolder(u"/usr/bin"_s, user, seed),
                 QDir::toNativeSeparators(user));

        // Otherwise the per-user folder, created and seeded with a list the user may change.
        QCOMPARE(ChooseApplicationFolder(folder.filePath(u"nonexistent"_s), user, seed),
                 QDir::toNativeSeparators(user));
        QCOMPARE(folder.read(u"user/data/czech.ksl"_s), QByteArray("seed\r\n"));
        QVERIFY(QFile::permissions(folder.filePath(u"user/data/czech.ksl"_s)) & QFile::WriteOwner);
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
