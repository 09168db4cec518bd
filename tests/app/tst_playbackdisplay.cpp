// The main window offscreen: start, exit, playing, commands, songs heard; playlists it reads.
#include "Accessibility.h"
#include "FakePlayer.h"
#include "IcecastServer.h"
#include "ScriptedPrompts.h"
#include "ShownText.h"
#include "TestFolder.h"
#include "app/DialogPrompts.h"
#include "app/MpvPlayer.h"
#include "app/Recorder.h"
#include "app/SleepTimer.h"
#include "app/XmlPlaylist.h"
#include "app/frmAbout.h"
#include "app/frmMain.h"
#include "base/ProcessState.h"
#include "base/WindowUnits.h"
#include "controls/ucSlider.h"
#include "stations/Cp1250.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "winsvc/SysTray.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

class tst_PlaybackDisplay : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestFolder> m_folder;
    ScriptedPrompts m_prompts;
    std::unique_ptr<frmMain> m_window;
    FakePlayer* m_player = nullptr;

    void start(std::unique_ptr<Player> player = std::make_unique<FakePlayer>())
    {
        m_player = qobject_cast<FakePlayer*>(player.get());
        m_window = std::make_unique<frmMain>(
            frmMainServices{m_folder->settings(), m_prompts, m_folder->path(), std::move(player),
                            m_folder->filePath(u"historie.txt"_s)});
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    QAction* menuItem(const QString& name) const { return m_window->findChild<QAction*>(name); }
    void save(const QString& k, const QString& v) { SaveSetting(m_folder->settings(), k, v); }
    void click(const QString& button)
    {
        QTest::mouseClick(m_window->asxToolbar1()->widgetForAction(m_window->ToolbarButton(button)),
                          Qt::LeftButton);
    }
    // Runs `command`; the modal dialog it opens goes to `inDialog` (Escape when none), which is
    // to close it. Returns the dialog's caption, marked when it stayed open.
    QString whileModal(const std::function<void()>& command,
                       const std::function<void(QDialog*)>& inDialog = {})
    {
        QString caption;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                poll.stop();
                caption = dialog->windowTitle();
                inDialog ? inDialog(dialog) : QTest::keyClick(dialog, Qt::Key_Escape);
                if (dialog->isVisible()) {
                    caption += u" (stayed open)"_s;
                    dialog->reject();
                }
            }
        });
        poll.start(20);
        command();
        return caption;
    }
    // Sends a key sequence to the active main window, as the user types it.
    std::function<void()> shortcut(QKeySequence sequence)
    {
        return [=, this] {
            QApplication::setActiveWindow(m_window.get());
            QTest::keySequence(m_window.get(), sequence);
        };
    }
    QTreeWidget* list() const { return m_window->ListView1(); }
    QTreeWidgetItem* item(const QString& n) const { return list()->findItems(n, {}).value(0); }
    // A double click on a station, or below the stations when none is named.
    void doubleClick(const QString& name = {})
    {
        const QPoint at = name.isEmpty() ? QPoint(5, list()->viewport()->height() - 3)
                                         : list()->visualItemRect(item(name)).center();
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

    // ASX and XSPF playlists for the player: which addresses are ones, the entries read from them.
    void playlists()
    {
        for (const auto& [url, is] : {std::pair{u"http://e.org/radio.ASX?session=1"_s, true},
                                      {u"/home/user/radio.wax"_s, true},
                                      {u"http://e.org/a.mp3?list=.asx"_s, false}})
            QVERIFY2(XmlPlaylist::isXmlPlaylist(url) == is, qPrintable(url));

        const std::pair<QByteArray, QStringList> cases[] = {
            // BOM, blank lines, CR LF, capitals, bare and escaped "&", relative and nested entries.
            {"\xEF\xBB\xBF\r\n\r\n<ASX VERSION=\"3\">\r\n<TITLE>Rádio</TITLE><Entry><Ref HREF=\"ht"
             "tp://a.org/?x=1&y=2\"/><ref href=\"mms://b.org/\"/></Entry>\r\n<entry><ref href=\""
             "s.mp3\" /></entry><entryref href=\"../m.asx\"/><entry><ref href=\"  \"/></entry>"
             "<entry><ref href=\"a&amp;b&#38;c\"/></entry></ASX>\r\n",
             {u"http://a.org/?x=1&y=2"_s, u"mms://b.org/"_s, u"http://r.org/l/s.mp3"_s,
              u"http://r.org/m.asx"_s, u"http://r.org/l/a&b&c"_s}},
            // Every location of a track, trimmed; none outside a track.
            {"<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><location>http://x.org/"
             "</location><trackList><track><title>1</title><location> http://a.org/ </location>"
             "\n<location>http://b.org/</location></track><track><location>c.m3u</location>"
             "</track><track><title>none</title></track></trackList></playlist>",
             {u"http://a.org/"_s, u"http://b.org/"_s, u"http://r.org/l/c.m3u"_s}},
            // A remote playlist names no local file nor special player address.
            {"<asx><ref href=\"file:///etc/passwd\"/><ref href=\"/etc/passwd\"/><ref href=\"lavfi"
             "://sine\"/><ref href=\"edl://%10%/etc/passwd\"/><ref href=\"rtsp://a.org/\"/></asx>",
             {u"http://r.org/etc/passwd"_s, u"rtsp://a.org/"_s}},
            // Entries before an XML fault are kept; deep nesting is only text; no XML gives none.
            {"<asx><ref href=\"http://a.org/\"/></wrong><ref href=\"http://b.org/\"/></asx>",
             {u"http://a.org/"_s}},
            {"<asx>" + QByteArray("<entry>").repeated(5000) + "<ref href=\"http://a.org/\"/>",
             {u"http://a.org/"_s}},
            {QByteArray("\x00\x01\x02 not xml", 11), {}},
        };
        for (const auto& [bytes, expected] : cases)
            QCOMPARE(XmlPlaylist::entries(bytes, QUrl(u"http://r.org/l/a.asx"_s)), expected);
        // Relative entries of a file on this computer are files next to it.
        QCOMPARE(XmlPlaylist::entries("<asx><entry><ref href=\"a.mp3\"/></entry></asx>",
                                      QUrl::fromLocalFile(u"/radio/b.asx"_s)),
                 QStringList{u"/radio/a.mp3"_s});
    }
    void startsAndKeepsItsMinimumSize()
    {
        // First start: sorted ignoring case, hidden ones left out, colour ("nic" black) and bold.
        m_folder->write(u"czech.ksl"_s, StationBytes("Zeta", "http://z", "255", "1", "1") +
                                            StationBytes("alfa", "http://a", "65280") +
                                            StationBytes("Skrytá", "http://h", "0", "0") +
                                            StationBytes("Beta", "http://b", "nic"));
        start();
        QCOMPARE(m_window->windowTitle(),
                 u"skylistener v."_s + QLatin1StringView(SKYLISTENER_VERSION) + u" beta"_s);
        QStringList shown;
        for (const QTreeWidgetItem* it : list()->findItems(u"*"_s, Qt::MatchWildcard))
            shown << it->text(0) + it->foreground(0).color().name() +
                         (it->font(0).bold() ? u"b"_s : QString());
        QCOMPARE(shown, (QStringList{u"alfa#00ff00"_s, u"Beta#000000"_s, u"Zeta#ff0000b"_s}));

        // A stored place; a height below the minimum is raised to it; a missing list is empty.
        save(SettingsKeys::Left, u"1500"_s);
        save(SettingsKeys::Top, u"1200"_s);
        save(SettingsKeys::Height, u"900"_s);
        save(SettingsKeys::StationFile, m_folder->filePath(u"none.ksl"_s));
        start();
        QCOMPARE(QRect(m_window->pos(), m_window->size()),
                 QRect(TwipsToPixels(1500), TwipsToPixels(1200), TwipsToPixels(5145),
                       TwipsToPixels(1995)));
        QCOMPARE(list()->topLevelItemCount(), 0);
    }

    void playsFromTheListMirrorsThePlayerAndKeepsTheSongsHeard()
    {
        start();
        // A double click gives the player the URL, which starts it; on empty space it does nothing.
        doubleClick(u"Beta"_s);
        doubleClick();
        QCOMPARE(m_player->calls, QStringList{u"setURL http://b"_s});

        // Enter stops the playing station, plays it again when stopped, and switches to others.
        QCOMPARE(enterOn(u"Alfa"_s), (QStringList{u"setURL http://a"_s, u"play"_s}));
        m_player->raiseState(Player::Playing);
        QCOMPARE(enterOn(u"Alfa"_s), QStringList{u"stop"_s});
        m_player->raiseState(Player::Stopped);
        QCOMPARE(enterOn(u"Alfa"_s), (QStringList{u"setURL http://a"_s, u"play"_s}));
        m_player->raiseState(Player::Playing);
        QCOMPARE(enterOn(u"Beta"_s), (QStringList{u"setURL http://b"_s, u"play"_s}));
        // With nothing selected, the first navigation key selects the station it lands on: Down
        // the first even when the focus shows on another, End the last.
        for (const auto& [key, lands] :
             {std::pair{Qt::Key_Down, u"Alfa"_s}, {Qt::Key_End, u"Beta"_s}}) {
            list()->setCurrentItem(item(u"Beta"_s));
            list()->clearSelection();
            QTest::keyClick(list(), key);
            QCOMPARE(list()->selectedItems(), QList{item(lands)});
        }

        // A URL in no list (letter case counts) clears the status column and keeps the caption.
        enterOn(u"Alfa"_s);
        m_player->raiseState(Player::Playing);
        m_player->setURL(u"HTTP://B"_s);
        m_player->raiseState(Player::Playing);
        QCOMPARE(item(u"Alfa"_s)->text(1) + item(u"Beta"_s)->text(1), QString());
        QCOMPARE(m_window->windowTitle(), u"[Alfa] - skylistener"_s);
        // Reloading the list marks the playing station at once.
        m_player->setURL(u"http://b"_s);
        m_window->LoadStationList();
        QCOMPARE(item(u"Beta"_s)->text(1), u"Přehrávání"_s);
        m_player->raiseStatus(u"Přehrávání: Umělec – Píseň"_s, 127600);
        QCOMPARE(m_window->StatusPanel(1)->text(), u"Přehrávání: Umělec – Píseň"_s);
        QCOMPARE(m_window->StatusPanel(2)->text(), u"128 kbps"_s);

        // Assistive tools hear the status by the panel's name, which follows a new state or title;
        // a progress figure leaves it as it is (a bit rate too: tst_e2e).
        for (const auto& [state, title, status, heard] :
             {std::tuple{Player::Connecting, QString(), u"Připojování…"_s, u"Připojování…"_s},
              {Player::Buffering, QString(), u"Načítání 45 %"_s, u"Načítání 45 %"_s},
              {Player::Undefined, QString(), u"Načítání 46 %"_s, u"Načítání 45 %"_s},
              {Player::Playing, QString(), u"Přehrávání"_s, u"Přehrávání"_s},
              {Player::Undefined, u"Úvod"_s, u"Přehrávání: Úvod"_s, u"Přehrávání: Úvod"_s}}) {
            if (state != Player::Undefined)
                m_player->raiseState(state);
            if (!title.isNull())
                m_player->raiseTitle(title);
            m_player->raiseStatus(status);
            QCoreApplication::processEvents();
            QCOMPARE(m_window->StatusPanel(1)->accessibleName(), u"Stav: "_s + heard);
        }

        // The icon turns only while playing with the animation on, after frame 16 from frame 1.
        m_player->raiseState(Player::Playing);
        QVERIFY(!m_window->Timer1()->isActive());
        setAnimateTrayIcon(true);
        setIconFrame(15);
        m_player->raiseState(Player::Playing);
        QTRY_COMPARE(IconFrame(), 16.0);
        QTRY_COMPARE(IconFrame(), 1.0);
        m_player->raiseState(Player::Stopped);
        QVERIFY(!m_window->Timer1()->isActive());

        // The titles heard (Úvod above too) go into the history, shown by Ctrl+H; Ctrl+R records
        // the station playing, panel 4 shown, until it stops, or names a folder it cannot use.
        m_folder->write(u"soubor"_s, "x");
        save(SettingsKeys::RecordFolder, m_folder->filePath(u"soubor/nahrávky"_s));
        enterOn(u"Alfa"_s);
        m_player->raiseState(Player::Playing);
        for (const QString& title : {u"Píseň"_s, u"Alfa"_s, u"Píseň"_s, u"Druhá"_s})
            m_player->raiseTitle(title);
        // A station the list does not hold goes by its address.
        m_player->setURL(u"http://jinde"_s);
        m_player->raiseState(Player::Playing);
        m_player->raiseTitle(u"Třetí"_s);
        const auto inHistory = [](QDialog* dialog) {
            QStringList rows;
            auto* tree = dialog->findChild<QTreeWidget*>();
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                rows << tree->topLevelItem(i)->text(1) + u": "_s + tree->topLevelItem(i)->text(2);
            QCOMPARE(rows, (QStringList{u"http://jinde: Třetí"_s, u"Alfa: Druhá"_s,
                                        u"Alfa: Píseň"_s, u"Beta: Úvod"_s}));
            QTest::keyClick(dialog, Qt::Key_Escape);
        };
        QCOMPARE(whileModal(shortcut(Qt::CTRL | Qt::Key_H), inHistory), u"Historie skladeb"_s);

        QAction* record = menuItem(u"mnuNahravat"_s);
        m_player->calls.clear();
        shortcut(Qt::CTRL | Qt::Key_R)();
        QCOMPARE(std::exchange(m_prompts.asked, {}),
                 QStringList{u"exclamation: "_s +
                             Recorder::folderMessage(m_folder->filePath(u"soubor/nahrávky"_s))});
        QVERIFY(!record->isChecked() && m_window->StatusPanel(4)->isHidden());
        QVERIFY(m_player->calls.isEmpty());

        save(SettingsKeys::RecordFolder, m_folder->filePath(u"nahrávky"_s));
        m_player->setURL(u"http://a"_s);
        m_player->raiseState(Player::Playing);
        m_player->calls.clear();
        shortcut(Qt::CTRL | Qt::Key_R)();
        QVERIFY(record->isChecked() && m_window->StatusPanel(4)->isVisible());
        QVERIFY(m_player->calls.value(0).startsWith(u"record "_s +
                                                    m_folder->filePath(u"nahrávky/Alfa 20"_s)));
        // Unticked it ends; ticked again it records anew until Enter stops the station.
        shortcut(Qt::CTRL | Qt::Key_R)();
        QVERIFY(!record->isChecked() && m_window->StatusPanel(4)->isHidden());
        QCOMPARE(m_player->calls.value(1), u"record "_s);
        shortcut(Qt::CTRL | Qt::Key_R)();
        QTest::keyClick(list(), Qt::Key_Return);
        m_player->raiseState(Player::Stopped);
        QVERIFY(!record->isChecked() && m_window->StatusPanel(4)->isHidden());
        QCOMPARE(m_player->calls.mid(3), (QStringList{u"stop"_s, u"record "_s}));
    }

    // With the real player: a station chosen is marked at once; the sleep timer, on the test's
    // clock, fades the player, never the user's volume, then stops it; "Nevypínat" cancels it.
    void theRealPlayerShowsTheStationAndFadesOut()
    {
        IcecastServer icecast;
        QVERIFY2(icecast.start(), qPrintable(icecast.error()));
        m_folder->write(u"czech.ksl"_s, StationBytes("Gama", "smb://g") +
                                            StationBytes("Delta", "smb://d") +
                                            StationBytes("Beta", icecast.streamUrl().toUtf8()));
        save(SettingsKeys::Volume, u"80"_s);
        start(std::make_unique<MpvPlayer>(u"null"_s));

        // The station chosen is marked in list and caption before the player tells more,
        // also when the state stays: with a star while it does not play.
        for (const auto& [name, state] : {std::pair{u"Beta"_s, Player::Connecting},
                                          {u"Gama"_s, Player::Error},
                                          {u"Delta"_s, Player::Error}}) {
            doubleClick(name);
            QCOMPARE(m_window->wmp().playState(), state);
            QCOMPARE(m_window->windowTitle(), u"["_s + name + u" *] - skylistener"_s);
            for (const QString& other : {u"Beta"_s, u"Gama"_s, u"Delta"_s})
                QCOMPARE(item(other)->text(1), other == name ? u"Zastaveno"_s : QString());
            if (name == u"Beta")
                QTRY_COMPARE_WITH_TIMEOUT(item(name)->text(1) + m_window->windowTitle(),
                                          u"Přehrávání[Beta] - skylistener"_s, 20000);
        }

        qint64 now = 0;
        m_window->sleepTimer().setClock([&now] { return now; });
        constexpr qint64 Minute = 60'000;
        const Player& player = m_window->wmp();
        auto* menu = m_window->findChild<QMenu*>(u"mnuVypnout"_s);
        const auto ticked = [&] { // one choice at a time
            const QAction* on = menuItem(u"mnuNevypinat"_s)->actionGroup()->checkedAction();
            return (on ? on->text() : QString()) + u" / "_s + menu->title();
        };
        doubleClick(u"Beta"_s);
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(Player::Playing), 20000);

        menuItem(u"mnuVypnout15"_s)->trigger();
        now = 3 * Minute + 1;
        QTRY_COMPARE(ticked(), u"za &15 minut / &Vypnout přehrávání (zbývá 12 min)"_s);
        const qint64 end = 15 * Minute;
        now = end - 15'000;
        QTRY_COMPARE(player.volume(), 40);
        QVERIFY(m_window->ucSlider1()->Value() == 80 &&
                m_window->StatusPanel(3)->text() == u"Hlasitost 80%");
        // The user turns it down meanwhile: the fade goes on from the new volume.
        QTest::keyClick(m_window->ucSlider1(), Qt::Key_PageDown);
        QCOMPARE(player.volume(), 35);
        now = end;
        QTRY_COMPARE(player.playState(), int(Player::Stopped));
        QVERIFY(player.volume() == 70 && m_window->StatusPanel(3)->text() == u"Hlasitost 70%");
        QCOMPARE(ticked(), u"&Nevypínat / &Vypnout přehrávání"_s);

        menuItem(u"mnuVypnout30"_s)->trigger();
        now += 30 * Minute - 6'000;
        QTRY_COMPARE(player.volume(), 14);
        menuItem(u"mnuNevypinat"_s)->trigger();
        QVERIFY(player.volume() == 70 && ticked() == u"&Nevypínat / &Vypnout přehrávání");
    }

    void commandsToolbarAndExit()
    {
        save(SettingsKeys::Volume, u"75"_s);
        save(SettingsKeys::Left, u"-900000"_s);
        save(SettingsKeys::Top, u"nonsense"_s);
        auto muted = std::make_unique<FakePlayer>();
        muted->muted = true;
        start(std::move(muted));
        // A stored position off every screen comes back on the screen.
        QVERIFY(m_window->screen()->availableGeometry().intersects(m_window->frameGeometry()));
        // The stored volume and the player's mute show at start.
        QVERIFY(m_player->volumeValue == 75 && !m_window->ToolbarButton(u"Volume"_s)->isVisible());
        QCOMPARE(m_window->StatusPanel(3)->text(), u"Hlasitost 75%"_s);

        // Dragging the slider's thumb past the end sets the volume, and never unmutes.
        ucSlider* slider = m_window->ucSlider1();
        const int y = slider->height() / 2, w = slider->width();
        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(w / 2, y));
        QTest::mouseMove(slider, QPoint(w + 40, y));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(w + 40, y));
        QCOMPARE(m_window->StatusPanel(3)->text(), u"Hlasitost 100%"_s);
        QVERIFY(m_player->volumeValue == 100 && m_player->muted);
        QCOMPARE(QApplication::focusWidget(), list()); // the slider takes no focus from a click
        // Unmute and mute swap their buttons; Ctrl+M does the same.
        for (const int i : {0, 1, 2, 3}) {
            const bool mute = i % 2;
            i < 2 ? click(mute ? u"Volume"_s : u"Nute"_s) : shortcut(Qt::CTRL | Qt::Key_M)();
            QVERIFY(m_player->muted == mute &&
                    m_window->ToolbarButton(u"Nute"_s)->isVisible() == mute &&
                    m_window->ToolbarButton(u"Volume"_s)->isVisible() != mute);
        }
        // Play with no selection resumes the current stream; with one it switches.
        list()->clearSelection();
        click(u"Play"_s);
        list()->setCurrentItem(item(u"Beta"_s));
        click(u"Play"_s);
        click(u"Stop"_s);
        menuItem(u"mnuST_Play"_s)->trigger(); // the tray menu's
        menuItem(u"mnuST_Stop"_s)->trigger();
        QCOMPARE(m_player->calls, (QStringList{u"play"_s, u"setURL http://b"_s, u"play"_s,
                                               u"stop"_s, u"play"_s, u"stop"_s}));
        // Always on top keeps the window where it is.
        const QRect before = m_window->geometry();
        menuItem(u"mnuVzdyNahore"_s)->trigger();
        QCOMPARE(m_window->geometry(), before);
        // Ctrl+F and Ctrl+O open their dialogs, every control named; the address (Ctrl+O or the
        // toolbar) is empty at each opening, and only OK with a text plays it, as typed.
        QStringList nameless = NamelessControls(m_window.get());
        const auto named = [&](QDialog* dialog) {
            nameless += NamelessControls(dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
        };
        QCOMPARE(whileModal(shortcut(Qt::CTRL | Qt::Key_F), named), u"Hledat rozhlasové stanice"_s);
        for (const auto& [text, button, calls] :
             {std::tuple{u" http://a b "_s, u"cmdOK"_s,
                         QStringList{u"setURL  http://a b "_s, u"play"_s}},
              {QString(), u"cmdOK"_s, QStringList()},
              {u"a"_s, u"cmdClose"_s, QStringList()}}) {
            m_player->calls.clear();
            const auto inUrl = [&, text = text, button = button](QDialog* dialog) {
                nameless += NamelessControls(dialog);
                auto* field = dialog->findChild<QLineEdit*>();
                QVERIFY(field->text().isEmpty());
                QTest::keyClicks(field, text);
                QTest::mouseClick(dialog->findChild<QWidget*>(button), Qt::LeftButton);
            };
            const auto open =
                text.isNull() ? shortcut(Qt::CTRL | Qt::Key_O) : [&] { click(u"URL"_s); };
            QCOMPARE(whileModal(open, inUrl), u"Vložit URL stanice pro přehrávání"_s);
            QCOMPARE(m_player->calls, calls);
        }
        QCOMPARE(nameless.join(u", "), QString());

        // The about box from the tray closes by Enter; the window, active again, focuses the list.
        const auto inAbout = [&](QDialog* dialog) {
            m_window->setFocus(); // the focus of the window behind moves on
            QTest::keyClick(dialog, Qt::Key_Return);
        };
        QCOMPARE(whileModal([&] { menuItem(u"mnuST_about"_s)->trigger(); }, inAbout),
                 u"O programu Hollowmere skylistener..."_s);
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTRY_COMPARE(QApplication::focusWidget(), list());

        // A question answered Yes by its button's key reads as it stands, also a station's name.
        bool yes = false;
        const QString question = u"Smazat <b>Rádio</b> <img src=\"/dev/zero\">?"_s;
        whileModal([&] { yes = DialogPrompts().AskYesNo(m_window.get(), question); },
                   [&](QDialog* box) {
                       QCOMPARE(ShownText(box->findChild<QLabel*>(u"qt_msgbox_label"_s)), question);
                       QTest::keyClick(static_cast<QMessageBox*>(box)->button(QMessageBox::Yes),
                                       Qt::Key_Space);
                   });
        QVERIFY(yes);
        // The save dialog writes the type chosen: a name typed without an extension gets its.
        QString saved;
        whileModal(
            [&] {
                saved = DialogPrompts().SaveFileName(m_window.get(), u"Uložit"_s,
                                                     u"M3U8|*.m3u8|PLS|*.pls"_s);
            },
            [&](QDialog* dialog) {
                QTest::keyClick(dialog->findChild<QComboBox*>(u"fileTypeCombo"_s), Qt::Key_Down);
                auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
                name->setText(m_folder->filePath(u"stanice"_s));
                QTest::keyClick(name, Qt::Key_Return);
            });
        QCOMPARE(saved, m_folder->filePath(u"stanice.pls"_s));

        // The editor refills the list when it closes; saved settings switch the tray style at
        // once (off again hides the icon) and load their list.
        m_folder->write(u"czech.ksl"_s, StationBytes("Alfa", "http://a"));
        QCOMPARE(whileModal([&] { click(u"edit"_s); }), u"Editace rozhlasových stanic"_s);
        QCOMPARE(list()->topLevelItemCount(), 1);
        for (const bool toTray : {true, false}) {
            const auto inSettings = [&](QDialog* dialog) {
                dialog->findChild<QCheckBox*>(u"Check1"_s)->setChecked(toTray);
                QTest::mouseClick(dialog->findChild<QWidget*>(u"Command2"_s), Qt::LeftButton);
            };
            QCOMPARE(whileModal(shortcut(Qt::CTRL | Qt::Key_P), inSettings), u"Nastavení"_s);
            QCOMPARE(m_window->cTray()->TrayFormStyle(), toTray ? 3 : 0);
            QVERIFY(toTray || !m_window->cTray()->Visible());
            QCOMPARE(list()->topLevelItemCount(), 0);
        }

        // Ended from the tray while minimised, it stores the restored window.
        slider->setValue(33);
        m_window->move(TwipsToPixels(3000), TwipsToPixels(1500));
        m_window->resize(m_window->width(), TwipsToPixels(4500));
        setStationFilePath(m_folder->filePath(u"rock.ksl"_s));
        m_window->showMinimized();
        menuItem(u"mnuST_End"_s)->trigger();
        QStringList values;
        for (const QString& key : {SettingsKeys::Left, SettingsKeys::Top, SettingsKeys::Height,
                                   SettingsKeys::Volume, SettingsKeys::StationFile})
            values += GetSetting(*m_folder->reopenSettings(), key, {});
        QCOMPARE(values, (QStringList{u"3000"_s, u"1500"_s, u"4500"_s, u"33"_s,
                                      m_folder->filePath(u"rock.ksl"_s)}));
    }

    // Exported in each format, imported into an empty list: every station, hidden ones too.
    void exportsAndImportsStations()
    {
        QByteArray stations;
        for (int i = 0; i < 200; ++i)
            stations +=
                StationBytes(Cp1250::encode(u"Rádio \"Žižkov\", %1 = FM"_s.arg(i)),
                             "http://r.cz/?n=" + QByteArray::number(i), "0", i % 2 ? "1" : "0");
        const QString full = m_folder->write(u"czech.ksl"_s, stations);
        start();
        for (const QString& name : {u"a.m3u8"_s, u"b.pls"_s, u"c"_s}) {
            setStationFilePath(full);
            m_prompts.fileAnswers = {m_folder->filePath(name), m_folder->filePath(name)};
            menuItem(u"mnuExportovat"_s)->trigger();
            setStationFilePath(m_folder->write(name + u".ksl"_s, {}));
            menuItem(u"mnuImportovat"_s)->trigger();
            QCOMPARE(std::exchange(m_prompts.asked, {}),
                     (QStringList{u"save: Exportovat stanice"_s, u"open: Importovat stanice"_s,
                                  u"exclamation: Přidáno 200 stanic, přeskočeno 0."_s}));
            // In the order of the names, which is that of the numbers here.
            QCOMPARE(m_folder->read(name + u".ksl"_s),
                     QByteArray(stations).replace("<visible>0", "<visible>1") + "\r\n");
            QCOMPARE(list()->topLevelItemCount(), 200);
        }
    }

    // The about box's lines follow the system font's size and stay apart, above the button.
    void aboutFollowsTheFontSize()
    {
        const QFont usual = QApplication::font();
        for (const int points : {usual.pointSize(), 24}) {
            QFont font = usual;
            font.setPointSize(points);
            QApplication::setFont(font);
            frmAbout about;
            QRect above;
            for (const char* name : {"Label1", "Label2", "Label3"}) {
                const auto* line = about.findChild<QLabel*>(QLatin1StringView(name));
                QCOMPARE(line->font().pointSize(), points);
                QVERIFY(line->height() >= line->sizeHint().height() &&
                        line->width() >= line->sizeHint().width());
                QVERIFY(line->y() >= above.bottom() + 1);
                above = line->geometry();
            }
            const bool usualSize = points == usual.pointSize();
            QVERIFY(above.bottom() < about.findChild<QPushButton*>(u"Command1"_s)->y() ||
                    usualSize);
            QCOMPARE(about.size() == QSize(356, 132), usualSize);
        }
        QApplication::setFont(usual);
    }
};

QTEST_MAIN(tst_PlaybackDisplay)
#include "tst_playbackdisplay.moc"
