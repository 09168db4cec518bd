#include "support/ScriptedPrompts.h"
#include "support/TestFolder.h"

#include "base/AppFolder.h"
#include "base/ProcessState.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/frmSList.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

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

class tst_frmSList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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

QTEST_MAIN(tst_frmSList)
#include "tst_frmSList.moc"
