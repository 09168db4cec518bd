#include "support/FakePlayer.h"
#include "support/ScriptedPrompts.h"
#include "support/SmallDisk.h"
#include "support/TestFolder.h"

#include "base/ProcessState.h"
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
#include <QPushButton>
#include <QSignalSpy>
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
    QString listPath = folder.write(u"list.ksl"_s, ThreeStations + "\r\n");
    std::unique_ptr<frmEdit> dialog;

    Editor()
    {
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
        return dialog->findChild<T*>(name);
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
        return list()->findItems(stationName, Qt::MatchExactly, 0).value(0);
    }
    // Clicks an entry the way the user does.
    void clickEntry(const QString& stationName) const
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(entry(stationName)).center());
    }
    void fill(const QString& stationName, const QString& stationUrl) const
    {
        name()->setText(stationName);
        url()->setText(stationUrl);
    }
    // Clicks into a field, which selects its text, and types over it key by key.
    static void type(QLineEdit* field, const QString& text)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        QCoreApplication::processEvents();
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
    }
    enum Way
    {
        Click,
        AccessKey, // Alt+U, the focus stays where it is
    };
    void save(Way way) const
    {
        auto* button = child<QPushButton>(u"Command1"_s);
        if (way == Click) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
        // The access key presses the button for a moment before it clicks.
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::AltModifier);
        clicked.wait(1000);
    }
    QByteArray file() const { return folder.read(u"list.ksl"_s); }
};

} // namespace

class tst_frmEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selectingAnEntryFillsTheFieldsAndColourCancel()
    {
        Editor e;
        QCOMPARE(e.count(), u"Celkem 3 stanice"_s);
        e.clickEntry(u"Alfa"_s);
        QCOMPARE(e.dialog->SelectedStationUrl(), u"http://alfa.cz/"_s);
        QCOMPARE(e.name()->text(), u"Alfa"_s);
        QCOMPARE(e.url()->text(), u"http://alfa.cz/"_s);
        QCOMPARE(e.swatch(), 255u);
        QVERIFY(e.child<QCheckBox>(u"Check2"_s)->isChecked());
        e.clickEntry(u"Beta"_s);
        QVERIFY(e.child<QPushButton>(u"Check1"_s)->isChecked());
        e.clickEntry(u"Gama"_s);
        QVERIFY(!e.child<QCheckBox>(u"Check2"_s)->isChecked());

        // Cancel takes the colour last returned: black before any pick.
        e.clickEntry(u"Alfa"_s);
        e.press(u"Command4"_s);
        QCOMPARE(e.swatch(), 0u);
        e.prompts.colorAnswers = {QColor(0, 128, 0)};
        e.press(u"Command4"_s);
        e.clickEntry(u"Alfa"_s);
        e.press(u"Command4"_s);
        QCOMPARE(e.swatch(), 0x008000u);
    }

    void saveRefusals()
    {
        struct Case
        {
            const char* what;
            QString select, name, url, message;
            bool focusOnUrl;
            Editor::Way way = Editor::Click;
        };
        const QString noName = u"Název stanice musí obsahovat minimálně jeden znak!"_s;
        const QString exists = u"Stanice s touto URL již existuje!"_s;
        const Case cases[] = {
            {"no name", {}, {}, u"http://x/"_s, noName, false},
            {"name of spaces", {}, u"   "_s, u"http://x/"_s, noName, false},
            {"name of spaces, Alt+U",
             {},
             u"   "_s,
             u"http://x/"_s,
             noName,
             false,
             Editor::AccessKey},
            {"stored name of spaces, Alt+U", u"   "_s, {}, {}, noName, false, Editor::AccessKey},
            {"no URL",
             {},
             u"Nová"_s,
             {},
             u"URL stanice musí obsahovat minimálně jeden znak!"_s,
             true},
            // The focus stays where it was, in the name typed last.
            {"URL in other case",
             {},
             u"Nová"_s,
             u"HTTP://Beta.CZ/"_s,
             exists,
             false,
             Editor::AccessKey},
            {"other station's URL", u"Alfa"_s, u"Alfa"_s, u"http://gama.cz/"_s, exists, false,
             Editor::AccessKey},
            {"Windows-1250", {}, u"Радио"_s, u"http://radio.ru/"_s, u"Windows-1250"_s, false},
            {"tag", {}, u"Rock</StationName>"_s, u"http://rock.cz/"_s, u"</stationname>"_s, false},
            {"tag in URL", u"Alfa"_s, u"Alfa"_s, u"http://a.cz/<RadioStation>"_s, u"URL stanice"_s,
             true},
        };
        const QByteArray before =
            ThreeStations + StationBytes("   ", "http://blank.cz/", "0", "0") + "\r\n";
        for (const Case& c : cases) {
            Editor e;
            e.folder.write(u"list.ksl"_s, before);
            e.open();
            if (!c.select.isEmpty())
                e.clickEntry(c.select);
            // The name last: the access key saves with the focus still in it.
            if (!c.url.isNull())
                Editor::type(e.url(), c.url);
            if (!c.name.isNull())
                Editor::type(e.name(), c.name);
            e.save(c.way);
            QVERIFY2(e.prompts.asked.size() == 1 && e.prompts.asked[0].contains(c.message), c.what);
            QVERIFY2(QApplication::focusWidget() == (c.focusOnUrl ? e.url() : e.name()), c.what);
            QVERIFY2(e.file() == before, c.what);
            QVERIFY2(e.dialog->SelectedStationUrl().isEmpty() == c.select.isEmpty(), c.what);
        }
    }

    void savesThatWrite()
    {
        // A new station with a colour; the fields are emptied for the next one. The name is
        // trimmed also when the access key saves with the focus still in it; the URL is not.
        Editor e;
        e.child<QPushButton>(u"Check1"_s)->setChecked(true);
        e.prompts.colorAnswers = {QColor(0, 0, 255)};
        e.press(u"Command4"_s);
        Editor::type(e.url(), u" http://delta.cz/"_s);
        Editor::type(e.name(), u"  Delta  "_s);
        e.save(Editor::AccessKey);
        QVERIFY(e.file().endsWith(StationBytes("Delta", " http://delta.cz/", "16711680", "1", "1") +
                                  "\r\n"));
        QCOMPARE(e.count(), u"Celkem 4 stanice"_s);
        QVERIFY(e.name()->text().isEmpty());
        QCOMPARE(e.swatch(), 0u);

        // The same URL in other case rewrites the record.
        e.clickEntry(u"Beta"_s);
        e.fill(u"Beta Nová"_s, u"http://BETA.cz/"_s);
        e.press(u"Command1"_s);
        QVERIFY(e.file().contains(StationBytes("Beta Nov\xE1", "http://BETA.cz/", "0", "1", "1")));
        QVERIFY(!e.file().contains("http://beta.cz/"));
        QVERIFY(e.dialog->SelectedStationUrl().isEmpty());

        // A new URL renames the station in its place; a hidden one stays in the editor only.
        e.clickEntry(u"Alfa"_s);
        e.url()->setText(u"http://alfa2.cz/"_s);
        e.child<QCheckBox>(u"Check2"_s)->setChecked(false);
        e.press(u"Command1"_s);
        QVERIFY(e.file().startsWith(StationBytes("Alfa", "http://alfa2.cz/", "255", "0", "0")));
        QCOMPARE(e.count(), u"Celkem 4 stanice"_s);
        QCOMPARE(e.entry(u"Alfa"_s)->data(0, StationVisibleRole).toBool(), false);
        QCOMPARE(StationListEntries(ReadStationFile(e.listPath), StationFilter::VisibleOnly).size(),
                 2); // Beta and Delta; Gama was hidden already
        QCOMPARE(e.prompts.asked, QStringList{u"color"_s});
    }

    void whatTheUserLeavesAloneIsSavedAsStored()
    {
        // Values the fields and the swatch cannot hold or show: long texts, a system colour,
        // a value with bits above blue, blanks around a name.
        const QByteArray longName = "Dlouh\xE1 " + QByteArray(300, 'n');
        const QByteArray longUrl = "http://long.cz/" + QByteArray(300, 'u');
        struct Case
        {
            const char* what;
            QByteArray name, url, colour;
            bool pressBold, pickColour;
            Editor::Way way;
        };
        const Case cases[] = {
            {"untouched, Alt+U", longName, longUrl, "-2147483640", false, false, Editor::AccessKey},
            {"bold changed", "  Spaced  ", longUrl, "16777471", true, false, Editor::Click},
            {"colour changed", longName, longUrl, "-2147483640", false, true, Editor::Click},
        };
        for (const Case& c : cases) {
            Editor e;
            const QByteArray other = StationBytes("Alfa", "http://alfa.cz/", "255");
            e.folder.write(u"list.ksl"_s, StationBytes(c.name, c.url, c.colour) + other + "\r\n");
            e.open();
            e.clickEntry(QString::fromLatin1(c.name));
            if (c.pressBold)
                QTest::mouseClick(e.child<QPushButton>(u"Check1"_s), Qt::LeftButton);
            if (c.pickColour) {
                e.prompts.colorAnswers = {QColor(0, 0, 255)};
                QTest::mouseClick(e.child<QPushButton>(u"Command4"_s), Qt::LeftButton);
            }
            e.save(c.way);
            QVERIFY2(e.prompts.asked.size() == (c.pickColour ? 1 : 0), c.what);
            const QByteArray colour = c.pickColour ? "16711680" : c.colour;
            QVERIFY2(e.file() == StationBytes(c.name, c.url, colour, "1", c.pressBold ? "1" : "0") +
                                     other + "\r\n",
                     c.what);
        }

        // The length limit holds for what is typed, also after a long station was shown.
        Editor e;
        e.folder.write(u"list.ksl"_s, StationBytes(longName, longUrl) + "\r\n");
        e.open();
        e.clickEntry(QString::fromLatin1(longName));
        e.press(u"Command5"_s);
        Editor::type(e.url(), QString(260, u'x'));
        QCOMPARE(e.url()->text().size(), 250);
    }

    void newListAndAVanishedStation()
    {
        Editor e;
        e.press(u"cmdNewFile"_s); // cancelled
        QCOMPARE(e.prompts.asked, QStringList{u"save: Nový soubor se seznamem stanic"_s});
        QCOMPARE(StationFilePath(), e.listPath);

        // An existing file of that name is emptied and becomes the current list; the fields and
        // the selection survive, and saving adds the station that is not in the new file.
        e.clickEntry(u"Beta"_s);
        const QString other = e.folder.write(u"other.ksl"_s, StationBytes("X", "http://x/"));
        e.prompts.fileAnswers = {other};
        e.press(u"cmdNewFile"_s);
        QCOMPARE(StationFilePath(), other);
        QCOMPARE(e.count(), u"Žádné stanice"_s);
        e.press(u"Command1"_s);
        QCOMPARE(e.folder.read(u"other.ksl"_s),
                 StationBytes("Beta", "http://beta.cz/", "0", "1", "1") + "\r\n");
        QCOMPARE(e.file(), ThreeStations + "\r\n");
        e.press(u"Command2"_s);
        QCOMPARE(e.refills, 1);
    }

    void deleteAndReopen()
    {
        Editor e;
        e.press(u"Command3"_s); // nothing selected
        QVERIFY(e.prompts.asked.isEmpty());
        e.clickEntry(u"Gama"_s);
        e.prompts.yesNoAnswers = {false, true};
        e.press(u"Command3"_s);
        QCOMPARE(e.prompts.asked,
                 QStringList{u"question: Opravdu chcete smazat vybranou stanici?"_s});
        QCOMPARE(e.file(), ThreeStations + "\r\n");
        e.press(u"Command3"_s);
        QVERIFY(!e.file().contains("gama"));
        QCOMPARE(e.count(), u"Celkem 2 stanice"_s);
        QVERIFY(e.dialog->SelectedStationUrl().isEmpty());

        // Escape closes from any control and refills; the reopened editor starts empty.
        e.clickEntry(u"Alfa"_s);
        QTest::keyClick(e.url(), Qt::Key_Escape);
        QVERIFY(!e.dialog->isVisible());
        QCOMPARE(e.refills, 1);
        e.open();
        QVERIFY(e.dialog->SelectedStationUrl().isEmpty() && e.name()->text().isEmpty());
    }

    void aFailedWriteIsShownAndTheFileStays()
    {
        Editor e;
        Unwritable guard(e.listPath);
        if (!guard.ok())
            QSKIP("cannot make a file unwritable here");
        const QString failed = u"exclamation: "_s + StationFileWriteErrorMessage(e.listPath);
        e.fill(u"Delta"_s, u"http://delta.cz/"_s);
        e.press(u"Command1"_s);
        QCOMPARE(e.prompts.asked, QStringList{failed});
        QCOMPARE(e.name()->text(), u"Delta"_s); // the input is not lost
        e.clickEntry(u"Alfa"_s);
        e.prompts.yesNoAnswers = {true};
        e.press(u"Command3"_s);
        QCOMPARE(e.prompts.asked.last(), failed);
        QCOMPARE(e.file(), ThreeStations + "\r\n");
        QCOMPARE(e.count(), u"Celkem 3 stanice"_s);
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
        e.press(u"cmdPlay"_s); // no URL: nothing
        e.url()->setText(u"http://stream.cz/a"_s);
        e.press(u"cmdPlay"_s);
        e.press(u"cmdStop"_s);
        QCOMPARE(e.player.calls,
                 (QStringList{u"setURL http://stream.cz/a"_s, u"play"_s, u"stop"_s}));
    }
};

QTEST_MAIN(tst_frmEdit)
#include "tst_frmEdit.moc"
