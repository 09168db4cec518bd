// The program's own player inside the real main window, for comparison with the bare libmpv
// program: frmMain with MpvPlayer (null audio output), a one-station list and the icon animation
// on, in a temporary settings folder. Usage: qt_playback URL. Prints "PLAYING <ms>" once the
// player reports playing, measured from the Enter on the station, then plays until it is killed.
#include "app/DialogPrompts.h"
#include "app/MpvPlayer.h"
#include "app/frmMain.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/SettingsStore.h"
#include "stations/StationFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s URL\n", argv[0]);
        return 2;
    }
    const QString url = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    const QString listPath = dir.filePath(u"bench.ksl"_s);
    if (!WriteStationFile(BuildStationRecord(u"Tón"_s, url, u"0"_s, u"1"_s, u"0"_s), listPath))
        return 1;
    SettingsStore settings(dir.path());
    SaveSetting(settings, SettingsKeys::AniIco, u"1"_s);
    SaveSetting(settings, SettingsKeys::StationFile, listPath);
    DialogPrompts prompts;
    frmMain window({settings, prompts, dir.path(), std::make_unique<MpvPlayer>(u"null"_s)});
    window.show();

    QElapsedTimer clock;
    bool reported = false;
    QObject::connect(&window.wmp(), &Player::PlayStateChange, &app, [&](int state) {
        if (state == Player::Playing && !reported) {
            reported = true;
            std::printf("PLAYING %lld\n", static_cast<long long>(clock.elapsed()));
            std::fflush(stdout);
        }
    });
    // Enter on the station, as the user plays it.
    QTreeWidget* list = window.ListView1();
    if (list->topLevelItemCount() != 1)
        return 1;
    list->setCurrentItem(list->topLevelItem(0));
    clock.start();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    return app.exec();
}
