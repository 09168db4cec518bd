// The settings dialog and the list chooser: what they show, store and tell.
#include "support/ScriptedPrompts.h"
#include "support/TestFolder.h"

#include "base/AppFolder.h"
#include "base/ProcessState.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/frmSList.h"
#include "stations/frmSetting.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

struct Settings
{
    TestFolder folder;
    ScriptedPrompts prompts;
    int refills = 0;
    std::unique_ptr<frmSetting> dialog;

    void open()
    {
        dialog = std::make_unique<frmSetting>(folder.settings(), prompts, folder.path(),
                                              [this] { ++refills; });
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }
    QCheckBox* check(int n) const { return dialog->findChild<QCheckBox*>(u"Check%1"_s.arg(n)); }
    QLineEdit* path() const { return dialog->findChild<QLineEdit*>(u"txtText1"_s); }
    void press(const QString& name) const { dialog->findChild<QPushButton*>(name)->click(); }
    QString stored(const QString& key) { return GetSetting(folder.settings(), key, u"-"_s); }
    QString defaultPath() const { return AddTrailingBackslash(folder.path()) + u"stations.ksl"_s; }
};

struct Chooser
{
    TestFolder folder;
    ScriptedPrompts prompts;
    int refills = 0;
    std::unique_ptr<frmSList> dialog;

    Chooser()
    {
        folder.write(u"rock.KSL"_s, StationBytes("Rock FM", "http://rock/") + "\r\n");
        folder.write(u"czech.ksl"_s, StationBytes("Dvojka", "http://dvojka/") + "\r\n");
        folder.write(u"notes.txt"_s, "not a list");
        setStationFilePath(u"/before.ksl"_s);
        dialog = std::make_unique<frmSList>(
            folder.settings(),
            [this](QWidget* parent, const QString& text) { prompts.Exclamation(parent, text); },
            folder.path(), [this] { ++refills; });
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }
    QTreeWidget* list() const { return dialog->findChild<QTreeWidget*>(u"ListView1"_s); }
    void click(const QPoint& at) const
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    }
    QPoint row(int n) const { return list()->visualItemRect(list()->topLevelItem(n)).center(); }
    void press(const QString& name) const { dialog->findChild<QPushButton*>(name)->click(); }
    QString file(const QString& name) const { return AddTrailingBackslash(folder.path()) + name; }
};

} // namespace

class tst_frmSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        setMinimizeToTray(false);
        setAnimateTrayIcon(false);
        setStationFilePath(u"/somewhere/czech.ksl"_s);
    }

    void firstRunShowsDefaultsAndSavesThem()
    {
        Settings s;
        s.open();
        QVERIFY(!s.check(1)->isChecked() && !s.check(2)->isChecked());
        QCOMPARE(s.path()->text(), s.defaultPath());
        s.press(u"Command2"_s);
        QVERIFY(!s.dialog->isVisible());
        // On disk already, where a second running copy of the program reads them.
        QCOMPARE(s.folder.settingOnDisk(u"MinTray"_s), u"0"_s);
        QCOMPARE(s.folder.settingOnDisk(u"StationFile"_s), s.defaultPath());
        QCOMPARE(StationFilePath(), s.defaultPath());
        QCOMPARE(s.refills, 1);

        // Each flag follows its own box; the reopened dialog shows what was saved.
        s.open();
        s.check(2)->click();
        s.press(u"Command2"_s);
        QVERIFY(!MinimizeToTray() && AnimateTrayIcon());
        QCOMPARE(s.stored(u"AniIco"_s), u"1"_s);
        s.open();
        QVERIFY(s.check(2)->isChecked());
        s.check(1)->click();
        s.press(u"Command2"_s);
        QVERIFY(MinimizeToTray());
        QCOMPARE(s.stored(u"MinTray"_s), u"1"_s);

        // Browse fills the path unless cancelled.
        s.open();
        s.press(u"cmd"_s);
        QCOMPARE(s.prompts.asked, QStringList{u"open: Otevřít seznam rozhlasových stanic"_s});
        QCOMPARE(s.path()->text(), s.defaultPath());
        s.prompts.fileAnswers = {u"/elsewhere/jazz.ksl"_s};
        s.press(u"cmd"_s);
        s.press(u"Command2"_s);
        QCOMPARE(StationFilePath(), u"/elsewhere/jazz.ksl"_s);
        QCOMPARE(s.stored(u"StationFile"_s), u"/elsewhere/jazz.ksl"_s);
    }

    void aFailedWriteIsShownAndTheOldFileStays()
    {
        for (const bool folder : {false, true}) {
            Settings s;
            const QString file = s.folder.settingsFile();
            SaveSetting(s.folder.settings(), u"MinTray"_s, u"0"_s);
            QVERIFY(s.folder.settings().sync());
            {
                Unwritable guard(folder ? QFileInfo(file).path() : file);
                if (!guard.ok())
                    QSKIP("cannot make a file unwritable here");
                s.open();
                QTest::mouseClick(s.check(1), Qt::LeftButton);
                QTest::mouseClick(s.dialog->findChild<QPushButton*>(u"Command2"_s), Qt::LeftButton);
                QCOMPARE(s.prompts.asked,
                         QStringList{u"exclamation: "_s + SettingsWriteErrorMessage(file)});
                QVERIFY(!s.dialog->isVisible());
                QVERIFY(MinimizeToTray()); // for this run all the same
                QCOMPARE(s.folder.settingOnDisk(u"MinTray"_s), u"0"_s);
            }
            // Writable again, the next save goes through without a word.
            s.open();
            s.press(u"Command2"_s);
            QCOMPARE(s.prompts.asked.size(), 1);
            QCOMPARE(s.folder.settingOnDisk(u"MinTray"_s), u"1"_s);
        }
    }

    void closingStoresNothingYetRefills()
    {
        Settings s;
        s.open();
        s.check(1)->click();
        s.press(u"Command1"_s);
        QVERIFY(!s.dialog->isVisible());
        QCOMPARE(s.stored(u"MinTray"_s), u"-"_s);
        QVERIFY(!MinimizeToTray());
        QCOMPARE(StationFilePath(), u"/somewhere/czech.ksl"_s);
        QCOMPARE(s.refills, 1);
        s.open();
        QTest::keyClick(s.check(2), Qt::Key_Escape);
        QVERIFY(!s.dialog->isVisible());
        QCOMPARE(s.refills, 2);
        QCOMPARE(s.stored(u"StationFile"_s), u"-"_s);
    }

    void storedStatesOfTheBoxes()
    {
        const std::pair<QString, Qt::CheckState> cases[] = {
            {u"0"_s, Qt::Unchecked},         {u" 1"_s, Qt::Checked},
            {u"2"_s, Qt::PartiallyChecked},  {u"3"_s, Qt::Unchecked},
            {u"ano"_s, Qt::Unchecked},       {u"0.5"_s, Qt::Unchecked},
            {u"1.5"_s, Qt::PartiallyChecked}}; // halves to even
        for (const auto& [stored, state] : cases)
            QCOMPARE(frmSetting::CheckStateOf(stored), state);

        // A greyed box is saved greyed and turns no flag on; a word reads unchecked.
        Settings s;
        SaveSetting(s.folder.settings(), u"MinTray"_s, u"yes"_s);
        SaveSetting(s.folder.settings(), u"AniIco"_s, u"2"_s);
        SaveSetting(s.folder.settings(), u"StationFile"_s, u"/lists/mine.ksl"_s);
        s.open();
        QCOMPARE(s.check(2)->checkState(), Qt::PartiallyChecked);
        QCOMPARE(s.path()->text(), u"/lists/mine.ksl"_s);
        s.press(u"Command2"_s);
        QCOMPARE(s.stored(u"AniIco"_s), u"2"_s);
        QCOMPARE(s.stored(u"MinTray"_s), u"0"_s);
        QVERIFY(!AnimateTrayIcon());
    }

    // The list chooser.
    void doubleClickLoadsTheList()
    {
        Chooser c;
        // Titles from the file names, sorted; files of other kinds are left out.
        QCOMPARE(c.list()->topLevelItemCount(), 2);
        QCOMPARE(c.list()->topLevelItem(0)->text(0), u"Czech"_s);
        QCOMPARE(c.list()->topLevelItem(1)->text(1), u"rock.KSL"_s);
        // A double click as the platform delivers it: press, release, double click, release.
        c.click(c.row(1));
        QTest::mouseDClick(c.list()->viewport(), Qt::LeftButton, {}, c.row(1));
        QTest::mouseRelease(c.list()->viewport(), Qt::LeftButton, {}, c.row(1));
        QCOMPARE(c.refills, 0); // the load waits for the timer
        QTRY_VERIFY(!c.dialog->isVisible());
        // On disk when the chooser has closed, where a second running copy sees it.
        QCOMPARE(c.folder.settingOnDisk(SettingsKeys::StationFile), c.file(u"rock.KSL"_s));
        QCOMPARE(StationFilePath(), c.file(u"rock.KSL"_s));
        QCOMPARE(c.refills, 1);
        QVERIFY(c.prompts.asked.isEmpty());
    }

    void aFailedSettingsWriteIsToldAndTheListLoads()
    {
        Chooser c;
        const QString file = c.folder.settingsFile();
        SaveSetting(c.folder.settings(), SettingsKeys::StationFile, u"/before.ksl"_s);
        QVERIFY(c.folder.settings().sync());
        {
            Unwritable guard(file);
            if (!guard.ok())
                QSKIP("cannot make a file unwritable here");
            c.click(c.row(1));
            c.press(u"Command2"_s);
            QTRY_VERIFY(!c.dialog->isVisible());
            QCOMPARE(c.prompts.asked,
                     QStringList{u"exclamation: "_s + SettingsWriteErrorMessage(file)});
            QCOMPARE(c.folder.settingOnDisk(SettingsKeys::StationFile), u"/before.ksl"_s);
            QCOMPARE(StationFilePath(), c.file(u"rock.KSL"_s));
        }
        // The value is not lost: the next write (the one at exit) stores it.
        QVERIFY(c.folder.settings().sync());
        QCOMPARE(c.folder.settingOnDisk(SettingsKeys::StationFile), c.file(u"rock.KSL"_s));
    }

    void emptySpaceEscapeAndCloseLoadNothingEnterLoads()
    {
        Chooser c;
        c.click(c.row(0));
        c.click(QPoint(10, c.list()->viewport()->height() - 3)); // below the entries
        c.press(u"Command2"_s);
        QTRY_VERIFY(!c.dialog->findChild<QTimer*>()->isActive());
        QVERIFY(c.dialog->isVisible());
        // Enter on an entry no longer selected (Ctrl+click) loads nothing either.
        QTest::mouseClick(c.list()->viewport(), Qt::LeftButton, Qt::ControlModifier, c.row(1));
        QTest::mouseClick(c.list()->viewport(), Qt::LeftButton, Qt::ControlModifier, c.row(1));
        QVERIFY(c.list()->currentItem() && !c.list()->currentItem()->isSelected());
        QTest::keyClick(c.list(), Qt::Key_Return);
        QVERIFY(!c.dialog->findChild<QTimer*>()->isActive());
        for (const bool escape : {true, false}) {
            Chooser d;
            d.click(d.row(1));
            if (escape)
                QTest::keyClick(d.list(), Qt::Key_Escape);
            else
                d.press(u"Command1"_s);
            QVERIFY(!d.dialog->isVisible());
            QCOMPARE(d.refills, 0);
        }
        QCOMPARE(StationFilePath(), u"/before.ksl"_s);
        QVERIFY(c.folder.settingOnDisk(SettingsKeys::StationFile).isNull());

        c.list()->setCurrentItem(c.list()->topLevelItem(0));
        QTest::keyClick(c.list(), Qt::Key_Return);
        QTRY_VERIFY(!c.dialog->isVisible());
        QCOMPARE(StationFilePath(), c.file(u"czech.ksl"_s));
    }
};

QTEST_MAIN(tst_frmSetting)
#include "tst_frmSetting.moc"
