#include "support/FakePlayer.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolder.h"

#include "base/ProcessState.h"
#include "stations/StationFile.h"
#include "stations/StationListView.h"
#include "stations/frmEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QByteArray ThreeStations = StationBytes("Alfa", "http://alfa.cz/", "255") +
                                 StationBytes("Beta", "http://beta.cz/", "0", "1", "1") +
                                 StationBytes("Gama", "http://gama.cz/", "0", "0") + "\r\n";

// An editor over a list file of a temporary folder, with scripted prompts and player.
struct Editor
{
    TestFolder folder;
    ScriptedPrompts prompts;
    FakePlayer player;
    int refills = 0;
    QString listPath;
    std::unique_ptr<frmEdit> dialog;

    explicit Editor(const QByteArray& list = ThreeStations)
        : listPath(folder.write(u"list.ksl"_s, list))
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
    QPushButton* button(QString n) const { return dialog->findChild<QPushButton*>(n); }
    QLineEdit* name() const { return dialog->findChild<QLineEdit*>(u"Text1"_s); }
    QLineEdit* url() const { return dialog->findChild<QLineEdit*>(u"Text2"_s); }
    QCheckBox* visible() const { return dialog->findChild<QCheckBox*>(u"Check2"_s); }
    QTreeWidget* list() const { return dialog->findChild<QTreeWidget*>(u"ListView1"_s); }
    QString count() const { return dialog->findChild<QLabel*>(u"lblCount"_s)->text(); }
    quint32 swatch() const { return button(u"Command4"_s)->property("BackColor").toUInt(); }
    void press(const QString& name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    auto* entry(QString s) const { return list()->findItems(s, Qt::MatchExactly).value(0); }
    void clickEntry(const QString& station) const
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(entry(station)).center());
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
    // Types the URL, then the name, and saves by a click or by Alt+U, which leaves the focus
    // in the name field; a null text leaves its field alone.
    void save(const QString& n = {}, const QString& u = {}, bool accessKey = false) const
    {
        if (!u.isNull())
            type(url(), u);
        if (!n.isNull())
            type(name(), n);
        if (!accessKey)
            return press(u"Command1"_s);
        QSignalSpy clicked(button(u"Command1"_s), &QPushButton::clicked);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::AltModifier);
        clicked.wait(1000); // the access key holds the button down a moment
    }
    QByteArray file() const { return folder.read(u"list.ksl"_s); }
};

} // namespace

class tst_frmEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selectSaveDeletePlayAndClose()
    {
        Editor e;
        e.clickEntry(u"Alfa"_s);
        QVERIFY(e.name()->text() == u"Alfa"_s && e.url()->text() == u"http://alfa.cz/"_s);
        QVERIFY(e.swatch() == 255u && e.visible()->isChecked() &&
                !e.button(u"Check1"_s)->isChecked());
        e.clickEntry(u"Beta"_s);
        QVERIFY(e.button(u"Check1"_s)->isChecked());
        e.clickEntry(u"Gama"_s);
        QVERIFY(!e.visible()->isChecked());

        // Cancelling the colour dialog takes the colour it last returned.
        e.prompts.colorAnswers = {QColor(0, 128, 0)};
        e.press(u"Command4"_s);
        e.clickEntry(u"Alfa"_s);
        e.press(u"Command4"_s);
        QCOMPARE(e.swatch(), 0x008000u);

        // Delete asks first; No keeps the station.
        e.press(u"Command5"_s);
        e.press(u"Command3"_s); // nothing selected
        QCOMPARE(e.prompts.asked, (QStringList{u"color"_s, u"color"_s}));
        e.clickEntry(u"Gama"_s);
        e.prompts.yesNoAnswers = {false, true};
        e.press(u"Command3"_s);
        QCOMPARE(e.prompts.asked.last(), u"question: Opravdu chcete smazat vybranou stanici?"_s);
        QCOMPARE(e.file(), ThreeStations);
        e.press(u"Command3"_s);
        QVERIFY(!e.file().contains("gama"));
        QCOMPARE(e.count(), u"Celkem 2 stanice"_s);

        // Test play needs a URL.
        e.press(u"cmdPlay"_s);
        Editor::type(e.url(), u"http://stream.cz/a"_s);
        QTest::keyClick(e.url(), Qt::Key_Return); // Enter in a field presses no button
        e.press(u"cmdPlay"_s);
        e.press(u"cmdStop"_s);
        QCOMPARE(e.player.calls,
                 (QStringList{u"setURL http://stream.cz/a"_s, u"play"_s, u"stop"_s}));

        // Escape closes from any control and refills; the reopened editor starts empty.
        e.clickEntry(u"Alfa"_s);
        QTest::keyClick(e.url(), Qt::Key_Escape);
        QVERIFY(!e.dialog->isVisible());
        QCOMPARE(e.refills, 1);
        e.open();
        QVERIFY(e.dialog->SelectedStationUrl().isEmpty() && e.name()->text().isEmpty());

        // A new station with a colour; the name is trimmed also when Alt+U saves with the focus
        // still in it, the URL is not; the fields are emptied for the next one.
        e.press(u"Check1"_s);
        e.prompts.colorAnswers = {QColor(0, 0, 255)};
        e.press(u"Command4"_s);
        e.save(u"  Delta  "_s, u" http://delta.cz/"_s, true);
        QVERIFY(e.file().endsWith(StationBytes("Delta", " http://delta.cz/", "16711680", "1", "1") +
                                  "\r\n"));
        QCOMPARE(e.count(), u"Celkem 3 stanice"_s);
        QVERIFY(e.name()->text().isEmpty() && e.swatch() == 0u);

        // The same URL in other case rewrites the record; a changed name is trimmed.
        e.clickEntry(u"Beta"_s);
        e.save(u" Beta Nová "_s, u"http://BETA.cz/"_s);
        QVERIFY(e.file().contains(StationBytes("Beta Nov\xE1", "http://BETA.cz/", "0", "1", "1")));
        QVERIFY(!e.file().contains("http://beta.cz/"));
        QVERIFY(e.dialog->SelectedStationUrl().isEmpty());

        // A new URL renames the station in its place; a hidden one stays in the editor only.
        e.clickEntry(u"Alfa"_s);
        QTest::mouseClick(e.visible(), Qt::LeftButton);
        e.save({}, u"http://alfa2.cz/"_s);
        QVERIFY(e.file().startsWith(StationBytes("Alfa", "http://alfa2.cz/", "255", "0", "0")));
        QVERIFY(!e.entry(u"Alfa"_s)->data(0, StationVisibleRole).toBool());
        QCOMPARE(e.prompts.asked.size(), 5); // no refusal
    }

    void saveRefusals()
    {
        const QString noName = u"Název stanice musí obsahovat minimálně jeden znak!"_s;
        const QString exists = u"Stanice s touto URL již existuje!"_s;
        const QString x = u"http://x/"_s;
        struct Case
        {
            QString select, name, url, message; // a refused URL keeps the focus in its field
            bool accessKey;
        };
        const Case cases[] = {
            {{}, u"   "_s, x, noName, true},
            {u"   "_s, {}, {}, noName, true}, // a stored name of spaces
            {{}, u"Nová"_s, {}, u"URL stanice musí obsahovat"_s, false},
            {{}, u"Nová"_s, u"HTTP://Beta.CZ/"_s, exists, true},
            {u"Alfa"_s, u"Alfa"_s, u"http://gama.cz/"_s, exists, true},
            {{}, u"Радио"_s, x, u"Název stanice obsahuje"_s, false},
            {u"Alfa"_s, u"Alfa"_s, u"http://a.cz/<RadioStation>"_s, u"URL stanice nesmí"_s, false},
        };
        const QByteArray before = ThreeStations + StationBytes("   ", "http://blank.cz/", "0", "0");
        for (const Case& c : cases) {
            Editor e(before);
            if (!c.select.isEmpty())
                e.clickEntry(c.select);
            e.save(c.name, c.url, c.accessKey);
            QCOMPARE(e.prompts.asked.size(), 1);
            QVERIFY2(e.prompts.asked[0].contains(c.message), qPrintable(e.prompts.asked[0]));
            QCOMPARE(QApplication::focusWidget(),
                     c.message.startsWith(u"URL"_s) ? e.url() : e.name());
            QCOMPARE(e.file(), before);
            QCOMPARE(e.dialog->SelectedStationUrl().isEmpty(), c.select.isEmpty());
        }
    }

    void whatTheUserLeavesAloneIsSavedAsStored()
    {
        // Values the fields and the swatch cannot hold or show: long texts, a system colour,
        // bits above blue, blanks around a name.
        const QByteArray longName = "Dlouh\xE1 " + QByteArray(300, 'n');
        const QByteArray url = "http://long.cz/" + QByteArray(300, 'u');
        const QByteArray other = StationBytes("Alfa", "http://alfa.cz/", "255") + "\r\n";
        struct Case
        {
            QByteArray name, colour;
            bool changeBold, pickColour, accessKey;
        };
        const Case cases[] = {{longName, "-2147483640", false, false, true},
                              {"  Spaced  ", "16777471", true, false, false},
                              {longName, "-2147483640", false, true, false}};
        for (const Case& c : cases) {
            Editor e(StationBytes(c.name, url, c.colour) + other);
            e.clickEntry(QString::fromLatin1(c.name));
            if (c.changeBold)
                e.press(u"Check1"_s);
            e.prompts.colorAnswers = {QColor(0, 0, 255)};
            if (c.pickColour)
                e.press(u"Command4"_s);
            e.save({}, {}, c.accessKey);
            QCOMPARE(e.file(), StationBytes(c.name, url, c.pickColour ? "16711680" : c.colour, "1",
                                            c.changeBold ? "1" : "0") +
                                   other);
            // The length limit holds for what is typed after a long station was shown.
            e.clickEntry(QString::fromLatin1(c.name));
            e.press(u"Command5"_s);
            Editor::type(e.url(), QString(260, u'x'));
            QCOMPARE(e.url()->text().size(), 250);
        }
    }

    void newListFailedWritesAndAVanishedStation()
    {
        Editor e;
        const QString failed = u"exclamation: "_s + StationFileWriteErrorMessage(e.listPath);
        {
            // A failed write is told, the list and the input stay, the editor goes on.
            Unwritable guard(e.listPath);
            e.clickEntry(u"Alfa"_s);
            e.prompts.yesNoAnswers = {true};
            e.press(u"Command3"_s);
            e.press(u"Command5"_s);
            e.save(u"Delta"_s, u"http://delta.cz/"_s);
            QCOMPARE(e.prompts.asked.mid(1), (QStringList{failed, failed}));
            QCOMPARE(e.name()->text(), u"Delta"_s);
            QCOMPARE(e.file(), ThreeStations);
        }
        e.save();
        QCOMPARE(e.prompts.asked.size(), 3);
        QVERIFY(e.entry(u"Delta"_s));

        e.prompts.asked.clear();
        const QByteArray old = e.file();
        // An existing file of that name is emptied and becomes the current list; the selection
        // survives, and saving adds the station that is not in the new file.
        e.clickEntry(u"Beta"_s);
        const QString other = e.folder.write(u"other.ksl"_s, StationBytes("X", "http://x/"));
        e.prompts.fileAnswers = {other};
        e.press(u"cmdNewFile"_s);
        QCOMPARE(e.prompts.asked, QStringList{u"save: Nový soubor se seznamem stanic"_s});
        QCOMPARE(StationFilePath(), other);
        QCOMPARE(e.count(), u"Žádné stanice"_s);
        e.save();
        QCOMPARE(e.folder.read(u"other.ksl"_s),
                 StationBytes("Beta", "http://beta.cz/", "0", "1", "1") + "\r\n");
        QCOMPARE(e.file(), old);
    }
};

QTEST_MAIN(tst_frmEdit)
#include "tst_frmEdit.moc"
