#include "app/DialogPrompts.h"
#include "app/MpvPlayer.h"
#include "app/Resources.h"
#include "app/frmMain.h"
#include "base/AppFolder.h"
#include "stations/SettingsKeys.h"
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
    // The shipped list is a first start's gift (nothing stored yet): a user who has deleted it
    // since does not get it back.
    const bool firstStart = !settings.holdsValues(SettingsKeys::Application, SettingsKeys::Section);
    const QString folder = ApplicationFolder(firstStart ? u":/czech.ksl"_s : QString());
    // libmpv picks the audio output itself unless the user names one.
    frmMain window({settings, prompts, folder,
                    std::make_unique<MpvPlayer>(qEnvironmentVariable("SKYLISTENER_AUDIO_OUTPUT"))});
    window.show();
    return QApplication::exec();
}
