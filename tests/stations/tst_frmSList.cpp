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

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString NotStored = u"(not stored)"_s;

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
        setStationFilePath(folder.filePath(u"czech.ksl"_s));
        dialog = std::make_unique<frmSList>(
            folder.settings(),
            [this](QWidget* parent, const QString& text) { prompts.Exclamation(parent, text); },
            folder.path(), [this] { ++refills; });
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }

    QTreeWidget* list() const { return dialog->findChild<QTreeWidget*>(u"ListView1"_s); }
    QTimer* timer() const { return dialog->findChild<QTimer*>(u"Timer1"_s); }
    QPoint centreOf(int row) const
    {
        return list()->visualItemRect(list()->topLevelItem(row)).center();
    }
    QString stored() { return GetSetting(folder.settings(), SettingsKeys::StationFile, NotStored); }
};

} // namespace

class tst_frmSList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsTheFilesWithTitles()
    {
        Chooser c;
        QTreeWidget* list = c.list();
        QCOMPARE(list->topLevelItemCount(), 2);
        // Titles from the file names, sorted; files of other kinds are left out.
        const QStringList rows{u"Czech czech.ksl"_s, u"Rock rock.KSL"_s};
        for (int row = 0; row < 2; ++row)
            QCOMPARE(list->topLevelItem(row)->text(0) + u' ' + list->topLevelItem(row)->text(1),
                     rows[row]);
        QVERIFY(c.dialog->SelectedListFile().isEmpty());
        QVERIFY(!c.timer()->isActive());
    }

    void doubleClickLoadsTheList()
    {
        Chooser c;
        // A double click as the platform delivers it: press, release, double click, release.
        QWidget* viewport = c.list()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, c.centreOf(1));
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, c.centreOf(1));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, c.centreOf(1));
        QCOMPARE(c.dialog->SelectedListFile(), u"rock.KSL"_s);
        QCOMPARE(c.refills, 0); // the load waits for the timer
        QTRY_VERIFY(!c.dialog->isVisible());
        const QString path = AddTrailingBackslash(c.folder.path()) + u"rock.KSL"_s;
        // On disk when the chooser has closed, where a second running copy sees it.
        QCOMPARE(c.folder.settingOnDisk(SettingsKeys::StationFile), path);
        QCOMPARE(StationFilePath(), path);
        QCOMPARE(c.refills, 1);
        QVERIFY(c.prompts.asked.isEmpty());

        // A settings file that cannot be written: told, the file stays, the list loads anyway.
        Chooser d;
        const QString file = d.folder.settingsFile();
        SaveSetting(d.folder.settings(), SettingsKeys::StationFile, u"/before.ksl"_s);
        QVERIFY(d.folder.settings().sync());
        const QString rock = AddTrailingBackslash(d.folder.path()) + u"rock.KSL"_s;
        {
            Unwritable guard(file);
            if (!guard.ok())
                QSKIP("cannot make a file unwritable here");
            QTest::mouseClick(d.list()->viewport(), Qt::LeftButton, {}, d.centreOf(1));
            QTest::mouseClick(d.dialog->findChild<QPushButton*>(u"Command2"_s), Qt::LeftButton);
            QTRY_VERIFY(!d.dialog->isVisible());
            QCOMPARE(d.prompts.asked,
                     QStringList{u"exclamation: "_s + SettingsWriteErrorMessage(file)});
            QCOMPARE(d.folder.settingOnDisk(SettingsKeys::StationFile), u"/before.ksl"_s);
            QCOMPARE(StationFilePath(), rock);
        }
        // The value is not lost: the next write (the one at exit) stores it.
        QVERIFY(d.folder.settings().sync());
        QCOMPARE(d.folder.settingOnDisk(SettingsKeys::StationFile), rock);
    }

    void clickOnEmptySpaceThenLoadDoesNothing()
    {
        Chooser c;
        QTest::mouseClick(c.list()->viewport(), Qt::LeftButton, {}, c.centreOf(0));
        QCOMPARE(c.dialog->SelectedListFile(), u"czech.ksl"_s);
        const QPoint below(10, c.list()->viewport()->height() - 3);
        QVERIFY(!c.list()->itemAt(below));
        QTest::mouseClick(c.list()->viewport(), Qt::LeftButton, {}, below);
        QVERIFY(c.dialog->SelectedListFile().isEmpty());
        c.dialog->findChild<QPushButton*>(u"Command2"_s)->click();
        QVERIFY(c.timer()->isActive());
        QTRY_VERIFY(!c.timer()->isActive());
        QVERIFY(c.dialog->isVisible());
        QCOMPARE(c.stored(), NotStored);
        QCOMPARE(c.refills, 0);

        // Enter loads the current entry.
        c.list()->setCurrentItem(c.list()->topLevelItem(0));
        QTest::keyClick(c.list(), Qt::Key_Return);
        QTRY_VERIFY(!c.dialog->isVisible());
        QCOMPARE(c.stored(), AddTrailingBackslash(c.folder.path()) + u"czech.ksl"_s);
    }

    void escapeAndCloseChangeNothing()
    {
        for (const bool escape : {true, false}) {
            Chooser c;
            const QString before = StationFilePath();
            QTest::mouseClick(c.list()->viewport(), Qt::LeftButton, {}, c.centreOf(1));
            if (escape)
                QTest::keyClick(c.list(), Qt::Key_Escape);
            else
                c.dialog->findChild<QPushButton*>(u"Command1"_s)->click();
            QVERIFY(!c.dialog->isVisible());
            QCOMPARE(c.refills, 0);
            QCOMPARE(c.stored(), NotStored);
            QCOMPARE(StationFilePath(), before);
        }
    }
};

QTEST_MAIN(tst_frmSList)
#include "tst_frmSList.moc"
