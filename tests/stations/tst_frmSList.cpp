#include "support/TestFolder.h"

#include "app/AppFolder.h"
#include "app/ProcessState.h"
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
    int refills = 0;
    std::unique_ptr<frmSList> dialog;

    Chooser()
    {
        folder.write(u"rock.KSL"_s, StationBytes("Rock FM", "http://rock/") + "\r\n");
        folder.write(u"czech.ksl"_s, StationBytes("Dvojka", "http://dvojka/") + "\r\n");
        folder.write(u"notes.txt"_s, "not a list");
        setStationFilePath(folder.filePath(u"czech.ksl"_s));
        dialog =
            std::make_unique<frmSList>(folder.settings(), folder.path(), [this] { ++refills; });
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
        QCOMPARE(c.dialog->windowTitle(), u"Výběr seznamu stanic"_s);
        QTreeWidget* list = c.list();
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), u"Czech"_s);
        QCOMPARE(list->topLevelItem(0)->text(1), u"czech.ksl"_s);
        QCOMPARE(list->topLevelItem(1)->text(0), u"Rock"_s);
        QCOMPARE(list->topLevelItem(1)->text(1), u"rock.KSL"_s);
        for (int row = 0; row < 2; ++row) {
            QVERIFY(list->topLevelItem(row)->font(0).bold());
            QCOMPARE(list->topLevelItem(row)->foreground(1).color(), QColor(153, 153, 153));
            QVERIFY(!list->topLevelItem(row)->icon(0).isNull());
        }
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
        // The load waits for the timer; nothing has happened yet.
        QVERIFY(c.dialog->isVisible());
        QCOMPARE(c.refills, 0);
        QTRY_VERIFY(!c.dialog->isVisible());
        const QString path = AddTrailingBackslash(c.folder.path()) + u"rock.KSL"_s;
        QCOMPARE(c.stored(), path);
        QCOMPARE(c.folder.reopenSettings()->get(SettingsKeys::Application, SettingsKeys::Section,
                                                SettingsKeys::StationFile, NotStored),
                 path);
        QCOMPARE(StationFilePath(), path);
        QCOMPARE(c.refills, 1);
        QCOMPARE(c.dialog->result(), int(QDialog::Accepted));
    }

    void clickOnEmptySpaceForgetsThePick()
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
    }

    void enterLoadsTheSelectedEntryOnly()
    {
        Chooser c;
        QTest::keyClick(c.list(), Qt::Key_Return);
        QVERIFY(!c.timer()->isActive());
        QVERIFY(c.dialog->isVisible());

        c.list()->setCurrentItem(c.list()->topLevelItem(0));
        QTest::keyClick(c.list(), Qt::Key_Return);
        QCOMPARE(c.dialog->SelectedListFile(), u"czech.ksl"_s);
        QTRY_VERIFY(!c.dialog->isVisible());
        QCOMPARE(c.stored(), AddTrailingBackslash(c.folder.path()) + u"czech.ksl"_s);
    }

    void escapeAndCloseChangeNothing()
    {
        Chooser c;
        const QString before = StationFilePath();
        QTest::mouseClick(c.list()->viewport(), Qt::LeftButton, {}, c.centreOf(1));
        QTest::keyClick(c.list(), Qt::Key_Escape);
        QVERIFY(!c.dialog->isVisible());
        QCOMPARE(c.refills, 0);
        QCOMPARE(c.stored(), NotStored);
        QCOMPARE(StationFilePath(), before);

        Chooser d;
        QTest::mouseClick(d.list()->viewport(), Qt::LeftButton, {}, d.centreOf(1));
        d.dialog->findChild<QPushButton*>(u"Command1"_s)->click();
        QVERIFY(!d.dialog->isVisible());
        QCOMPARE(d.refills, 0);
        QCOMPARE(d.stored(), NotStored);
    }

    void anEmptyFolderListsNothing()
    {
        TestFolder folder;
        QVERIFY(frmSList::ListFiles(folder.path()).isEmpty());
        QVERIFY(frmSList::ListFiles(QString()).isEmpty());
        folder.write(u"b.Ksl"_s, "");
        folder.write(u"A.ksl"_s, "");
        folder.write(u"c.ksl.bak"_s, "");
        QCOMPARE(frmSList::ListFiles(folder.path()), (QStringList{u"A.ksl"_s, u"b.Ksl"_s}));
    }
};

QTEST_MAIN(tst_frmSList)
#include "tst_frmSList.moc"
