#include "app/DialogPrompts.h"
#include "app/MpvPlayer.h"
#include "app/Resources.h"
#include "app/frmMain.h"
#include "base/AppFolder.h"
#include "stations/SettingsStore.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"skylistener"_s);
    QApplication::setOrganizationName(u"Hollowmere"_s);

    InitResources();
    SettingsStore settings;
    DialogPrompts prompts;
    frmMain window(
        {settings, prompts, ApplicationFolder(u":/czech.ksl"_s), std::make_unique<MpvPlayer>()});
    window.show();
    return QApplication::exec();
}
