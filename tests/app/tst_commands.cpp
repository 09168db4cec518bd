// The main window's commands open their dialogs modally, and the list and the tray follow what
// the dialogs changed.
#include "FakePlayer.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/frmMain.h"
#include "base/ProcessState.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "winsvc/SysTray.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace Qt::StringLiterals;

class tst_Commands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestFolder> m_folder;
    ScriptedPrompts m_prompts;
    std::unique_ptr<frmMain> m_window;

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
        m_window = std::make_unique<frmMain>(frmMainServices{
            m_folder->settings(), m_prompts, m_folder->path(), std::make_unique<FakePlayer>()});
        m_window->show();
    }
    void cleanup() { m_window.reset(); }

    void everyCommandOpensItsDialog()
    {
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

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
