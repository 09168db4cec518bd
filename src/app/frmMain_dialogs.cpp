// The dialogs the main window opens. Each is created when opened, shown modally and destroyed
// when it closes; the editor, the chooser and the settings dialog refill the station list.
#include "app/frmMain.h"

#include "app/frmAbout.h"
#include "app/frmFindStations.h"
#include "app/frmURL.h"
#include "base/UserPrompts.h"
#include "stations/frmEdit.h"
#include "stations/frmSList.h"
#include "stations/frmSetting.h"
#include "winsvc/SysTray.h"

namespace {

template <typename Dialog, typename... Args> void showModal(Args&&... args)
{
    Dialog dialog(std::forward<Args>(args)...);
    dialog.exec();
}

} // namespace

void frmMain::showStationEditor()
{
    showModal<frmEdit>(
        *m_player, m_services.prompts, [this] { LoadStationList(); }, this);
}

void frmMain::showOpenUrlDialog()
{
    showModal<frmURL>(*m_player, this);
}

void frmMain::showFindStations()
{
    showModal<frmFindStations>(
        *m_player, m_services.prompts, m_services.settings, [this] { LoadStationList(); }, this);
}

void frmMain::showAboutDialog()
{
    showModal<frmAbout>(this);
}

void frmMain::mnuVybratSeznam_Click()
{
    showModal<frmSList>(
        m_services.settings,
        [this](QWidget* parent, const QString& text) {
            m_services.prompts.Exclamation(parent, text);
        },
        m_services.applicationFolder, [this] { LoadStationList(); }, this);
}

void frmMain::mnuNastaveni_Click()
{
    showModal<frmSetting>(
        m_services.settings, m_services.prompts, m_services.applicationFolder,
        [this] { LoadStationList(); }, this);
    applyTrayStyle();
}

void frmMain::mnuST_Restore_Click()
{
    m_tray->FormRestore();
}

void frmMain::mnuST_End_Click()
{
    // Restored first, so that the position stored is that of the restored window.
    m_tray->FormRestore();
    close();
}
