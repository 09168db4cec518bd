// Endurance: the real main window (MpvPlayer with null audio output, icon animation on) plays
// two local Icecast stations, switching between them every 20 s (the first after 10 s) as the
// user does with Enter, for SKYLISTENER_SOAK_SECONDS (600 unless set). Prints the peak and resident
// memory after a tenth of the run and at its end, and the growth between them; ends with 1 when the
// resident memory grew by more than 5 %.
#include "IcecastServer.h"
#include "app/DialogPrompts.h"
#include "app/MpvPlayer.h"
#include "app/frmMain.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/SettingsStore.h"
#include "stations/StationFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

struct Memory
{
    double peakMiB = 0;     // VmHWM
    double residentMiB = 0; // VmRSS
};

Memory currentMemory()
{
    Memory m;
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return m;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const auto kib = [&] { return line.mid(6).trimmed().split(' ').value(0).toDouble(); };
        if (line.startsWith("VmHWM:"))
            m.peakMiB = kib() / 1024;
        else if (line.startsWith("VmRSS:"))
            m.residentMiB = kib() / 1024;
    }
    return m;
}

double growth(double from, double to)
{
    return from > 0 ? (to - from) / from * 100 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int seconds = qMax(20, qEnvironmentVariableIntValue("SKYLISTENER_SOAK_SECONDS") > 0
                                     ? qEnvironmentVariableIntValue("SKYLISTENER_SOAK_SECONDS")
                                     : 600);
    constexpr int switchSeconds = 20;

    IcecastServer first;
    IcecastServer second;
    if (!first.start() || !second.start()) {
        std::fprintf(stderr, "The local Icecast stations did not start: %s %s\n",
                     qPrintable(first.error()), qPrintable(second.error()));
        return 2;
    }

    QTemporaryDir dir;
    const QString listPath = dir.filePath(u"soak.ksl"_s);
    if (!WriteStationFile(
            BuildStationRecord(u"První"_s, first.streamUrl(), u"0"_s, u"1"_s, u"0"_s) +
                BuildStationRecord(u"Druhá"_s, second.streamUrl(), u"255"_s, u"1"_s, u"1"_s),
            listPath))
        return 2;
    SettingsStore settings(dir.path());
    SaveSetting(settings, SettingsKeys::AniIco, u"1"_s);
    SaveSetting(settings, SettingsKeys::StationFile, listPath);
    DialogPrompts prompts;
    frmMain window({settings, prompts, dir.path(), std::make_unique<MpvPlayer>(u"null"_s)});
    window.show();
    QTreeWidget* list = window.ListView1();
    if (list->topLevelItemCount() != 2)
        return 2;

    std::printf("Soak: %d s, switching stations every %d s, icon animation on\n", seconds,
                switchSeconds);
    std::fflush(stdout);
    int switches = 0;
    int row = 0;
    const auto playNext = [&] {
        list->setCurrentItem(list->topLevelItem(row));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(list, &enter);
        row = 1 - row;
        ++switches;
    };
    playNext();
    // Switches fall between the measurements, never on them.
    QTimer switcher;
    QObject::connect(&switcher, &QTimer::timeout, &app, playNext);
    QTimer::singleShot(switchSeconds * 1000 / 2, &app, [&] {
        playNext();
        switcher.start(switchSeconds * 1000);
    });

    Memory early;
    const int earlyAt = seconds / 10;
    QTimer::singleShot(earlyAt * 1000, &app, [&] {
        early = currentMemory();
        std::printf("after %4d s: peak %.1f MiB, resident %.1f MiB, playing: %s\n", earlyAt,
                    early.peakMiB, early.residentMiB,
                    window.wmp().playState() == Player::Playing ? "yes" : "no");
        std::fflush(stdout);
    });
    QTimer::singleShot(seconds * 1000, &app, [&] { QApplication::exit(0); });
    QApplication::exec();

    const Memory late = currentMemory();
    const double residentGrowth = growth(early.residentMiB, late.residentMiB);
    std::printf("after %4d s: peak %.1f MiB, resident %.1f MiB, playing: %s\n", seconds,
                late.peakMiB, late.residentMiB,
                window.wmp().playState() == Player::Playing ? "yes" : "no");
    std::printf("growth: peak %+.1f %%, resident %+.1f %% over %d station switches (target: "
                "resident at most +5 %%)\n",
                growth(early.peakMiB, late.peakMiB), residentGrowth, switches);
    std::printf("figure|soak|resident memory growth|%.1f|%%|after %d s|%.1f|<=5 %%\n",
                residentGrowth, earlyAt, 0.0);
    return residentGrowth > 5 ? 1 : 0;
}
