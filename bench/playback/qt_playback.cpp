// The program's own player inside the real main window, for comparison with the bare libmpv
// program: frmMain with MpvPlayer (null audio output), a one-station list and the icon animation
// on (or off), in a temporary settings folder. Prints "PLAYING <ms>" once the player reports
// playing, measured from the Enter on the station, and "UNDERRUN" each time playing then stalls
// for want of data, until it is killed.
// With --bare-window it shows only a bare Qt window with the same one-station list and plays
// nothing: the Qt part of the program's memory.
// Usage: qt_playback [--no-animation | --bare-window] URL
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
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool bareWindow = argc == 3 && std::strcmp(argv[1], "--bare-window") == 0;
    const bool animation = !(argc == 3 && std::strcmp(argv[1], "--no-animation") == 0);
    if (argc != 2 && !(argc == 3 && (bareWindow || !animation))) {
        std::fprintf(stderr, "usage: %s [--no-animation | --bare-window] URL\n", argv[0]);
        return 2;
    }
    const QString url = QString::fromLocal8Bit(argv[argc - 1]);
    const QString name = u"Tón"_s;

    if (bareWindow) {
        QMainWindow window;
        auto* list = new QTreeWidget(&window);
        list->setColumnCount(2);
        list->setHeaderLabels({u"Stanice"_s, u"Adresa"_s});
        new QTreeWidgetItem(list, QStringList{name, url});
        window.setCentralWidget(list);
        window.show();
        QTimer::singleShot(0, [] {
            std::printf("PLAYING 0\n");
            std::fflush(stdout);
        });
        return app.exec();
    }

    QTemporaryDir dir;
    const QString listPath = dir.filePath(u"bench.ksl"_s);
    if (!WriteStationFile(BuildStationRecord(name, url, u"0"_s, u"1"_s, u"0"_s), listPath))
        return 1;
    SettingsStore settings(dir.path());
    SaveSetting(settings, SettingsKeys::AniIco, animation ? u"1"_s : u"0"_s);
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
        } else if (state == Player::Buffering && reported) {
            // Playing stalled for want of data.
            std::printf("UNDERRUN\n");
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
