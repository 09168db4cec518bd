// The program's own player in a Qt application, for comparison with the bare libmpv program.
// Usage: qt_playback URL. Prints "PLAYING <ms>" once the player reports playing, measured from
// the play request, then plays until it is killed.
#include "app/MpvPlayer.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s URL\n", argv[0]);
        return 2;
    }
    MpvPlayer player(u"null"_s);
    QElapsedTimer clock;
    bool reported = false;
    QObject::connect(&player, &Player::PlayStateChange, &app, [&](int state) {
        if (state == Player::Playing && !reported) {
            reported = true;
            std::printf("PLAYING %lld\n", static_cast<long long>(clock.elapsed()));
            std::fflush(stdout);
        }
    });
    clock.start();
    player.setURL(QString::fromLocal8Bit(argv[1]));
    return app.exec();
}
