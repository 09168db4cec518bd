#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QLineEdit;
class SettingsStore;
class UserPrompts;
class z3DLine;

// The settings dialog: the station list file and the two tray options ("MinTray", "AniIco").
// Nothing takes effect before "Uložit a zavřít", which stores the three settings and sets the
// program's flags and current list at once. However it closes, the main window's list is
// refilled (through `loadStationList`). Created for one opening and shown modally.
class frmSetting : public QDialog
{
    Q_OBJECT

public:
    frmSetting(SettingsStore& settings, UserPrompts& prompts, QString applicationFolder,
               std::function<void()> loadStationList, QWidget* parent = nullptr);
    ~frmSetting() override;

    void done(int result) override;

    // A stored check box state as the box shows it: 0 clear, 1 ticked, 2 greyed (whole
    // numbers, rounded as the settings were always read); anything else clear.
    static Qt::CheckState CheckStateOf(const QString& stored);
    // The state as stored: "0", "1" or "2" (greyed).
    static QString StoredCheckState(Qt::CheckState state);

public Q_SLOTS:
    void cmd_Click();      // "...": picks the station list file
    void Command1_Click(); // "Zavřít": closes without saving
    void Command2_Click(); // "Uložit a zavřít": saves the settings and closes

private:
    void buildControls();
    void Form_Load();

    SettingsStore& m_settings;
    UserPrompts& m_prompts;
    QString m_applicationFolder;
    std::function<void()> m_loadStationList;

    QLineEdit* m_txtText1 = nullptr; // the station list file
    QCheckBox* m_check1 = nullptr;   // "Minimalizovat program do oznamovací oblasti": MinTray
    QCheckBox* m_check2 = nullptr;   // "Zobrazit animovanou ikonu během přehrávání": AniIco
    z3DLine* m_z3DLine1 = nullptr;
};
