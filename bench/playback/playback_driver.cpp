// Starts a local Icecast station and plays it with three players in turn: a bare libmpv
// program, the mpv command line and the program's own player inside its main window (icon
// animation on). For each it prints the time
// from the play request to playing audio, the CPU seconds and the peak memory over the run,
// with ratios to the bare program.
// Usage: playback_driver BARE_PROGRAM QT_PROGRAM [SECONDS]
#include "ChildProcess.h"
#include "support/IcecastServer.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Run
{
    std::string name;
    std::optional<double> timeToPlayingMs;
    bool timeFromStart = false; // measured from process start, not from the play request
    double cpuSeconds = 0;
    long peakRssKb = 0;
    bool ok = false;
};

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs `argv` for `seconds`, watching its output for a line starting with "PLAYING".
Run measure(const std::string& name, const std::vector<std::string>& argv, int seconds,
            bool timeFromStart)
{
    Run run;
    run.name = name;
    run.timeFromStart = timeFromStart;
    const Clock::time_point started = Clock::now();
    const Clock::time_point deadline = started + std::chrono::seconds(seconds);
    ChildProcess player(argv);
    if (!player.started())
        return run;
    if (const auto line = player.lineWith("PLAYING", deadline)) {
        if (timeFromStart)
            run.timeToPlayingMs = msSince(started);
        else
            run.timeToPlayingMs = std::atof(line->c_str() + line->find("PLAYING") + 7);
    }
    player.drainUntil(deadline);
    const rusage usage = player.end();
    run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                     usage.ru_stime.tv_usec / 1e6;
    run.peakRssKb = usage.ru_maxrss;
    run.ok = run.timeToPlayingMs.has_value();
    return run;
}

std::string ratio(double value, double base)
{
    if (base <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", value / base);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s BARE_PROGRAM QT_PROGRAM [SECONDS]\n", argv[0]);
        return 2;
    }
    const int seconds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 30;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    IcecastServer server;
    if (!server.start()) {
        std::fprintf(stderr, "The local Icecast station did not start: %s\n",
                     qPrintable(server.error()));
        return 1;
    }
    const std::string url = server.streamUrl().toStdString();
    std::printf("Stream %s, %d s per player\n\n", url.c_str(), seconds);
    std::fflush(stdout);

    std::vector<Run> runs;
    runs.push_back(measure("bare libmpv", {argv[1], url}, seconds, false));
    runs.push_back(measure("mpv command line",
                           {"mpv", "--no-config", "--ao=null", "--no-video", "--quiet",
                            "--term-playing-msg=PLAYING", url},
                           seconds, true));
    runs.push_back(measure("frmMain+MpvPlayer", {argv[2], url}, seconds, false));

    const Run& base = runs.front();
    std::printf("%-18s %16s %8s %10s %8s %14s %8s\n", "player", "time to playing", "ratio", "CPU s",
                "ratio", "peak RSS MiB", "ratio");
    for (const Run& run : runs) {
        char time[32] = "failed";
        if (run.timeToPlayingMs)
            std::snprintf(time, sizeof time, "%.0f ms%s", *run.timeToPlayingMs,
                          run.timeFromStart ? "*" : "");
        std::printf("%-18s %16s %8s %10.2f %8s %14.1f %8s\n", run.name.c_str(), time,
                    run.timeToPlayingMs && base.timeToPlayingMs
                        ? ratio(*run.timeToPlayingMs, *base.timeToPlayingMs).c_str()
                        : "-",
                    run.cpuSeconds, ratio(run.cpuSeconds, base.cpuSeconds).c_str(),
                    run.peakRssKb / 1024.0, ratio(run.peakRssKb, base.peakRssKb).c_str());
    }
    // For bench/run_all.sh: our player against the bare libmpv program.
    const Run& ours = runs.back();
    if (ours.timeToPlayingMs && base.timeToPlayingMs)
        std::printf("figure|playback|time to playing|%.0f|ms|bare libmpv|%.0f|-\n",
                    *ours.timeToPlayingMs, *base.timeToPlayingMs);
    std::printf("figure|playback|CPU over %d s|%.2f|s|bare libmpv|%.2f|-\n", seconds,
                ours.cpuSeconds, base.cpuSeconds);
    std::printf("figure|playback|peak RSS|%.1f|MiB|bare libmpv|%.1f|-\n", ours.peakRssKb / 1024.0,
                base.peakRssKb / 1024.0);
    std::printf("\n* from process start to mpv's \"playing\" message, start-up included\n");
    return 0;
}
