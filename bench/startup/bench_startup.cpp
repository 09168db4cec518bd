// Start-up and idle figures. Start-up: from starting the process to its window first shown,
// the main window over a list of 200 stations against a bare QTreeWidget with 200 items, in
// PAIRS interleaved pairs (each pair back to back, the order within a pair alternating); each
// pair gives the ratio of the main window to the bare one, and the figure is the median ratio
// with the lowest and highest. Idle: CPU seconds each program uses over a span with nothing
// playing, after it has shown its window.
// Usage: bench_startup PROBE [IDLE_SECONDS [PAIRS]]
#include "ChildProcess.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using Clock = ChildProcess::Clock;

// Waits for the program's window to show: "SHOWN" on its output within 30 s.
bool shown(ChildProcess& program)
{
    return program.lineWith("SHOWN", Clock::now() + std::chrono::seconds(30)).has_value();
}

std::optional<double> startupMs(const std::vector<std::string>& argv)
{
    const Clock::time_point start = Clock::now();
    ChildProcess program(argv);
    if (!program.started() || !shown(program))
        return std::nullopt;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// User and system CPU seconds of a process so far.
double cpuSeconds(pid_t pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which ends with the last ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks / double(sysconf(_SC_CLK_TCK));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    if (values.empty())
        return 0;
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

QByteArray stationList(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        const QByteArray n = QByteArray::number(i);
        bytes += "<radiostation><stationname>Stanice \xC8"
                 "esk\xE1 " +
                 n + "</stationname><stationurl>http://radio.example/" + n +
                 ".mp3</stationurl><stationcolor>" + QByteArray::number(i * 97 % 16777216) +
                 "</stationcolor><visible>1</visible><bold>" + (i % 7 ? "0" : "1") +
                 "</bold></radiostation>";
    }
    return bytes + "\r\n";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROBE [IDLE_SECONDS [PAIRS]]\n", argv[0]);
        return 2;
    }
    const std::string probe = argv[1];
    const int idleSeconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
    const int pairs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;
    constexpr int stations = 200;

    QTemporaryDir dir;
    const QString listPath = dir.filePath(u"bench.ksl"_s);
    QFile list(listPath);
    if (!list.open(QIODevice::WriteOnly) || list.write(stationList(stations)) < 0)
        return 1;
    list.close();
    QDir(dir.path()).mkpath(u"settings"_s);
    const QString settingsFolder = dir.filePath(u"settings"_s);
    {
        SettingsStore settings(settingsFolder);
        SaveSetting(settings, SettingsKeys::StationFile, listPath);
    }

    const std::vector<std::string> mainArgs{probe, "main", settingsFolder.toStdString(),
                                            dir.path().toStdString()};
    const std::vector<std::string> bareArgs{probe, "bare", std::to_string(stations)};

    // One start of each first, not counted: the disk cache and the fonts warm up.
    startupMs(mainArgs);
    startupMs(bareArgs);
    std::vector<double> mainTimes, bareTimes, ratios;
    std::printf("%-5s %12s %12s %8s\n", "pair", "bare ms", "main ms", "ratio");
    for (int i = 0; i < pairs; ++i) {
        // Which of the two starts first alternates, so that a drift in the machine's load does
        // not always fall on the same side.
        std::optional<double> mainMs, bareMs;
        if (i % 2 == 0) {
            bareMs = startupMs(bareArgs);
            mainMs = startupMs(mainArgs);
        } else {
            mainMs = startupMs(mainArgs);
            bareMs = startupMs(bareArgs);
        }
        if (!mainMs || !bareMs)
            continue;
        mainTimes.push_back(*mainMs);
        bareTimes.push_back(*bareMs);
        ratios.push_back(*mainMs / *bareMs);
        std::printf("%-5d %12.1f %12.1f %7.2fx\n", i + 1, *bareMs, *mainMs, ratios.back());
        std::fflush(stdout);
    }
    if (ratios.empty()) {
        std::fprintf(stderr, "a program did not show its window\n");
        return 1;
    }
    const double mainMs = median(mainTimes);
    const double bareMs = median(bareTimes);
    const double ratio = median(ratios);
    const double lowest = *std::min_element(ratios.begin(), ratios.end());
    const double highest = *std::max_element(ratios.begin(), ratios.end());
    std::printf("\n%-34s %10s\n", "start-up to window shown", "median ms");
    std::printf("%-34s %10.1f\n", "bare QTreeWidget, 200 items", bareMs);
    std::printf("%-34s %10.1f\n", "main window, 200 stations", mainMs);
    std::printf("ratio main / bare: median %.2fx, lowest %.2fx, highest %.2fx over %zu pairs\n",
                ratio, lowest, highest, ratios.size());
    std::printf("figure|start-up|main window, 200 stations|%.1f|ms|bare QTreeWidget 200 items|%.1f|"
                "<=1.2x|%.3f|%.3f|%.3f\n",
                mainMs, bareMs, ratio, lowest, highest);
    std::fflush(stdout);

    // Idle: both at once, each measured from its window shown.
    auto mainArgsStay = mainArgs;
    mainArgsStay.push_back("--stay");
    auto bareArgsStay = bareArgs;
    bareArgsStay.push_back("--stay");
    ChildProcess m(mainArgsStay);
    ChildProcess b(bareArgsStay);
    if (!shown(m) || !shown(b)) {
        std::fprintf(stderr, "a program did not show its window\n");
        return 1;
    }
    const double mainBefore = cpuSeconds(m.pid());
    const double bareBefore = cpuSeconds(b.pid());
    sleep(unsigned(idleSeconds));
    const double mainIdle = cpuSeconds(m.pid()) - mainBefore;
    const double bareIdle = cpuSeconds(b.pid()) - bareBefore;
    std::printf("\n%-34s %10s\n", "idle, nothing playing", "CPU s");
    std::printf("%-34s %10.2f\n", "bare QTreeWidget", bareIdle);
    std::printf("%-34s %10.2f   (%d s)\n", "main window", mainIdle, idleSeconds);
    std::printf("figure|idle|main window CPU over %d s|%.2f|s|bare QTreeWidget|%.2f|<=0.1 s\n",
                idleSeconds, mainIdle, bareIdle);
    return 0;
}
