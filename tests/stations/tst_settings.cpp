// The settings store, the start-up and exit settings, and the application's folder.
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
        store.save(u"App"_s, u"Sec"_s, u"Key"_s, QString());
        QCOMPARE(store.get(u"App"_s, u"Sec"_s, u"Key"_s, u"d"_s), QString()); // empty, not default
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

    void startupConversions()
    {
        TestFolder folder;
        StartupSettings s = ReadStartupSettings(folder.settings(), u"/apps/sky"_s);
        QVERIFY(!s.animateTrayIcon && !s.minimizeToTray && !s.left && !s.top);
        QCOMPARE(s.height, 2730.0);
        QCOMPARE(s.volume, 50);
        QCOMPARE(s.stationFile, u"/apps/sky"_s + QDir::separator() + u"czech.ksl"_s);

        using namespace SettingsKeys;
        struct Case
        {
            QString key, text;
            double read; // flags as 0 or 1
        };
        const Case cases[] = {
            {MinTray, u"1"_s, 1},     {MinTray, u" 1"_s, 0},       {MinTray, u"2"_s, 0},
            {AniIco, u"1"_s, 1},      {AniIco, u"1.0"_s, 0},       {Left, u"1500"_s, 1500},
            {Left, u"abc"_s, -1},     {Top, u"-20.5"_s, -20.5},    {Height, u"zzz"_s, 2730},
            {Height, u"inf"_s, 2730}, {Height, u" 3000 "_s, 3000}, {Volume, u"nic"_s, 50},
            {Volume, u"250"_s, 100},  {Volume, u"-3"_s, 0},        {Volume, u"100.4"_s, 100},
            {Volume, u"62.5"_s, 62}, // halves go to the even neighbour
        };
        for (const Case& c : cases) {
            SaveSetting(folder.settings(), c.key, c.text);
            s = ReadStartupSettings(folder.settings(), u"/a"_s);
            const double read = c.key == MinTray  ? s.minimizeToTray
                                : c.key == AniIco ? s.animateTrayIcon
                                : c.key == Left   ? s.left.value_or(-1)
                                : c.key == Top    ? s.top.value_or(-1)
                                : c.key == Height ? s.height
                                                  : s.volume;
            QVERIFY2(read == c.read, qPrintable(c.key + u'=' + c.text));
        }
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
        const StartupSettings s = ReadStartupSettings(*next, u"/a"_s);
        QVERIFY(s.left == 1500 && s.top == 300.5 && s.height == 2730 && s.volume == 80);
        QCOMPARE(s.stationFile, u"/l/a.ksl"_s);
        QCOMPARE(GetSetting(*next, SettingsKeys::Left, QString()), u"1500"_s);
        QCOMPARE(GetSetting(*next, SettingsKeys::MinTray, u"?"_s), u"?"_s); // tray left alone
    }

    void foldersAndSeparators()
    {
        QCOMPARE(AddTrailingBackslash(QString()), QString());
        QCOMPARE(AddTrailingBackslash(u"/home/u/"_s), u"/home/u/"_s);
        QCOMPARE(AddTrailingBackslash(u"/home/u"_s), u"/home/u"_s + QDir::separator());
        // A drive root as the application's folder gives no doubled separator in the default.
        TestFolder folder;
        QCOMPARE(ReadStartupSettings(folder.settings(), u"D:\\"_s).stationFile, u"D:\\czech.ksl"_s);

        const QString seed = folder.write(u"seed.ksl"_s, "seed\r\n");
        QDir(folder.path()).mkdir(u"exe"_s);
        const QString exe = folder.filePath(u"exe"_s);
        const QString user = folder.filePath(u"user/data"_s);
        // A writable executable folder is the application's folder, seeded once.
        QCOMPARE(ChooseApplicationFolder(exe, user, seed), QDir::toNativeSeparators(exe));
        folder.write(u"exe/czech.ksl"_s, "mine\r\n");
        ChooseApplicationFolder(exe, user, seed);
        QCOMPARE(folder.read(u"exe/czech.ksl"_s), QByteArray("mine\r\n")); // never overwritten
        // An installed program's folder is never used, even where it can be written to.
        QCOMPARE(ChooseApplicationFolder(u"/usr/bin"_s, user, seed),
                 QDir::toNativeSeparators(user));
        // Otherwise the per-user folder, created and seeded with a list the user may change.
        QCOMPARE(ChooseApplicationFolder(folder.filePath(u"none"_s), user, seed),
                 QDir::toNativeSeparators(user));
        QCOMPARE(folder.read(u"user/data/czech.ksl"_s), QByteArray("seed\r\n"));
        QVERIFY(QFile::permissions(folder.filePath(u"user/data/czech.ksl"_s)) & QFile::WriteOwner);
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
