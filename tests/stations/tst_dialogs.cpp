// The station editor, the settings, the list chooser and the title history, with mouse and keys.
#include "support/Accessibility.h"
#include "support/FakePlayer.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolder.h"

#include "base/ProcessState.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/StationFile.h"
#include "stations/StationListView.h"
#include "stations/TitleHistory.h"
#include "stations/frmEdit.h"
#include "stations/frmHistory.h"
#include "stations/frmSList.h"
#include "stations/frmSetting.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QByteArray ThreeStations = StationBytes("Alfa", "http://alfa.cz/", "255") +
                                 StationBytes("Beta", "http://beta.cz/", "0", "1", "1") +
                                 StationBytes("Gama", "http://gama.cz/", "0", "0") + "\r\n";

// One dialog over a temporary folder, scripted prompts and player; every control named on opening.
struct Fixture
{
    TestFolder folder;
    ScriptedPrompts prompts;
    FakePlayer player;
    int refills = 0;
    std::unique_ptr<QDialog> dialog;

    template <typename Dialog, typename... Args> void open(Args&&... args)
    {
        if constexpr (std::is_constructible_v<Dialog, Args...>) // it changes no list
            dialog = std::make_unique<Dialog>(std::forward<Args>(args)...);
        else
            dialog = std::make_unique<Dialog>(std::forward<Args>(args)..., [this] { ++refills; });
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        QCOMPARE(NamelessControls(dialog.get()).join(u", "), QString());
    }
    void openEditor(const QByteArray& list)
    {
        setStationFilePath(folder.write(u"list.ksl"_s, list));
        open<frmEdit>(player, prompts);
    }
    void openSettings() { open<frmSetting>(folder.settings(), prompts, folder.path()); }
    void openChooser()
    {
        folder.write(u"rock.KSL"_s, StationBytes("Rock FM", "http://rock/") + "\r\n");
        folder.write(u"czech.ksl"_s, StationBytes("Dvojka", "http://dvojka/") + "\r\n");
        folder.write(u"notes.txt"_s, "not a list");
        setStationFilePath(u"/before.ksl"_s);
        open<frmSList>(folder.settings(), std::bind_front(&UserPrompts::Exclamation, &prompts),
                       folder.path());
    }
    template <typename T = QPushButton> T* get(const QString& n) const
    {
        return dialog->findChild<T*>(n);
    }
    void press(const QString& n) const { QTest::mouseClick(get(n), Qt::LeftButton); }
    QString selected() const { return static_cast<frmEdit*>(dialog.get())->SelectedStationUrl(); }
    QLineEdit* name() const { return get<QLineEdit>(u"Text1"_s); }
    QLineEdit* url() const { return get<QLineEdit>(u"Text2"_s); }
    QCheckBox* check(int n) const { return get<QCheckBox>(u"Check%1"_s.arg(n)); }
    QTreeWidget* list() const { return dialog->findChild<QTreeWidget*>(); }
    QString count() const { return get<QLabel>(u"lblCount"_s)->text(); }
    quint32 swatch() const { return get(u"Command4"_s)->property("BackColor").toUInt(); }
    QTreeWidgetItem* entry(const QString& s) const { return list()->findItems(s, {}).value(0); }
    QPoint at(const QString& s) const { return list()->visualItemRect(entry(s)).center(); }
    void click(const QString& s, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, at(s));
    }
    // Clicks into a field, which selects its text, and types over it key by key or pastes.
    static void type(QLineEdit* field, const QString& text, bool paste = false)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        QCoreApplication::processEvents();
        if (paste) {
            QGuiApplication::clipboard()->setText(text);
            return QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        }
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
    }
    // Types or pastes the URL, then the name, and saves by a click or by Alt+U, which leaves the
    // focus in the name field; a null text leaves its field alone.
    void save(const QString& n = {}, const QString& u = {}, bool accessKey = false,
              bool paste = false) const
    {
        if (!u.isNull())
            type(url(), u, paste);
        if (!n.isNull())
            type(name(), n, paste);
        if (!accessKey)
            return press(u"Command1"_s);
        QSignalSpy clicked(get(u"Command1"_s), &QPushButton::clicked);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::AltModifier);
        clicked.wait(1000); // the access key holds the button down a moment
    }
    QByteArray file() const { return folder.read(u"list.ksl"_s); }
    // A setting as the settings file holds it now, not as this process caches it; null if none.
    QString onDisk(const QString& key) const
    {
        const QString text = u'\n' + QString::fromUtf8(folder.read(folder.settingsFile()));
        const qsizetype at = text.indexOf(u'\n' + key + u'=');
        return at < 0 ? QString() : text.mid(at + key.size() + 2).section(u'\n', 0, 0);
    }
};

} // namespace

class tst_Dialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editorSavesDeletesPlaysAndKeepsWhatItCannotShow()
    {
        Fixture e;
        e.openEditor(ThreeStations);
        e.click(u"Alfa"_s);
        QVERIFY(e.name()->text() == u"Alfa"_s && e.url()->text() == u"http://alfa.cz/"_s);
        QVERIFY(e.swatch() == 255u && e.check(2)->isChecked() && !e.get(u"Check1"_s)->isChecked());
        e.click(u"Gama"_s);
        QVERIFY(!e.check(2)->isChecked());
        // Delete asks first; No keeps the station.
        e.prompts.yesNoAnswers = {false, true};
        e.press(u"Command3"_s);
        QCOMPARE(e.prompts.asked.last(), u"question: Opravdu chcete smazat vybranou stanici?"_s);
        QCOMPARE(e.file(), ThreeStations);
        e.press(u"Command3"_s);
        QVERIFY(!e.file().contains("gama") && e.count() == u"Celkem 2 stanice"_s);

        Fixture::type(e.url(), u"http://stream.cz/a"_s);
        QTest::keyClick(e.url(), Qt::Key_Return); // Enter in a field presses no button
        e.press(u"cmdPlay"_s);
        e.press(u"cmdStop"_s);
        QCOMPARE(e.player.calls,
                 (QStringList{u"setURL http://stream.cz/a"_s, u"play"_s, u"stop"_s}));

        // A new station with a colour; the name is trimmed also when Alt+U saves with the focus
        // still in it, the URL is not; the fields are emptied for the next one.
        e.press(u"Check1"_s);
        e.prompts.colorAnswers = {QColor(0, 0, 255)};
        e.press(u"Command4"_s);
        e.save(u"  Delta  "_s, u" http://delta.cz/"_s, true);
        QVERIFY(e.file().endsWith(StationBytes("Delta", " http://delta.cz/", "16711680", "1", "1") +
                                  "\r\n"));
        QVERIFY(e.count() == u"Celkem 3 stanice"_s && e.name()->text().isEmpty() && !e.swatch());

        // The same URL in other case rewrites the record; a changed name is trimmed.
        e.click(u"Beta"_s);
        e.save(u" Beta Nová "_s, u"http://BETA.cz/"_s);
        QVERIFY(e.file().contains(StationBytes("Beta Nov\xE1", "http://BETA.cz/", "0", "1", "1")));
        QVERIFY(!e.file().contains("http://beta.cz/") && e.selected().isEmpty());

        // A new URL renames the station in its place.
        e.click(u"Alfa"_s);
        QTest::mouseClick(e.check(2), Qt::LeftButton);
        e.save({}, u"http://alfa2.cz/"_s);
        QVERIFY(e.file().startsWith(StationBytes("Alfa", "http://alfa2.cz/", "255", "0", "0")));

        // Values the fields and the swatch cannot hold or show: long texts, bits above blue, a
        // system colour, blanks around a name.
        const QByteArray longName = "Dlouh\xE1 " + QByteArray(300, 'n');
        const QByteArray longOne =
            StationBytes(longName, "http://long.cz/" + QByteArray(300, 'u'), "16777471");
        e.prompts.asked.clear();
        e.openEditor(longOne + StationBytes("  Spaced  ", "http://s/", "-2147483640") + "\r\n");
        e.click(QString::fromLatin1(longName));
        e.save({}, {}, true);
        e.click(u"  Spaced  "_s);
        e.press(u"Check1"_s);
        e.save();
        QCOMPARE(e.file(), longOne +
                               StationBytes("  Spaced  ", "http://s/", "-2147483640", "1", "1") +
                               "\r\n");

        e.openEditor(ThreeStations);
        const QString failed = u"exclamation: "_s + StationFileWriteErrorMessage(StationFilePath());
        {
            // A failed write is told, the list and the input stay, the editor goes on.
            DiskFull full;
            e.click(u"Alfa"_s);
            e.prompts.yesNoAnswers = {true};
            e.press(u"Command3"_s); // delete
            e.press(u"Command5"_s);
            e.save(u"Delta"_s, u"http://delta.cz/"_s);
            QCOMPARE(e.prompts.asked.mid(1), (QStringList{failed, failed}));
            QVERIFY(e.name()->text() == u"Delta"_s && e.file() == ThreeStations);
        }

        // An existing file of that name is emptied and becomes the current list; the selection
        // survives, and saving adds the station that is not in the new file.
        e.click(u"Beta"_s);
        const QString other = e.folder.write(u"other.ksl"_s, StationBytes("X", "http://x/"));
        e.prompts.fileAnswers = {other};
        e.press(u"cmdNewFile"_s);
        QCOMPARE(e.prompts.asked.mid(3), QStringList{u"save: Nový soubor se seznamem stanic"_s});
        QVERIFY(StationFilePath() == other && e.count() == u"Žádné stanice"_s);
        e.save();
        QCOMPARE(e.folder.read(u"other.ksl"_s),
                 StationBytes("Beta", "http://beta.cz/", "0", "1", "1") + "\r\n");
        QCOMPARE(e.file(), ThreeStations);
    }

    void editorRefusals()
    {
        const QString exists = u"Stanice s touto URL již existuje!"_s;
        const QString control = u" stanice nesmí obsahovat tabulátory, konce řádků ani jiné "
                                u"řídicí znaky!"_s;
        // Pasted text is refused like typed text: reading drops tabs and CR LF, so the tags they
        // split would plant a station.
        const QString planted =
            u"</station\turl></radio\tstation><radio\tstation><station\tname>F"_s;
        const std::tuple<QString, QString, QString, QString, bool> cases[] = {
            {{}, u"   "_s, u"http://x/"_s, u"Název stanice musí obsahovat minimálně"_s, false},
            {{}, u"Nová"_s, {}, u"URL stanice musí obsahovat"_s, false},
            {{}, u"Nová"_s, u"HTTP://Beta.CZ/"_s, exists, false},
            {u"Alfa"_s, u"Alfa"_s, u"http://gama.cz/"_s, exists, false},
            {{}, planted, u"http://new.cz/"_s, u"Název"_s + control, true},
            {{}, u"Nová"_s, u"http://new.cz/\r\nx"_s, u"URL"_s + control, true},
        };
        for (const auto& [select, name, url, message, paste] : cases) {
            Fixture e;
            e.openEditor(ThreeStations);
            if (!select.isEmpty())
                e.click(select);
            e.save(name, url, !paste, paste); // typed texts saved by Alt+U, pasted ones by a click
            QCOMPARE(e.prompts.asked.size(), 1);
            QVERIFY2(e.prompts.asked[0].contains(message), qPrintable(e.prompts.asked[0]));
            // A refused URL keeps the focus in its field, a refused name in its own.
            QCOMPARE(QApplication::focusWidget(),
                     message.startsWith(u"URL"_s) ? e.url() : e.name());
            QVERIFY(e.file() == ThreeStations && e.selected().isEmpty() == select.isEmpty());
        }
    }

    void settingsCloseStoresNothingSaveStoresOnDiskAndShows()
    {
        Fixture s;
        setStationFilePath(u"/somewhere/czech.ksl"_s);
        s.openSettings();
        QTest::mouseClick(s.check(1), Qt::LeftButton);
        s.press(u"Command1"_s);
        QVERIFY(!s.dialog->isVisible() && !MinimizeToTray() && s.onDisk(u"MinTray"_s).isNull());
        QCOMPARE(StationFilePath(), u"/somewhere/czech.ksl"_s);

        // The first run shows the defaults; saved, they are on disk already, where a second
        // running copy of the program reads them.
        s.openSettings();
        QVERIFY(!s.check(1)->isChecked() && !s.check(2)->isChecked());
        const QString defaultList = s.folder.filePath(u"stations.ksl"_s);
        QTest::keyClicks(s.get<QLineEdit>(u"txtText1"_s), u"x"_s); // read only: browse sets it
        QCOMPARE(s.get<QLineEdit>(u"txtText1"_s)->text(), defaultList);
        QTest::mouseClick(s.check(2), Qt::LeftButton);
        s.press(u"Command2"_s);
        QVERIFY(!s.dialog->isVisible() && !MinimizeToTray() && AnimateTrayIcon());
        QVERIFY(s.onDisk(u"MinTray"_s) == u"0"_s && s.onDisk(u"AniIco"_s) == u"1"_s);
        QVERIFY(s.onDisk(u"StationFile"_s) == defaultList && StationFilePath() == defaultList);

        // The reopened dialog shows what was saved; browse fills the path unless cancelled.
        s.openSettings();
        QVERIFY(s.check(2)->isChecked());
        s.press(u"cmd"_s); // cancelled
        QCOMPARE(s.get<QLineEdit>(u"txtText1"_s)->text(), defaultList);
        const QString longPath = u"/elsewhere/"_s + QString(1000, u'j'); // outgrows a full disk
        s.prompts.fileAnswers = {longPath};
        s.press(u"cmd"_s);
        s.press(u"Command2"_s);
        QVERIFY(StationFilePath() == longPath && s.onDisk(u"StationFile"_s) == longPath);

        // A greyed box is saved greyed and turns no flag on; a word reads unchecked.
        SaveSetting(s.folder.settings(), u"MinTray"_s, u"yes"_s);
        SaveSetting(s.folder.settings(), u"AniIco"_s, u"2"_s);
        s.openSettings();
        QCOMPARE(s.check(2)->checkState(), Qt::PartiallyChecked);
        s.press(u"Command2"_s);
        QVERIFY(s.onDisk(u"AniIco"_s) == u"2"_s && s.onDisk(u"MinTray"_s) == u"0"_s &&
                !AnimateTrayIcon());

        // A failed write is told; the values hold for this run and for the next write.
        {
            DiskFull full(500); // room for the lock file, not for the settings
            s.openSettings();
            QTest::mouseClick(s.check(1), Qt::LeftButton);
            s.press(u"Command2"_s);
            QCOMPARE(s.prompts.asked.last(),
                     u"exclamation: "_s + SettingsWriteErrorMessage(s.folder.settingsFile()));
            QVERIFY(!s.dialog->isVisible() && MinimizeToTray() && s.onDisk(u"MinTray"_s) == u"0"_s);
        }
        QVERIFY(s.folder.settings().sync());
        QCOMPARE(s.onDisk(u"MinTray"_s), u"1"_s);
    }

    void chooserLoadsTheChosenListAndHistoryShowsCopiesAndClears()
    {
        Fixture c;
        c.openChooser();
        // Titles from the file names, sorted; files of other kinds are left out.
        QCOMPARE(c.list()->topLevelItemCount(), 2);
        QVERIFY(c.list()->topLevelItem(0)->text(0) == u"Czech"_s &&
                c.list()->topLevelItem(1)->text(1) == u"rock.KSL"_s);
        // A double click as the platform delivers it: press, release, double click, release.
        c.click(u"Rock"_s);
        QTest::mouseDClick(c.list()->viewport(), Qt::LeftButton, {}, c.at(u"Rock"_s));
        QTest::mouseRelease(c.list()->viewport(), Qt::LeftButton, {}, c.at(u"Rock"_s));
        QCOMPARE(c.refills, 0); // the load waits for the timer
        QTRY_VERIFY(!c.dialog->isVisible());
        // On disk when the chooser has closed, where a second running copy sees it.
        const QString rock = c.folder.filePath(u"rock.KSL"_s);
        QVERIFY(c.onDisk(SettingsKeys::StationFile) == rock && StationFilePath() == rock);
        QVERIFY(c.refills == 1 && c.prompts.asked.isEmpty());

        // Enter loads the selected entry, not one a Ctrl+click has unselected.
        c.openChooser();
        c.click(u"Rock"_s, Qt::ControlModifier);
        c.click(u"Rock"_s, Qt::ControlModifier);
        QVERIFY(c.list()->currentItem() && !c.list()->currentItem()->isSelected());
        QTest::keyClick(c.list(), Qt::Key_Return);
        QVERIFY(!c.get<QTimer>(u"Timer1"_s)->isActive());
        c.click(u"Czech"_s);
        QTest::keyClick(c.list(), Qt::Key_Return);
        QTRY_VERIFY(!c.dialog->isVisible());
        QCOMPARE(StationFilePath(), c.folder.filePath(u"czech.ksl"_s));

        TitleHistory history(c.folder.filePath(u"historie.txt"_s));
        const QDate day(2026, 12, 7);
        history.add(QDateTime(day, QTime(15, 4, 5)), u"Dvojka"_s, u"Píseň <b>jedna</b>"_s);
        history.add(QDateTime(day.addDays(1), QTime(8, 0)), u"Dvojka"_s, u"Třetí"_s);
        c.open<frmHistory>(history, c.prompts);
        QTreeWidget* list = c.list();
        QClipboard* clipboard = QGuiApplication::clipboard();

        // Picked oldest first, copied as the list shows them; a double click copies its entry.
        c.click(u"7. 12. 2026 15:04:05"_s);
        c.click(u"8. 12. 2026 8:00:00"_s, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), u"Dvojka – Třetí\nDvojka – Píseň <b>jedna</b>"_s);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, c.at(u"8. 12. 2026 8:00:00"_s));
        QCOMPARE(clipboard->text(), u"Dvojka – Třetí"_s);

        // Clearing asks first; No keeps the history.
        c.prompts.yesNoAnswers = {false, true};
        c.press(u"cmdClear"_s);
        QVERIFY(list->topLevelItemCount() == 2 && history.entries().size() == 2);
        c.press(u"cmdClear"_s);
        QVERIFY(list->topLevelItemCount() == 0 && history.entries().isEmpty());
        QCOMPARE(c.prompts.asked,
                 QStringList(2, u"question: Opravdu vymazat celou historii skladeb?"_s));

        // A damaged file is told on opening.
        c.folder.write(u"historie.txt"_s, "cizí soubor");
        c.open<frmHistory>(history, c.prompts);
        QVERIFY(c.prompts.asked.last().startsWith(u"exclamation: Soubor historie skladeb"_s));
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
