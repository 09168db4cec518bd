#include "support/FakePlayer.h"
#include "support/ScriptedPrompts.h"
#include "support/SmallDisk.h"
#include "support/TestFolder.h"

#include "app/ProcessState.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"
#include "stations/StationListView.h"
#include "stations/frmEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray ThreeStations = StationBytes("Alfa", "http://alfa.cz/", "255") +
                                 StationBytes("Beta", "http://beta.cz/", "0", "1", "1") +
                                 StationBytes("Gama", "http://gama.cz/", "0", "0");

// An editor over a list file of a temporary folder, with scripted prompts and player.
struct Editor
{
    TestFolder folder;
    ScriptedPrompts prompts;
    FakePlayer player;
    int refills = 0;
    QString listPath;
    std::unique_ptr<frmEdit> dialog;

    explicit Editor(const QByteArray& content = ThreeStations)
    {
        listPath = folder.write(u"list.ksl"_s, content + "\r\n");
        setStationFilePath(listPath);
        open();
    }

    void open()
    {
        dialog = std::make_unique<frmEdit>(player, prompts, [this] { ++refills; });
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }

    template <typename T> T* child(const QString& name) const
    {
        T* found = dialog->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit* name() const { return child<QLineEdit>(u"Text1"_s); }
    QLineEdit* url() const { return child<QLineEdit>(u"Text2"_s); }
    QTreeWidget* list() const { return child<QTreeWidget>(u"ListView1"_s); }
    QString count() const { return child<QLabel>(u"lblCount"_s)->text(); }
    quint32 swatch() const
    {
        return child<QPushButton>(u"Command4"_s)->property("BackColor").toUInt();
    }
    void press(const QString& button) const { child<QPushButton>(button)->click(); }

    QTreeWidgetItem* entry(const QString& stationName) const
    {
        const auto found = list()->findItems(stationName, Qt::MatchExactly, 0);
        return found.isEmpty() ? nullptr : found.front();
    }

    // Clicks an entry the way the user does.
    void clickEntry(const QString& stationName) const
    {
        QTreeWidgetItem* item = entry(stationName);
        QVERIFY(item);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(item).center());
    }

    void fill(const QString& stationName, const QString& stationUrl) const
    {
        name()->setText(stationName);
        url()->setText(stationUrl);
    }

    QByteArray file() const { return folder.read(u"list.ksl"_s); }
};

// Makes a file unwritable, for root as well (the immutable attribute); undone on destruction.
struct UnwritableFile
{
    QString path;
    bool immutable = false;
    bool ok = false;

    explicit UnwritableFile(QString p)
        : path(std::move(p))
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (QFileInfo(path).isWritable())
            immutable = QProcess::execute(u"chattr"_s, {u"+i"_s, path}) == 0;
        ok = !QFileInfo(path).isWritable();
    }
    ~UnwritableFile()
    {
        if (immutable)
            QProcess::execute(u"chattr"_s, {u"-i"_s, path});
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
};

} // namespace

class tst_frmEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensWithTheListAndEmptyFields()
    {
        Editor e;
        QCOMPARE(e.dialog->windowTitle(), u"Editace rozhlasových stanic"_s);
        QCOMPARE(e.list()->topLevelItemCount(), 3);
        QCOMPARE(e.count(), u"Celkem 3 stanice"_s);
        QVERIFY(e.name()->text().isEmpty());
        QCOMPARE(e.swatch(), 0u);
        QVERIFY(!e.child<QPushButton>(u"Check1"_s)->isChecked());
        QVERIFY(e.child<QCheckBox>(u"Check2"_s)->isChecked());
        QCOMPARE(e.name()->maxLength(), 250);
        QCOMPARE(e.url()->maxLength(), 250);
    }

    void selectingAnEntryFillsTheFields()
    {
        Editor e;
        e.clickEntry(u"Alfa"_s);
        QCOMPARE(e.dialog->SelectedStationUrl(), u"http://alfa.cz/"_s);
        QCOMPARE(e.name()->text(), u"Alfa"_s);
        QCOMPARE(e.url()->text(), u"http://alfa.cz/"_s);
        QCOMPARE(e.swatch(), 255u);
        QVERIFY(!e.child<QPushButton>(u"Check1"_s)->isChecked());
        QVERIFY(e.child<QCheckBox>(u"Check2"_s)->isChecked());

        e.clickEntry(u"Gama"_s);
        QCOMPARE(e.swatch(), 0u);
        QVERIFY(!e.child<QCheckBox>(u"Check2"_s)->isChecked());
        e.clickEntry(u"Beta"_s);
        QVERIFY(e.child<QPushButton>(u"Check1"_s)->isChecked());
    }

    void saveChecksInOrder()
    {
        Editor e;
        const QByteArray before = e.file();

        e.press(u"Command1"_s);
        QCOMPARE(e.prompts.asked,
                 QStringList{u"exclamation: Název stanice musí obsahovat minimálně jeden znak!"_s});
        QCOMPARE(QApplication::focusWidget(), e.name());

        e.prompts.asked.clear();
        e.name()->setText(u"Nová"_s);
        e.press(u"Command1"_s);
        QCOMPARE(e.prompts.asked,
                 QStringList{u"exclamation: URL stanice musí obsahovat minimálně jeden znak!"_s});
        QCOMPARE(QApplication::focusWidget(), e.url());

        // The same URL in other letter case is the same station.
        e.prompts.asked.clear();
        e.url()->setText(u"HTTP://Beta.CZ/"_s);
        e.press(u"Command1"_s);
        QCOMPARE(e.prompts.asked, QStringList{u"exclamation: Stanice s touto URL již existuje!"_s});
        QCOMPARE(e.name()->text(), u"Nová"_s);
        QCOMPARE(e.file(), before);
    }

    void nameOfSpacesIsEmptiedOnLeavingItUrlIsNotTrimmed()
    {
        Editor e;
        e.name()->setFocus();
        e.name()->setText(u"   "_s);
        e.url()->setFocus();
        QVERIFY(e.name()->text().isEmpty());
        e.press(u"Command1"_s);
        QCOMPARE(e.prompts.asked.value(0),
                 u"exclamation: Název stanice musí obsahovat minimálně jeden znak!"_s);

        e.prompts.asked.clear();
        e.name()->setFocus();
        e.name()->setText(u"  Mezery  "_s);
        e.url()->setFocus();
        QCOMPARE(e.name()->text(), u"Mezery"_s);
        e.url()->setText(u"  "_s);
        e.press(u"Command1"_s);
        QVERIFY(e.prompts.asked.isEmpty());
        QVERIFY(e.file().contains("<stationname>Mezery</stationname><stationurl>  </stationurl>"));
    }

    void addingANewStationWritesItAndClearsTheFields()
    {
        Editor e;
        e.fill(u"Delta"_s, u"http://delta.cz/"_s);
        e.child<QPushButton>(u"Check1"_s)->setChecked(true);
        e.prompts.colorAnswers = {QColor(0, 0, 255)};
        e.press(u"Command4"_s);
        e.press(u"Command1"_s);
        QVERIFY(e.prompts.asked == QStringList{u"color"_s});
        QVERIFY(e.file().endsWith(StationBytes("Delta", "http://delta.cz/", "16711680", "1", "1") +
                                  "\r\n"));
        QCOMPARE(e.count(), u"Celkem 4 stanice"_s);
        QVERIFY(e.name()->text().isEmpty());
        QCOMPARE(e.swatch(), 0u);
    }

    void editingWithTheSameUrlRewritesTheRecord()
    {
        Editor e;
        e.clickEntry(u"Beta"_s);
        e.name()->setText(u"Beta Nová"_s);
        e.url()->setText(u"http://BETA.cz/"_s);
        e.press(u"Command1"_s);
        QVERIFY(e.prompts.asked.isEmpty());
        QVERIFY(e.file().contains(StationBytes("Beta Nov\xE1", "http://BETA.cz/", "0", "1", "1")));
        QVERIFY(!e.file().contains("http://beta.cz/"));
        QCOMPARE(e.count(), u"Celkem 3 stanice"_s);
        QVERIFY(e.dialog->SelectedStationUrl().isEmpty());
        QVERIFY(e.name()->text().isEmpty());
    }

    void editingToAnotherStationsUrlIsRefused()
    {
        Editor e;
        const QByteArray before = e.file();
        e.clickEntry(u"Alfa"_s);
        e.url()->setText(u"http://gama.cz/"_s);
        e.press(u"Command1"_s);
        QCOMPARE(e.prompts.asked, QStringList{u"exclamation: Stanice s touto URL již existuje!"_s});
        QCOMPARE(e.file(), before);
        QCOMPARE(e.dialog->SelectedStationUrl(), u"http://alfa.cz/"_s);
        QCOMPARE(e.url()->text(), u"http://gama.cz/"_s);
    }

    void changingTheUrlToANewOneRenamesTheStation()
    {
        Editor e;
        e.clickEntry(u"Alfa"_s);
        e.url()->setText(u"http://alfa2.cz/"_s);
        e.press(u"Command1"_s);
        QVERIFY(e.prompts.asked.isEmpty());
        QVERIFY(!StationExists(u"http://alfa.cz/"_s));
        QCOMPARE(e.file(), StationBytes("Alfa", "http://alfa2.cz/", "255") +
                               StationBytes("Beta", "http://beta.cz/", "0", "1", "1") +
                               StationBytes("Gama", "http://gama.cz/", "0", "0") + "\r\n");
        QCOMPARE(e.count(), u"Celkem 3 stanice"_s);
    }

    void aStationGoneFromTheCurrentFileIsAdded()
    {
        Editor e;
        e.clickEntry(u"Beta"_s);
        const QString fresh = e.folder.filePath(u"fresh.ksl"_s);
        e.prompts.fileAnswers = {fresh};
        e.press(u"cmdNewFile"_s);
        QCOMPARE(e.count(), u"Žádné stanice"_s);
        // The fields and the selection survive the new list.
        QCOMPARE(e.dialog->SelectedStationUrl(), u"http://beta.cz/"_s);
        e.press(u"Command1"_s);
        QCOMPARE(e.folder.read(u"fresh.ksl"_s),
                 StationBytes("Beta", "http://beta.cz/", "0", "1", "1") + "\r\n");
        QCOMPARE(e.count(), u"Celkem 1 stanice"_s);
        QCOMPARE(e.file(), ThreeStations + "\r\n");
    }

    void deleteAsksAndOnlyYesDeletes()
    {
        Editor e;
        e.press(u"Command3"_s);
        QVERIFY(e.prompts.asked.isEmpty());

        e.clickEntry(u"Gama"_s);
        e.prompts.yesNoAnswers = {false};
        e.press(u"Command3"_s);
        QCOMPARE(e.prompts.asked,
                 QStringList{u"question: Opravdu chcete smazat vybranou stanici?"_s});
        QCOMPARE(e.file(), ThreeStations + "\r\n");
        QCOMPARE(e.dialog->SelectedStationUrl(), u"http://gama.cz/"_s);

        e.prompts.yesNoAnswers = {true};
        e.press(u"Command3"_s);
        QVERIFY(!e.file().contains("gama"));
        QCOMPARE(e.count(), u"Celkem 2 stanice"_s);
        QVERIFY(!e.entry(u"Gama"_s));
        QVERIFY(e.dialog->SelectedStationUrl().isEmpty());
    }

    void aReopenedEditorStartsEmpty()
    {
        Editor e;
        e.clickEntry(u"Alfa"_s);
        e.press(u"Command2"_s);
        QVERIFY(!e.dialog->isVisible());
        QCOMPARE(e.refills, 1);

        e.open();
        QVERIFY(e.dialog->SelectedStationUrl().isEmpty());
        QVERIFY(e.name()->text().isEmpty());
        e.press(u"Command3"_s);
        QVERIFY(e.prompts.asked.isEmpty());
        e.fill(u"Epsilon"_s, u"http://epsilon.cz/"_s);
        e.press(u"Command1"_s);
        QCOMPARE(e.count(), u"Celkem 4 stanice"_s);
        QVERIFY(e.file().contains("Alfa"));
    }

    void hidingAStationKeepsItInTheEditorOnly()
    {
        Editor e;
        e.clickEntry(u"Alfa"_s);
        e.child<QCheckBox>(u"Check2"_s)->setChecked(false);
        e.press(u"Command1"_s);
        QTreeWidgetItem* alfa = e.entry(u"Alfa"_s);
        QVERIFY(alfa);
        QCOMPARE(alfa->data(0, StationVisibleRole).toBool(), false);
        const auto shown =
            StationListEntries(ReadStationFile(e.listPath), StationFilter::VisibleOnly);
        QCOMPARE(shown.size(), 1); // Beta; Gama was hidden already
        QCOMPARE(shown.front().name, u"Beta"_s);
    }

    void newListEmptiesTheListAndBecomesCurrent()
    {
        Editor e;
        e.press(u"cmdNewFile"_s); // cancelled
        QCOMPARE(e.prompts.asked, QStringList{u"save: Nový soubor se seznamem stanic"_s});
        QCOMPARE(StationFilePath(), e.listPath);

        // An existing file of that name is emptied too.
        const QString other = e.folder.write(u"other.ksl"_s, StationBytes("X", "http://x/"));
        e.prompts.fileAnswers = {other};
        e.press(u"cmdNewFile"_s);
        QCOMPARE(e.folder.read(u"other.ksl"_s), QByteArray("\r\n"));
        QCOMPARE(StationFilePath(), other);
        QCOMPARE(e.list()->topLevelItemCount(), 0);
        QCOMPARE(e.count(), u"Žádné stanice"_s);
        e.press(u"Command2"_s);
        QCOMPARE(e.refills, 1);
        QVERIFY(StationListEntries(ReadStationFile(StationFilePath()), StationFilter::VisibleOnly)
                    .isEmpty());
    }

    void colourCancelTakesTheLastReturnedColour()
    {
        Editor e;
        e.clickEntry(u"Alfa"_s);
        QCOMPARE(e.swatch(), 255u);
        e.press(u"Command4"_s); // cancelled before any pick
        QCOMPARE(e.swatch(), 0u);
        e.prompts.colorAnswers = {QColor(0, 128, 0)};
        e.press(u"Command4"_s);
        QCOMPARE(e.swatch(), 0x008000u);
        e.clickEntry(u"Alfa"_s);
        e.press(u"Command4"_s); // cancelled again
        QCOMPARE(e.swatch(), 0x008000u);
    }

    void textTheFileCannotHoldIsRefused()
    {
        Editor e;
        const QByteArray before = e.file();
        e.fill(u"Радио"_s, u"http://radio.ru/"_s);
        e.press(u"Command1"_s);
        QCOMPARE(e.prompts.asked.size(), 1);
        QVERIFY(e.prompts.asked.front().contains(u"Windows-1250"_s));
        QCOMPARE(QApplication::focusWidget(), e.name());

        e.prompts.asked.clear();
        e.fill(u"Rock</StationName>"_s, u"http://rock.cz/"_s);
        e.press(u"Command1"_s);
        QVERIFY(e.prompts.asked.value(0).contains(u"</stationname>"_s));

        e.prompts.asked.clear();
        e.clickEntry(u"Alfa"_s);
        e.url()->setText(u"http://a.cz/<RadioStation>"_s);
        e.press(u"Command1"_s);
        QVERIFY(e.prompts.asked.value(0).startsWith(u"exclamation: URL stanice"_s));
        QCOMPARE(QApplication::focusWidget(), e.url());
        QCOMPARE(e.file(), before);
    }

    void aFailedWriteIsShownAndTheFileStays()
    {
        Editor e;
        const QByteArray before = e.file();
        UnwritableFile guard(e.listPath);
        if (!guard.ok)
            QSKIP("cannot make a file unwritable here");
        e.fill(u"Delta"_s, u"http://delta.cz/"_s);
        e.press(u"Command1"_s);
        QCOMPARE(e.prompts.asked,
                 QStringList{u"exclamation: "_s + StationFileWriteErrorMessage(e.listPath)});
        QCOMPARE(e.file(), before);
        QCOMPARE(e.count(), u"Celkem 3 stanice"_s);
        QCOMPARE(e.name()->text(), u"Delta"_s); // the input is not lost

        e.prompts.asked.clear();
        e.clickEntry(u"Alfa"_s);
        e.prompts.yesNoAnswers = {true};
        e.press(u"Command3"_s);
        QCOMPARE(e.prompts.asked.last(),
                 u"exclamation: "_s + StationFileWriteErrorMessage(e.listPath));
        QCOMPARE(e.file(), before);
        QVERIFY(e.entry(u"Alfa"_s));
    }

    void aFullDiskOrAGoneFolderIsShownAndTheEditorGoesOn()
    {
        Editor e;
        const QString diskFolder = e.folder.filePath(u"disk"_s);
        QVERIFY(QDir().mkpath(diskFolder));
        constexpr qint64 capacity = 64 * 1024;
        const QString path = QDir(diskFolder).filePath(u"list.ksl"_s);
        const QByteArray before = StationListOfSize(ThreeStations, capacity - 100);
        const auto current = [&] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        {
            SmallDisk disk(diskFolder, capacity);
            {
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly));
                QCOMPARE(file.write(before), before.size());
            }
            setStationFilePath(path);
            e.open();
            const int entries = e.list()->topLevelItemCount();

            e.fill(u"Delta"_s, u"http://delta.cz/"_s);
            e.press(u"Command1"_s);
            QCOMPARE(e.prompts.asked,
                     QStringList{u"exclamation: "_s + StationFileWriteErrorMessage(path)});
            QCOMPARE(current(), before);
            QCOMPARE(e.list()->topLevelItemCount(), entries);
            QCOMPARE(e.name()->text(), u"Delta"_s);
        }

        // With room again the same add goes through: the editor carried on.
        e.prompts.asked.clear();
        e.press(u"Command1"_s);
        QVERIFY(e.prompts.asked.isEmpty());
        QVERIFY(e.entry(u"Delta"_s));
        QVERIFY(current().contains("http://delta.cz/"));

        // The list's folder disappears while the editor is open.
        QVERIFY(QDir(diskFolder).removeRecursively());
        e.fill(u"Epsilon"_s, u"http://epsilon.cz/"_s);
        e.press(u"Command1"_s);
        QCOMPARE(e.prompts.asked,
                 QStringList{u"exclamation: "_s + StationFileWriteErrorMessage(path)});
        QVERIFY(!QFileInfo::exists(diskFolder));
        QVERIFY(e.dialog->isVisible());
    }

    void testPlayUsesThePlayer()
    {
        Editor e;
        e.press(u"cmdPlay"_s);
        QVERIFY(e.player.calls.isEmpty());
        e.url()->setText(u"http://stream.cz/a"_s);
        e.press(u"cmdPlay"_s);
        e.press(u"cmdStop"_s);
        QCOMPARE(e.player.calls,
                 (QStringList{u"setURL http://stream.cz/a"_s, u"play"_s, u"stop"_s}));
    }

    void escapeClosesFromAnyControlAndRefills()
    {
        Editor e;
        e.clickEntry(u"Alfa"_s);
        QTest::keyClick(e.url(), Qt::Key_Escape);
        QVERIFY(!e.dialog->isVisible());
        QCOMPARE(e.refills, 1);
        QCOMPARE(e.dialog->result(), int(QDialog::Rejected));
    }

    void fieldsSelectTheirTextOnFocus()
    {
        Editor e;
        e.fill(u"Alfa"_s, u"http://alfa.cz/"_s);
        e.url()->setFocus();
        QTRY_COMPARE(e.url()->selectedText(), u"http://alfa.cz/"_s);
    }
};

QTEST_MAIN(tst_frmEdit)
#include "tst_frmEdit.moc"
