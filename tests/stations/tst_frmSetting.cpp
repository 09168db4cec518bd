// The settings dialog and the list chooser: what they show, store and tell.
#include "support/ScriptedPrompts.h"
#include "support/TestFolder.h"

#include "base/ProcessState.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/frmSList.h"
#include "stations/frmSetting.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// The settings dialog or the list chooser over a temporary folder, with scripted prompts.
struct Fixture
{
    TestFolder folder;
    ScriptedPrompts prompts;
    int refills = 0;
    std::unique_ptr<QDialog> dialog;

    template <typename Dialog, typename Prompts> void open(Prompts&& prompts)
    {
        dialog = std::make_unique<Dialog>(folder.settings(), prompts, folder.path(),
                                          [this] { ++refills; });
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }
    void openSettings() { open<frmSetting>(prompts); }
    void openChooser()
    {
        folder.write(u"rock.KSL"_s, StationBytes("Rock FM", "http://rock/") + "\r\n");
        folder.write(u"czech.ksl"_s, StationBytes("Dvojka", "http://dvojka/") + "\r\n");
        folder.write(u"notes.txt"_s, "not a list");
        setStationFilePath(u"/before.ksl"_s);
        open<frmSList>([this](QWidget* w, const QString& text) { prompts.Exclamation(w, text); });
    }
    QCheckBox* check(int n) const { return dialog->findChild<QCheckBox*>(u"Check%1"_s.arg(n)); }
    QString path() const { return dialog->findChild<QLineEdit*>(u"txtText1"_s)->text(); }
    void press(const QString& name) const
    {
        QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    QString stored(const QString& key) { return GetSetting(folder.settings(), key, u"-"_s); }
    // A value as the settings file holds it now, not as this process caches it; null if none.
    QString onDisk(const QString& key) const
    {
        QFile file(folder.settingsFile());
        const QString text =
            u'\n' + QString::fromUtf8(file.open(QFile::ReadOnly) ? file.readAll() : "");
        const qsizetype at = text.indexOf(u'\n' + key + u'=');
        return at < 0 ? QString() : text.mid(at + key.size() + 2).section(u'\n', 0, 0);
    }
    QTreeWidget* list() const { return dialog->findChild<QTreeWidget*>(u"ListView1"_s); }
    QPoint row(int n) const { return list()->visualItemRect(list()->topLevelItem(n)).center(); }
    void click(QPoint at, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, at);
    }
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

    void closingStoresNothingSavingStoresOnDiskAndShows()
    {
        Fixture s;
        s.openSettings();
        QTest::mouseClick(s.check(1), Qt::LeftButton);
        s.press(u"Command1"_s);
        QVERIFY(!s.dialog->isVisible() && !MinimizeToTray());
        QVERIFY(s.stored(u"MinTray"_s) == u"-"_s && s.stored(u"StationFile"_s) == u"-"_s);
        QCOMPARE(StationFilePath(), u"/somewhere/czech.ksl"_s);
        QCOMPARE(s.refills, 1); // the list is loaded again all the same

        // The first run shows the defaults; saved, they are on disk already, where a second
        // running copy of the program reads them.
        s.openSettings();
        QVERIFY(!s.check(1)->isChecked() && !s.check(2)->isChecked());
        const QString defaultList = s.folder.filePath(u"stations.ksl"_s);
        QCOMPARE(s.path(), defaultList);
        QTest::mouseClick(s.check(2), Qt::LeftButton);
        s.press(u"Command2"_s);
        QVERIFY(!s.dialog->isVisible() && !MinimizeToTray() && AnimateTrayIcon());
        QVERIFY(s.onDisk(u"MinTray"_s) == u"0"_s && s.onDisk(u"AniIco"_s) == u"1"_s);
        QVERIFY(s.onDisk(u"StationFile"_s) == defaultList && StationFilePath() == defaultList);
        QCOMPARE(s.refills, 2);

        // The reopened dialog shows what was saved; browse fills the path unless cancelled.
        s.openSettings();
        QVERIFY(s.check(2)->isChecked());
        s.press(u"cmd"_s);
        QCOMPARE(s.prompts.asked, QStringList{u"open: Otevřít seznam rozhlasových stanic"_s});
        QCOMPARE(s.path(), defaultList);
        s.prompts.fileAnswers = {u"/elsewhere/jazz.ksl"_s};
        s.press(u"cmd"_s);
        s.press(u"Command2"_s);
        QVERIFY(StationFilePath() == u"/elsewhere/jazz.ksl"_s &&
                s.stored(u"StationFile"_s) == StationFilePath());

        // A greyed box is saved greyed and turns no flag on; a word reads unchecked; halves
        // round to even.
        for (const auto& [stored, state] : {std::pair{u" 1"_s, Qt::Checked},
                                            {u"3"_s, Qt::Unchecked},
                                            {u"0.5"_s, Qt::Unchecked},
                                            {u"1.5"_s, Qt::PartiallyChecked}})
            QCOMPARE(frmSetting::CheckStateOf(stored), state);
        SaveSetting(s.folder.settings(), u"MinTray"_s, u"yes"_s);
        SaveSetting(s.folder.settings(), u"AniIco"_s, u"2"_s);
        s.openSettings();
        QCOMPARE(s.check(2)->checkState(), Qt::PartiallyChecked);
        QCOMPARE(s.path(), u"/elsewhere/jazz.ksl"_s);
        s.press(u"Command2"_s);
        QVERIFY(s.stored(u"AniIco"_s) == u"2"_s && s.stored(u"MinTray"_s) == u"0"_s);
        QVERIFY(!AnimateTrayIcon());
    }

    void aFailedWriteIsToldAndTheValuesHold()
    {
        Fixture f;
        const QString file = f.folder.settingsFile();
        SaveSetting(f.folder.settings(), SettingsKeys::StationFile, u"/before.ksl"_s);
        QVERIFY(f.folder.settings().sync());
        const QString failed = u"exclamation: "_s + SettingsWriteErrorMessage(file);
        {
            Unwritable guard(file);
            if (!guard.ok())
                QSKIP("cannot make a file unwritable here");
            f.openSettings();
            QTest::mouseClick(f.check(1), Qt::LeftButton);
            f.press(u"Command2"_s);
            QCOMPARE(f.prompts.asked, QStringList{failed});
            QVERIFY(!f.dialog->isVisible() && MinimizeToTray()); // for this run all the same
            // The chooser tells it too, and loads the list.
            f.openChooser();
            f.click(f.row(1));
            f.press(u"Command2"_s);
            QTRY_VERIFY(!f.dialog->isVisible());
            QCOMPARE(f.prompts.asked, (QStringList{failed, failed}));
            QCOMPARE(StationFilePath(), f.folder.filePath(u"rock.KSL"_s));
            QVERIFY(f.onDisk(u"MinTray"_s).isNull() &&
                    f.onDisk(SettingsKeys::StationFile) == u"/before.ksl"_s);
        }
        // The values are not lost: the next write (the one at exit) stores them.
        QVERIFY(f.folder.settings().sync());
        QVERIFY(f.onDisk(u"MinTray"_s) == u"1"_s &&
                f.onDisk(SettingsKeys::StationFile) == StationFilePath());
    }

    void chooserLoadsTheChosenList()
    {
        Fixture c;
        c.openChooser();
        // Titles from the file names, sorted; files of other kinds are left out.
        QCOMPARE(c.list()->topLevelItemCount(), 2);
        QVERIFY(c.list()->topLevelItem(0)->text(0) == u"Czech"_s &&
                c.list()->topLevelItem(1)->text(1) == u"rock.KSL"_s);
        // A double click as the platform delivers it: press, release, double click, release.
        c.click(c.row(1));
        QTest::mouseDClick(c.list()->viewport(), Qt::LeftButton, {}, c.row(1));
        QTest::mouseRelease(c.list()->viewport(), Qt::LeftButton, {}, c.row(1));
        QCOMPARE(c.refills, 0); // the load waits for the timer
        QTRY_VERIFY(!c.dialog->isVisible());
        // On disk when the chooser has closed, where a second running copy sees it.
        const QString rock = c.folder.filePath(u"rock.KSL"_s);
        QVERIFY(c.onDisk(SettingsKeys::StationFile) == rock && StationFilePath() == rock);
        QVERIFY(c.refills == 1 && c.prompts.asked.isEmpty());

        // A click on empty space unselects; Load then loads nothing.
        c.openChooser();
        c.click(c.row(0));
        c.click(QPoint(10, c.list()->viewport()->height() - 3)); // below the entries
        c.press(u"Command2"_s);
        QTRY_VERIFY(!c.dialog->findChild<QTimer*>()->isActive());
        QVERIFY(c.dialog->isVisible());
        // Enter on an entry no longer selected (Ctrl+click) loads nothing either.
        c.click(c.row(1), Qt::ControlModifier);
        c.click(c.row(1), Qt::ControlModifier);
        QVERIFY(c.list()->currentItem() && !c.list()->currentItem()->isSelected());
        QTest::keyClick(c.list(), Qt::Key_Return);
        QVERIFY(!c.dialog->findChild<QTimer*>()->isActive());
        // Escape and Close load nothing.
        QTest::keyClick(c.list(), Qt::Key_Escape);
        QVERIFY(!c.dialog->isVisible());
        c.openChooser();
        c.click(c.row(0));
        c.press(u"Command1"_s);
        QVERIFY(!c.dialog->isVisible() && c.refills == 1);
        QVERIFY(StationFilePath() == u"/before.ksl"_s &&
                c.onDisk(SettingsKeys::StationFile) == rock);
        // Enter on the selected entry loads it.
        c.openChooser();
        c.click(c.row(0));
        QTest::keyClick(c.list(), Qt::Key_Return);
        QTRY_VERIFY(!c.dialog->isVisible());
        QCOMPARE(StationFilePath(), c.folder.filePath(u"czech.ksl"_s));
    }
};

QTEST_MAIN(tst_frmSetting)
#include "tst_frmSetting.moc"
