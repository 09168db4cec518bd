#pragma once

#include "stations/StationRecord.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QString>

#include <map>
#include <memory>
#include <optional>

class cMagneticWnd;
class MessageCapture;
class MprisService;
class Player;
class Recorder;
class SleepTimer;
class TitleHistory;
class TitleNotifier;
class SysTray;
class WindowSystem;
class ucSlider;
class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QTimer;
class QTreeWidget;
class QToolBar;
class SettingsStore;
class UserPrompts;

// What the main window needs from outside: the settings store, the prompts that dialogs use,
// the application's folder, where station lists live, and the player, which the window owns.
struct frmMainServices
{
    SettingsStore& settings;
    UserPrompts& prompts;
    QString applicationFolder;
    std::unique_ptr<Player> player;
    // The file of the title history; empty: "historie.txt" in the user's data folder.
    QString historyFile = {};
};

// The program's one permanent window and its composition root: the station list, the toolbar,
// the three-panel status bar and the menus, the player and the icon animation. It reads the
// settings at start-up, mirrors the player's state in the list, caption and status bar, lays its
// controls out on every resize and stores its geometry, volume and current list when it closes.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(frmMainServices services, QWidget* parent = nullptr);
    ~frmMain() override;

    QTreeWidget* ListView1() const { return m_listView; }
    QToolBar* asxToolbar1() const { return m_toolbar; }
    // Status bar panel 1 (player status), 2 (bit rate), 3 (volume) or 4 ("Nahrávání", shown
    // only while recording).
    QLabel* StatusPanel(int number) const;
    Player& wmp() const { return *m_player; }
    // The toolbar button of a key ("Konec", "edit", "URL", "Volume", "Nute", "Stop", "Play").
    QAction* ToolbarButton(const QString& key) const;
    QMenu* mnuSkylistener() const { return m_mnuSkylistener; }
    // The tray icon's popup menu; never shown in the menu bar.
    QMenu* mnuSysMenu() const { return m_mnuSysMenu; }
    QTimer* Timer1() const { return m_timer1; }
    SysTray* cTray() const { return m_tray.get(); }
    ucSlider* ucSlider1() const { return m_slider; }
    TitleHistory& History() const { return *m_history; }
    Recorder& Recording() const { return *m_recorder; }
    // The sleep timer that the submenu "Vypnout přehrávání" (mnuVypnout) starts.
    SleepTimer& sleepTimer() const { return *m_sleepTimer; }

    // The URL of the station the user last chose in the list.
    QString ChosenUrl() const { return m_chosenUrl; }
    // The listed station the player was last given, as the list holds it; nothing for an
    // address the list does not hold (from the open-URL dialog or the finder).
    const std::optional<StationRecord>& PlayingStation() const { return m_playingStation; }

    // Refills the station list from StationFilePath() and refreshes the play status.
    void LoadStationList();
    // Rewrites the status column and the caption from the player's URL and play state.
    void RefreshPlayStatus();
    // Panel 2: the player's bit rate in kbps.
    void ShowBitRate();
    // Runs the icon animation while the player plays (when animation is on), else shows frame 1.
    void SetIconAnimation(bool playing);

public Q_SLOTS:
    // A toolbar click, by the button's key; unknown keys do nothing.
    void asxToolbar1_ButtonClick(const QString& key);

Q_SIGNALS:
    // The exit sequence has run; the program ends.
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Start-up, layout and exit.
    void buildControls();
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void registerMagneticWindow();
    void applyTrayStyle();

    // Commands: toolbar, menus and the tray menu.
    void buildToolbar();
    void buildMenus();
    void showMuteButton(bool muted);
    void playSelectedStation();
    void mnuVzdyNahore_Click();
    void mnuVybratSeznam_Click();
    void mnuNastaveni_Click();
    void mnuST_Restore_Click();
    void mnuST_End_Click();
    void showStationEditor();
    void showOpenUrlDialog();
    void showFindStations();
    void showAboutDialog();

    // Playback and status display.
    void connectPlayer();
    void ListView1_MouseDown();
    void ListView1_ItemClick(const QString& key);
    void ListView1_DblClick();
    void ListView1_EnterKey();
    // A navigation key while no station is selected; true when it was handled.
    bool ListView1_FirstNavigationKey(QKeyEvent* event);
    void wmp_PlayStateChange(int NewState);
    void wmp_StatusChange();
    // Tells assistive tools the player's status once the player has settled on it, after a
    // change of its state or of the stream's title (not after each bit-rate refresh).
    void announceStatusSoon();
    void announceStatus();
    void Timer1_Timer();
    void showVolumeText(int volume);
    void ucSlider1_Change();

    // Media keys and the desktop's media panels (frmMain_mpris.cpp).
    void connectMpris();

    // The songs heard: history, notifications and recording (frmMain_songs.cpp).
    void connectSongs();
    // The name the history, notifications and recordings give the station that plays.
    QString songsStationName() const;
    void wmp_StreamTitleChange();
    void mnuHistorie_Click();
    void mnuNahravat_Click();
    void mnuOznamovat_Click();
    void recordingEnded(const QString& message);
    void showRecording(bool recording);

    // Stations to and from other players' playlists (frmMain_import.cpp).
    void mnuImportovat_Click();
    void mnuExportovat_Click();

    // The sleep timer: its submenu and the fade it gives the player (frmMain_sleep.cpp).
    void connectSleepTimer();
    void mnuVypnout_Click(int minutes);
    void showSleepTimer(int minutes);
    void sleepTimerExpired();

    frmMainServices m_services;
    std::unique_ptr<Player> m_player;
    // Destroyed in reverse: the tray goes first, the window is unhooked before its capture goes.
    std::unique_ptr<WindowSystem> m_windowSystem;
    std::unique_ptr<MessageCapture> m_capture;
    std::unique_ptr<cMagneticWnd> m_magnetic;
    std::unique_ptr<SysTray> m_tray;
    QTreeWidget* m_listView = nullptr;
    QToolBar* m_toolbar = nullptr;
    QMenu* m_mnuSkylistener = nullptr;
    QMenu* m_mnuSysMenu = nullptr;
    QAction* m_mnuVzdyNahore = nullptr;
    QAction* m_mnuNahravat = nullptr;  // "&Nahrávat": checked while recording
    QAction* m_mnuOznamovat = nullptr; // "Oznamovat skladby": notifications of new titles
    QMenu* m_mnuVypnout = nullptr;     // "Vypnout přehrávání": the sleep timer's choices
    QAction* m_mnuNevypinat = nullptr; // its "Nevypínat", checked while the timer does not run
    std::map<QString, QAction*> m_buttons;
    QLabel* m_panels[3] = {};
    QLabel* m_recordPanel = nullptr;
    TitleNotifier* m_notifier = nullptr; // a child; none without the session bus's library
    QTimer* m_timer1 = nullptr;
    QString m_chosenUrl;
    // The stations the list shows, row by row, and the row of each URL.
    QList<StationRecord> m_listedStations;
    QHash<QString, int> m_rowOfUrl;
    std::optional<StationRecord> m_playingStation;
    // The row whose status column shows the player's state; -1 for none.
    int m_markedRow = -1;
    ucSlider* m_slider = nullptr;
    bool m_unloaded = false;
    bool m_announcePending = false;
    bool m_navigating = false;
    std::unique_ptr<TitleHistory> m_history;
    std::unique_ptr<Recorder> m_recorder;
    std::unique_ptr<SleepTimer> m_sleepTimer;
    // Last, so that it goes first: it calls into the player, the list and the slider.
    std::unique_ptr<MprisService> m_mpris;
};
