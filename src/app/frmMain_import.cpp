// Stations to and from the playlists of other players: importing into the current list and
// exporting it.
#include "app/frmMain.h"

#include "base/UserPrompts.h"
#include "stations/PlaylistImport.h"
#include "stations/StationExport.h"

using namespace Qt::StringLiterals;

void frmMain::mnuImportovat_Click()
{
    const QString path = m_services.prompts.OpenFileName(
        this, u"Importovat stanice"_s, u"Seznamy skladeb|*.m3u;*.m3u8;*.pls;*.xspf"_s);
    if (path.isEmpty())
        return;
    const QString message = ImportPlaylistFile(path);
    LoadStationList();
    m_services.prompts.Exclamation(this, message);
}

void frmMain::mnuExportovat_Click()
{
    // The dialog adds no extension; a name without ".pls" gets M3U8.
    const QString path =
        m_services.prompts.SaveFileName(this, u"Exportovat stanice"_s, u"M3U8|*.m3u8|PLS|*.pls"_s);
    if (path.isEmpty())
        return;
    if (const QString error = ExportStationList(path); !error.isEmpty())
        m_services.prompts.Exclamation(this, error);
}
