// The main window's start-up, layout and exit, offscreen; its commands open their dialogs
// modally, and the list and the tray follow what the dialogs changed.
#include "FakePlayer.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/frmMain.h"
#include "base/ProcessState.h"
#include "base/WindowUnits.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "winsvc/SysTray.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace Qt::StringLiterals;

class tst_MainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestFolder> m_folder;
    ScriptedPrompts m_prompts;
    std::unique_ptr<frmMain> m_window;

    frmMain* startWindow()
    {
        m_window = std::make_unique<frmMain>(frmMainServices{
            m_folder->settings(), m_prompts, m_folder->path(), std::make_unique<FakePlayer>()});
        m_window->show();
        return m_window.get();
    }

    QAction* menuItem(const QString& name) const
    {
        auto* item = m_window->mnuSkylistener()->findChild<QAction*>(name);
        return item ? item : m_window->mnuSysMenu()->findChild<QAction*>(name);
    }

    // Runs `command`, and once a modal dialog is up hands it to `inDialog`, which must close
    // it. Returns the dialog's caption, empty when none appeared.
    QString whileModal(const std::function<void()>& command,
                       const std::function<void(QDialog*)>& inDialog)
    {
        QString caption;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            caption = dialog->windowTitle();
            inDialog(dialog);
        });
        poll.start();
        command();
        return caption;
    }

    static void pressEscape(QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        m_folder->write(u"czech.ksl"_s, StationBytes("Alfa", "http://a") + "\r\n");
    }
    void cleanup() { m_window.reset(); }

    void firstStart()
    {
        m_folder->write(u"czech.ksl"_s, StationBytes("Zeta", "http://z", "255", "1", "1") +
                                            StationBytes("alfa", "http://a", "65280") +
                                            StationBytes("Skrytá", "http://h", "0", "0") +
                                            StationBytes("Beta", "http://b", "nic") + "\r\n");
        const auto window = startWindow();

        QCOMPARE(window->windowTitle(), u"skylistener v.0.1.12 beta"_s);
        QCOMPARE(PixelsToTwips(window->height()), 2730.0);
        QCOMPARE(PixelsToTwips(window->width()), 5145.0);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(qAbs(window->pos().x() - (screen.width() - window->width()) / 2) <= 1);
        QVERIFY(qAbs(window->pos().y() - (screen.height() - window->height()) / 2) <= 1);
        QCOMPARE(StationFilePath(), m_folder->filePath(u"czech.ksl"_s));

        // Sorted without regard to case, the hidden station left out, colour and bold as stored
        // ("nic" is black).
        QTreeWidget* list = window->ListView1();
        QString shown;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            shown += u"%1 %2 %3 %4;"_s
                         .arg(item->text(0), item->data(0, Qt::UserRole).toString(),
                              item->foreground(0).color().name())
                         .arg(item->font(0).bold());
        }
        QCOMPARE(shown,
                 u"alfa http://a #00ff00 0;Beta http://b #000000 0;Zeta http://z #ff0000 1;"_s);
        QCOMPARE(window->StatusPanel(2)->text(), u"0 kbps"_s);
        QCOMPARE(window->StatusPanel(3)->text(), u"Hlasitost 50%"_s);
        QVERIFY(window->ToolbarButton(u"Volume"_s)->isVisible());
        QVERIFY(!window->ToolbarButton(u"Nute"_s)->isVisible());
    }

    void restoresAndKeepsItsMinimumSize()
    {
        SaveSetting(m_folder->settings(), SettingsKeys::Left, u"1500"_s);
        SaveSetting(m_folder->settings(), SettingsKeys::Top, u"1200"_s);
        SaveSetting(m_folder->settings(), SettingsKeys::Height, u"900"_s);
        SaveSetting(m_folder->settings(), SettingsKeys::StationFile,
                    m_folder->filePath(u"none.ksl"_s));
        auto window = startWindow();
        QCOMPARE(window->pos(), QPoint(TwipsToPixels(1500), TwipsToPixels(1200)));
        // A stored height below the minimum is raised to it; the list of a missing file is empty.
        QCOMPARE(PixelsToTwips(window->height()), 1995.0);
        QCOMPARE(window->ListView1()->topLevelItemCount(), 0);

        window->resize(10, 10);
        QCOMPARE(PixelsToTwips(window->width()), 5145.0);
        QCOMPARE(PixelsToTwips(window->height()), 1995.0);
        // The name column fills what the status column leaves, which is at least its design width.
        window->resize(600, 400);
        QTreeWidget* list = window->ListView1();
        QTRY_COMPARE(list->columnWidth(0) + list->columnWidth(1) + TwipsToPixels(400),
                     list->width());
        QVERIFY(list->columnWidth(1) >= TwipsToPixels(1000));

        // A stored position off every screen comes back on the screen.
        SaveSetting(m_folder->settings(), SettingsKeys::Left, u"-900000"_s);
        SaveSetting(m_folder->settings(), SettingsKeys::Top, u"nonsense"_s);
        window = startWindow();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(area.intersects(window->frameGeometry()));
    }

    void exitStoresFiveKeys()
    {
        SaveSetting(m_folder->settings(), SettingsKeys::Volume, u"75"_s);
        auto window = startWindow();
        window->move(TwipsToPixels(3000), TwipsToPixels(1500));
        window->resize(window->width(), TwipsToPixels(4500));
        setStationFilePath(m_folder->filePath(u"rock.ksl"_s));
        QSignalSpy unloaded(window, &frmMain::Unloaded);
        window->close();
        QCOMPARE(unloaded.count(), 1);

        const auto next = m_folder->reopenSettings();
        const std::pair<QString, QString> stored[] = {
            {SettingsKeys::Left, u"3000"_s},
            {SettingsKeys::Top, u"1500"_s},
            {SettingsKeys::Height, u"4500"_s},
            {SettingsKeys::Volume, u"75"_s},
            {SettingsKeys::StationFile, m_folder->filePath(u"rock.ksl"_s)}};
        for (const auto& [key, value] : stored)
            QCOMPARE(GetSetting(*next, key, u"?"_s), value);
    }

    void everyCommandOpensItsDialog()
    {
        startWindow();
        const QString url = u"Vložit URL stanice pro přehrávání"_s;
        const QString about = u"O programu Hollowmere skylistener..."_s;
        const std::pair<std::function<void()>, QString> commands[] = {
            {[&] { m_window->asxToolbar1_ButtonClick(u"edit"_s); },
             u"Editace rozhlasových stanic"_s},
            {[&] { m_window->asxToolbar1_ButtonClick(u"URL"_s); }, url},
            {[&] { menuItem(u"mnuOtevritURL"_s)->trigger(); }, url},
            {[&] {
                 QApplication::setActiveWindow(m_window.get());
                 QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
             },
             u"Hledat rozhlasové stanice"_s},
            {[&] { menuItem(u"mnuVybratSeznam"_s)->trigger(); }, u"Výběr seznamu stanic"_s},
            {[&] { menuItem(u"mnuNastaveni"_s)->trigger(); }, u"Nastavení"_s},
            {[&] { menuItem(u"mnuOProgramu"_s)->trigger(); }, about},
            {[&] { menuItem(u"mnuST_about"_s)->trigger(); }, about},
        };
        for (const auto& [command, caption] : commands)
            QCOMPARE(whileModal(command, pressEscape), caption);
    }

    void editorAndSettingsRefillTheList()
    {
        startWindow();
        // A list changed behind the window's back shows once the editor closes.
        m_folder->write(u"czech.ksl"_s, StationBytes("Alfa", "http://a") +
                                            StationBytes("Beta", "http://b") + "\r\n");
        whileModal([&] { m_window->asxToolbar1_ButtonClick(u"edit"_s); }, pressEscape);
        QCOMPARE(m_window->ListView1()->topLevelItemCount(), 2);

        // Saving the settings with minimising to the tray on switches the tray style at once,
        // and off again hides the icon; the saved list path ("stations.ksl" on a first run)
        // becomes the current list.
        for (const bool toTray : {true, false}) {
            whileModal([&] { menuItem(u"mnuNastaveni"_s)->trigger(); },
                       [&](QDialog* dialog) {
                           for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
                               if (box->text().startsWith(u"Minimalizovat"_s))
                                   box->setChecked(toTray);
                           }
                           for (QAbstractButton* button :
                                dialog->findChildren<QAbstractButton*>()) {
                               if (button->text() == u"&Uložit a zavřít"_s)
                                   button->click();
                           }
                       });
            QCOMPARE(MinimizeToTray(), toTray);
            QCOMPARE(m_window->cTray()->TrayFormStyle(), toTray ? 3 : 0);
            QVERIFY(toTray || !m_window->cTray()->Visible());
            QVERIFY(StationFilePath().endsWith(u"stations.ksl"_s));
            QCOMPARE(m_window->ListView1()->topLevelItemCount(), 0);
        }
    }

    void trayExitStoresTheRestoredWindow()
    {
        startWindow();
        m_window->move(90, 120);
        const QPoint where = m_window->pos();
        m_window->showMinimized();
        menuItem(u"mnuST_End"_s)->trigger();
        QVERIFY(!m_window->isVisible());
        const auto next = m_folder->reopenSettings();
        QCOMPARE(GetSetting(*next, SettingsKeys::Left, QString()), QString::number(where.x() * 15));
        QCOMPARE(GetSetting(*next, SettingsKeys::Top, QString()), QString::number(where.y() * 15));
    }

    void listTakesTheFocusOnActivation()
    {
        startWindow();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QCOMPARE(QApplication::focusWidget(), m_window->ListView1());

        // Another window takes over, the focus inside ours moves on; coming back to our window
        // brings the focus back to the list.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        m_window->setFocus();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTRY_COMPARE(QApplication::focusWidget(), m_window->ListView1());
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
