#pragma once

#include <QMainWindow>
#include <QString>

class QLabel;
class QMenu;
class QTreeWidget;
class QToolBar;
class SettingsStore;
class UserPrompts;

// What the main window needs from outside: the settings store, the prompts that dialogs use,
// and the application's folder, where station lists live.
struct frmMainServices
{
    SettingsStore& settings;
    UserPrompts& prompts;
    QString applicationFolder;
};

// The program's one permanent window and its composition root: the station list, the toolbar,
// the three-panel status bar and the menus. It reads the settings at start-up, lays its
// controls out on every resize and stores its geometry, volume and current list when it closes.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(frmMainServices services, QWidget* parent = nullptr);
    ~frmMain() override;

    QTreeWidget* ListView1() const { return m_listView; }
    QToolBar* asxToolbar1() const { return m_toolbar; }
    // Status bar panel 1 (player status), 2 (bit rate) or 3 (volume).
    QLabel* StatusPanel(int number) const;

    // Refills the station list from StationFilePath() and refreshes the play status.
    void LoadStationList();

Q_SIGNALS:
    // The exit sequence has run; the program ends.
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void Form_Load();
    void Form_Resize();
    void Form_Unload();

    frmMainServices m_services;
    QTreeWidget* m_listView = nullptr;
    QToolBar* m_toolbar = nullptr;
    QMenu* m_mnuSkylistener = nullptr;
    QLabel* m_panels[3] = {};
    int m_volume = 0;
    bool m_unloaded = false;
};
