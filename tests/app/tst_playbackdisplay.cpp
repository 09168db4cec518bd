// The main window offscreen: start-up, layout and exit; how it plays stations and mirrors the
// player, scripted and with the real one; its commands open their dialogs modally, and the list
// and the tray follow what the dialogs changed.
#include "FakePlayer.h"
#include "IcecastServer.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MpvPlayer.h"
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "app/frmURL.h"
#include "base/ProcessState.h"
#include "base/WindowUnits.h"
#include "controls/ucSlider.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "winsvc/SysTray.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>

using namespace Qt::StringLiterals;

class tst_PlaybackDisplay : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestFolder> m_folder;
    ScriptedPrompts m_prompts;
    std::unique_ptr<frmMain> m_window;
    FakePlayer* m_player = nullptr;

    void start(std::unique_ptr<Player> player)
    {
        m_window = std::make_unique<frmMain>(
            frmMainServices{m_folder->settings(), m_prompts, m_folder->path(), std::move(player)});
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void start(bool muted = false)
    {
        auto player = std::make_unique<FakePlayer>();
        player->muted = muted;
        m_player = player.get();
        start(std::move(player));
        m_player->calls.clear();
    }
    frmMain* startWindow()
    {
        start();
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

    QTreeWidget* list() const { return m_window->ListView1(); }
    QTreeWidgetItem* item(const QString& name) const
    {
        return list()->findItems(name, Qt::MatchExactly).value(0);
    }
    QPoint centreOf(const QString& name) const
    {
        return list()->visualItemRect(item(name)).center();
    }
    void doubleClick(QPoint at)
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    }
    // Enter on a station; the player's calls it made.
    QStringList enterOn(const QString& name)
    {
        m_player->calls.clear();
        list()->setCurrentItem(item(name));
        QTest::keyClick(list(), Qt::Key_Return);
        return m_player->calls;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        m_folder->write(u"czech.ksl"_s, StationBytes("Alfa", "http://a") +
                                            StationBytes("Beta", "http://b") + "\r\n");
        setAnimateTrayIcon(false);
    }
    void cleanup() { m_window.reset(); }

    void doubleClickAndEnterPlayTheChosenStation()
    {
        start();
        // The player starts by itself once it has the URL: no play call.
        doubleClick(centreOf(u"Beta"_s));
        QCOMPARE(m_window->ChosenUrl(), u"http://b"_s);
        QCOMPARE(m_player->calls, (QStringList{u"setURL http://b"_s}));
        // A press on empty space forgets the choice, so a double click there plays nothing.
        m_player->calls.clear();
        const QPoint empty(5, list()->viewport()->height() - 3);
        QVERIFY(!list()->itemAt(empty));
        doubleClick(empty);
        QVERIFY(m_window->ChosenUrl().isEmpty());
        QVERIFY(m_player->calls.isEmpty());

        // Enter stops the playing station, plays it again when stopped, and switches to others.
        QCOMPARE(enterOn(u"Alfa"_s), (QStringList{u"setURL http://a"_s, u"play"_s}));
        m_player->raiseState(Player::Playing);
        QCOMPARE(enterOn(u"Alfa"_s), QStringList{u"stop"_s});
        m_player->raiseState(Player::Stopped);
        QCOMPARE(enterOn(u"Alfa"_s), (QStringList{u"setURL http://a"_s, u"play"_s}));
        m_player->raiseState(Player::Playing);
        QCOMPARE(enterOn(u"Beta"_s), (QStringList{u"setURL http://b"_s, u"play"_s}));
        QCOMPARE(m_window->ChosenUrl(), u"http://b"_s);
        list()->clearSelection();
        m_player->calls.clear();
        QTest::keyClick(list(), Qt::Key_Return);
        QVERIFY(m_player->calls.isEmpty());
    }

    void captionStatusColumnAndPanelsFollowThePlayer()
    {
        start();
        enterOn(u"Alfa"_s);
        m_player->raiseState(Player::Connecting);
        QCOMPARE(m_window->windowTitle(), u"[Alfa *] - skylistener"_s);
        QCOMPARE(item(u"Alfa"_s)->text(1), u"Zastaveno"_s);
        QCOMPARE(item(u"Alfa"_s)->foreground(1).color(), QColor(199, 145, 0));
        m_player->raiseState(Player::Playing);
        QCOMPARE(m_window->windowTitle(), u"[Alfa] - skylistener"_s);
        QCOMPARE(item(u"Alfa"_s)->text(1), u"Přehrávání"_s);
        QCOMPARE(item(u"Alfa"_s)->foreground(1).color(), QColor(0, 115, 32));
        QCOMPARE(item(u"Beta"_s)->text(1), QString());

        // A URL in no list clears the column and keeps the caption; letter case counts.
        for (const QString& url : {u"http://elsewhere"_s, u"HTTP://B"_s}) {
            m_player->setURL(url);
            m_player->raiseState(Player::Playing);
            QCOMPARE(item(u"Alfa"_s)->text(1) + item(u"Beta"_s)->text(1), QString());
            QCOMPARE(m_window->windowTitle(), u"[Alfa] - skylistener"_s);
        }
        // Reloading the list marks the playing station at once.
        m_player->setURL(u"http://b"_s);
        m_player->state = Player::Playing;
        m_window->LoadStationList();
        QCOMPARE(item(u"Beta"_s)->text(1), u"Přehrávání"_s);

        m_player->raiseStatus(u"Přehrávání: Umělec – Píseň"_s, 127600);
        QCOMPARE(m_window->StatusPanel(1)->text(), u"Přehrávání: Umělec – Píseň"_s);
        QCOMPARE(m_window->StatusPanel(2)->text(), u"128 kbps"_s);
        m_player->raiseStatus(u"Zastaveno"_s, 0);
        QCOMPARE(m_window->StatusPanel(2)->text(), u"0 kbps"_s);
    }

    void aNewStationIsShownAtOnceWithTheRealPlayer()
    {
        // Alfa's server takes the connection and never answers, so that Alfa stays connecting
        // until the network timeout; Beta is a working station.
        IcecastServer icecast;
        QVERIFY2(icecast.start(), qPrintable(icecast.error()));
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        m_folder->write(
            u"czech.ksl"_s,
            StationBytes("Alfa", u"http://127.0.0.1:%1/a.mp3"_s.arg(silent.serverPort()).toUtf8()) +
                StationBytes("Beta", icecast.streamUrl().toUtf8()) +
                StationBytes("Gama", "smb://host/g.mp3") +
                StationBytes("Delta", "smb://host/d.mp3") + "\r\n");
        auto owned = std::make_unique<MpvPlayer>(u"null"_s);
        MpvPlayer* player = owned.get();
        start(std::move(owned));

        // The station just chosen is the one marked, in the caption and in the tray tip, before
        // the player has anything else to tell.
        const auto choose = [&](const QString& name, int state) {
            doubleClick(centreOf(name));
            QCOMPARE(player->playState(), state);
            QCOMPARE(m_window->windowTitle(), u"["_s + name + u" *] - skylistener"_s);
            QCOMPARE(m_window->cTray()->TrayTip(), m_window->windowTitle());
            for (const QString& other : {u"Alfa"_s, u"Beta"_s, u"Gama"_s, u"Delta"_s})
                QCOMPARE(item(other)->text(1), other == name ? u"Zastaveno"_s : QString());
        };
        choose(u"Alfa"_s, Player::Connecting);
        choose(u"Beta"_s, Player::Connecting);
        if (QTest::currentTestFailed())
            return;
        QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), u"[Beta] - skylistener"_s, 20000);
        choose(u"Gama"_s, Player::Error);
        choose(u"Delta"_s, Player::Error);
    }

    void toolbarAndMenuCommands()
    {
        start();
        // Play with no selection resumes the current stream; with one it switches.
        list()->clearSelection();
        m_window->asxToolbar1_ButtonClick(u"Play"_s);
        QCOMPARE(m_player->calls, (QStringList{u"play"_s}));
        list()->setCurrentItem(item(u"Beta"_s));
        m_player->calls.clear();
        m_window->asxToolbar1_ButtonClick(u"Play"_s);
        QCOMPARE(m_player->calls, (QStringList{u"setURL http://b"_s, u"play"_s}));
        m_player->calls.clear();
        m_window->asxToolbar1_ButtonClick(u"Stop"_s);
        m_window->asxToolbar1_ButtonClick(u"stop"_s); // keys are case-sensitive
        QCOMPARE(m_player->calls, (QStringList{u"stop"_s}));
        // The tray menu's play and stop reach the player.
        m_player->calls.clear();
        m_window->mnuSysMenu()->findChild<QAction*>(u"mnuST_Play"_s)->trigger();
        m_window->mnuSysMenu()->findChild<QAction*>(u"mnuST_Stop"_s)->trigger();
        QCOMPARE(m_player->calls, (QStringList{u"play"_s, u"stop"_s}));

        // Mute and unmute swap their buttons.
        m_window->asxToolbar1_ButtonClick(u"Volume"_s);
        QVERIFY(m_player->muted);
        QVERIFY(!m_window->ToolbarButton(u"Volume"_s)->isVisible());
        QVERIFY(m_window->ToolbarButton(u"Nute"_s)->isVisible());
        m_window->ToolbarButton(u"Nute"_s)->trigger();
        QVERIFY(!m_player->muted);
        QVERIFY(m_window->ToolbarButton(u"Volume"_s)->isVisible());

        // Always on top keeps the window where it is.
        const QRect before = m_window->geometry();
        auto* onTop = m_window->mnuSkylistener()->findChild<QAction*>(u"mnuVzdyNahore"_s);
        onTop->trigger();
        QVERIFY(onTop->isChecked());
        QCOMPARE(m_window->geometry(), before);

        QSignalSpy unloaded(m_window.get(), &frmMain::Unloaded);
        m_window->asxToolbar1_ButtonClick(u"Konec"_s);
        QCOMPARE(unloaded.count(), 1);
    }

    void volumeSliderDrivesThePlayer()
    {
        SaveSetting(m_folder->settings(), SettingsKeys::Volume, u"75"_s);
        start(true);
        // The stored volume and the player's mute show at start.
        QCOMPARE(m_player->volumeValue, 75);
        QCOMPARE(m_window->StatusPanel(3)->text(), u"Hlasitost 75%"_s);
        QVERIFY(m_window->ToolbarButton(u"Nute"_s)->isVisible());
        QVERIFY(!m_window->ToolbarButton(u"Volume"_s)->isVisible());

        // It lies over the toolbar, 120 twips from its right edge.
        ucSlider* slider = m_window->ucSlider1();
        QCOMPARE(slider->geometry().right() + 1 + 8, m_window->asxToolbar1()->width());
        // Dragging the thumb past both ends, with real mouse input; it never unmutes.
        for (const auto& [from, to, value] :
             {std::tuple{slider->width() / 2, slider->width() + 40, 100},
              std::tuple{slider->width() - 5, -40, 0}}) {
            const int y = slider->height() / 2;
            QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(from, y));
            QTest::mouseMove(slider, QPoint(to, y));
            QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(to, y));
            QCOMPARE(slider->Value(), value);
            QCOMPARE(m_window->StatusPanel(3)->text(), u"Hlasitost %1%"_s.arg(value));
            QCOMPARE(m_player->volumeValue, value);
            QVERIFY(m_player->muted);
        }
        // The slider's value is what exit stores.
        slider->setValue(33);
        m_window->close();
        QCOMPARE(GetSetting(*m_folder->reopenSettings(), SettingsKeys::Volume, QString()), u"33"_s);
    }

    void iconAnimationRunsOnlyWhilePlaying()
    {
        start();
        m_player->raiseState(Player::Playing);
        QVERIFY(!m_window->Timer1()->isActive()); // animation off

        setAnimateTrayIcon(true);
        setIconFrame(15);
        m_player->raiseState(Player::Playing);
        QVERIFY(m_window->Timer1()->isActive());
        QCOMPARE(m_window->Timer1()->interval(), 100);
        QTRY_COMPARE(IconFrame(), 16.0);
        QTRY_COMPARE(IconFrame(), 1.0); // wraps after the last frame

        m_player->raiseState(Player::Stopped);
        QVERIFY(!m_window->Timer1()->isActive());
        const double shown = IconFrame();
        m_player->raiseState(Player::Playing);
        QTRY_VERIFY(IconFrame() != shown); // goes on from the frame shown last, not from 1
        QCOMPARE(IconFrame(), shown + 1);
    }

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

    void addressAndAboutDialogs()
    {
        start();
        // The address is empty at every opening; OK or Enter plays it as typed, OK with no text
        // and every other way out leave the player alone.
        using Close = std::function<void(frmURL*)>;
        const Close ok = [](frmURL* d) { QTest::mouseClick(d->cmdOK(), Qt::LeftButton); };
        const struct
        {
            QString text;
            Close close;
            QStringList calls;
        } cases[] = {
            {u"  http://127.0.0.1:8000/a b "_s,
             ok,
             {u"setURL   http://127.0.0.1:8000/a b "_s, u"play"_s}},
            {u"x"_s,
             [](frmURL* d) { QTest::keyClick(d->txtText1(), Qt::Key_Return); },
             {u"setURL x"_s, u"play"_s}},
            {QString(), ok, {}},
            {u"http://a/"_s,
             [](frmURL* d) { QTest::mouseClick(d->cmdClose(), Qt::LeftButton); },
             {}},
            {u"http://a/"_s, [](frmURL* d) { QTest::keyClick(d->txtText1(), Qt::Key_Escape); }, {}},
            {u"http://a/"_s, [](frmURL* d) { QTest::keyClick(d->cmdOK(), Qt::Key_Escape); }, {}},
        };
        for (const auto& c : cases) {
            m_player->calls.clear();
            bool empty = false, closed = false;
            whileModal([&] { m_window->asxToolbar1_ButtonClick(u"URL"_s); },
                       [&](QDialog* dialog) {
                           auto* form = qobject_cast<frmURL*>(dialog);
                           empty = form->txtText1()->text().isEmpty();
                           QTest::keyClicks(form->txtText1(), c.text);
                           c.close(form);
                           closed = !dialog->isVisible();
                           dialog->reject();
                       });
            QVERIFY(empty && closed);
            QCOMPARE(m_player->calls, c.calls);
        }

        // The about box shows the release's version and the program's icon; OK closes it.
        QString version;
        bool picture = false, closed = false;
        whileModal([&] { menuItem(u"mnuOProgramu"_s)->trigger(); },
                   [&](QDialog* dialog) {
                       auto* about = qobject_cast<frmAbout*>(dialog);
                       version = about->findChild<QLabel*>(u"Label1"_s)->text();
                       picture = !about->Image1()->pixmap().isNull();
                       QTest::mouseClick(about->Command1(), Qt::LeftButton);
                       closed = !dialog->isVisible();
                       dialog->reject();
                   });
        QCOMPARE(version, u" Ver.: "_s + QLatin1StringView(SKYLISTENER_VERSION) + u" beta"_s);
        QVERIFY(picture && closed);
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

QTEST_MAIN(tst_PlaybackDisplay)
#include "tst_playbackdisplay.moc"
