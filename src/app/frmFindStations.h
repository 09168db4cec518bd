#pragma once

#include "directory/DirectoryAnswer.h"

#include <QDialog>
#include <QHash>
#include <QList>

#include <functional>

class Container3D;
class DirectoryClient;
class Player;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class SettingsStore;
class UserPrompts;
class z3DLine;

// Finds stations in the community station directory: by name, country and tag, the most
// played first. A found station can be played on the main window's player, as the editor's test
// play does, and added to the current station list, which the main window then shows. The
// dialog never waits for the directory: a search runs while the user goes on, and a new one
// replaces it. The user can vote for a found station, once in ten minutes as the directory asks,
// and sort the results by any column. Created for one opening and shown modally.
class frmFindStations : public QDialog
{
    Q_OBJECT

public:
    frmFindStations(Player& player, UserPrompts& prompts, const SettingsStore& settings,
                    std::function<void()> loadStationList, QWidget* parent = nullptr);
    ~frmFindStations() override;

    DirectoryClient& client() const { return *m_client; }

public Q_SLOTS:
    void cmdSearch_Click();
    void cmdPlay_Click();
    void cmdStop_Click();
    void cmdAdd_Click();
    void cmdVote_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void showResults(const QList<Directory::Station>& stations);
    void showCountries(const QList<Directory::Country>& countries);
    void setStatus(const QString& text);
    void showVote(const QString& uuid, bool accepted, const QString& message);
    // Voting needs a chosen result the directory knows by its id.
    void enableVote();
    // The chosen result; null when none is chosen.
    const Directory::Station* chosen() const;

    Player& m_player;
    UserPrompts& m_prompts;
    std::function<void()> m_loadStationList;
    std::unique_ptr<DirectoryClient> m_client;
    bool m_countriesAsked = false;
    // The names of the stations whose votes are under way, by id, for the answer's message.
    QHash<QString, QString> m_voting;

    Container3D* m_container3D1 = nullptr;
    QLineEdit* m_txtName = nullptr;
    QComboBox* m_cboCountry = nullptr;
    QLineEdit* m_txtTag = nullptr;
    QCheckBox* m_chkBroken = nullptr;
    QPushButton* m_cmdSearch = nullptr;
    QTreeWidget* m_lstResults = nullptr;
    QLabel* m_lblStatus = nullptr;
    QPushButton* m_cmdVote = nullptr;
    z3DLine* m_z3DLine1 = nullptr;
};
