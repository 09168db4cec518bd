// Playback figures against a local Icecast server and a server of its own that trickles MP3 at
// exactly its bit rate.
//  - Cost: the bare libmpv program and the program's main window (icon animation on, or off)
//    play the MP3 mount in interleaved pairs, back to back, the order within a pair alternating:
//    PAIRS pairs with the animation on and PAIRS with it off, on and off pairs taking turns. Each
//    run plays for SECONDS from its first sound; the figure is the CPU seconds in that span (all
//    threads), and each pair gives the ratio of the program to the bare program. The table shows
//    the median ratio with the lowest and highest, so a change can be told from the noise of a
//    shared machine. Memory (USS) is the median over the runs. A bare Qt window with the same
//    one-station list gives the Qt part of the memory.
//  - Start: the time to playing on mounts with and without a burst of old data on connect, MP3,
//    AAC and MP3 announced with a wrong content type, for the bare libmpv program with mpv's
//    defaults, the mpv command line, GStreamer's gst-play-1.0 (where installed) and the program;
//    the median of a few starts.
//  - Trickle: stalls in the first seconds on the trickling server.
// Lines starting with "figure|" are for bench/run_all.sh.
// Usage: playback_driver BARE_PROGRAM QT_PROGRAM [SECONDS [PAIRS]]
#include "ChildProcess.h"
#include "support/IcecastServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

struct Run
{
    std::optional<double> timeToPlayingMs;
    double cpuSeconds = 0;        // the whole run, start-up included
    double playingCpuSeconds = 0; // from the first sound to the end
    double playingSeconds = 0;    // how long that was
    double ussMiB = 0;
    double dirtyMiB = 0; // the written part of the USS: heap, stacks, data
    double peakRssMiB = 0;
    int underruns = 0;
};

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of every live thread of the process so far, in seconds (nanosecond counts).
double threadCpuSeconds(pid_t pid)
{
    double total = 0;
    const QDir tasks(u"/proc/%1/task"_s.arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        std::ifstream stat(tasks.filePath(task + u"/schedstat"_s).toStdString());
        double ns = 0;
        if (stat >> ns)
            total += ns / 1e9;
    }
    return total;
}

// Unique set size: the private pages of the process, in MiB; `dirty` gets the written ones.
// Clean private pages are library code no other process maps at the moment, so that part
// depends on what else runs on the machine.
double ussMiB(pid_t pid, double& dirty)
{
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    double kb = 0;
    dirty = 0;
    while (std::getline(rollup, line)) {
        if (line.rfind("Private_", 0) != 0)
            continue;
        const double value = std::atof(line.c_str() + line.find(':') + 1);
        kb += value;
        if (line.rfind("Private_Dirty", 0) == 0)
            dirty = value / 1024.0;
    }
    return kb / 1024.0;
}

// Runs `argv` for at most `seconds`, watching its output for "PLAYING" (with the time since the
// play request after it, or measured here from the process start when `fromStart`) and
// "UNDERRUN" lines; `untilPlaying` ends the run at the first sound. `playingPattern` is the
// text that marks playing. With `afterPlaying` the `seconds` count from the first sound instead,
// and the run gives up when nothing plays within 30 s.
Run measure(const std::vector<std::string>& argv, double seconds, bool fromStart, bool untilPlaying,
            const std::string& playingPattern = "PLAYING", bool afterPlaying = false)
{
    Run run;
    const Clock::time_point started = Clock::now();
    const auto span = std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    Clock::time_point deadline = afterPlaying ? started + std::chrono::seconds(30) : started + span;
    Clock::time_point playingSince;
    ChildProcess player(argv, ChildProcess::Errors::Read);
    if (!player.started())
        return run;
    double cpuAtPlaying = 0;
    while (!(untilPlaying && run.timeToPlayingMs)) {
        const std::optional<std::string> line = player.nextLine(deadline);
        if (!line)
            break;
        if (line->find("UNDERRUN") != std::string::npos)
            ++run.underruns;
        const size_t mark = line->find(playingPattern);
        if (mark == std::string::npos || run.timeToPlayingMs)
            continue;
        run.timeToPlayingMs = fromStart ? msSince(started) : std::atof(line->c_str() + mark + 7);
        cpuAtPlaying = threadCpuSeconds(player.pid());
        playingSince = Clock::now();
        if (afterPlaying)
            deadline = playingSince + span;
    }
    if (!(untilPlaying && run.timeToPlayingMs))
        player.drainUntil(deadline);
    if (run.timeToPlayingMs) {
        run.playingCpuSeconds = threadCpuSeconds(player.pid()) - cpuAtPlaying;
        run.playingSeconds = std::chrono::duration<double>(Clock::now() - playingSince).count();
        run.ussMiB = ussMiB(player.pid(), run.dirtyMiB);
    }
    const rusage usage = player.end();
    run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                     usage.ru_stime.tv_usec / 1e6;
    run.peakRssMiB = usage.ru_maxrss / 1024.0;
    return run;
}

// A radio server with no slack at all: it answers with an MP3 stream and sends it at exactly
// the stream's bit rate from the first byte, as a server on a link just wide enough does.
class TrickleServer
{
public:
    TrickleServer(QByteArray mp3, int bytesPerSecond)
        : m_mp3(std::move(mp3))
        , m_rate(bytesPerSecond)
    {
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (m_socket < 0 || bind(m_socket, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            listen(m_socket, 8) != 0 ||
            getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~TrickleServer()
    {
        m_stop = true;
        if (m_socket >= 0)
            shutdown(m_socket, SHUT_RDWR);
        if (m_thread.joinable())
            m_thread.join();
        if (m_socket >= 0)
            close(m_socket);
    }
    std::string url() const
    {
        return m_port ? "http://127.0.0.1:" + std::to_string(m_port) + "/trickle.mp3" : "";
    }

private:
    // One listener at a time, as the benchmark plays them in turn.
    void serve()
    {
        while (!m_stop) {
            const int client = accept(m_socket, nullptr, nullptr);
            if (client < 0)
                return;
            char request[2048];
            (void)!recv(client, request, sizeof request, 0);
            const std::string head = "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n";
            bool ok = send(client, head.data(), head.size(), MSG_NOSIGNAL) > 0;
            const Clock::time_point start = Clock::now();
            qsizetype sent = 0;
            while (ok && !m_stop && sent < m_mp3.size()) {
                const double due = std::chrono::duration<double>(Clock::now() - start).count();
                const qsizetype until = std::min<qsizetype>(m_mp3.size(), qsizetype(due * m_rate));
                if (until > sent) {
                    const ssize_t n =
                        send(client, m_mp3.constData() + sent, size_t(until - sent), MSG_NOSIGNAL);
                    ok = n > 0;
                    sent += std::max<ssize_t>(n, 0);
                }
                usleep(10000);
            }
            close(client);
        }
    }

    QByteArray m_mp3;
    int m_rate;
    int m_socket = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// One line of the summary table.
void figure(const char* bench, const std::string& what, double value, const char* unit,
            const std::string& reference, double referenceValue, const char* target)
{
    std::printf("figure|%s|%s|%.2f|%s|%s|%.2f|%s\n", bench, what.c_str(), value, unit,
                reference.c_str(), referenceValue, target);
}

// One line of the summary table whose ratio is the median of paired ratios, with the lowest and
// the highest of them; the verdict is judged on that median.
void pairedFigure(const char* bench, const std::string& what, double value, const char* unit,
                  const std::string& reference, double referenceValue, const char* target,
                  double ratio, double lowest, double highest)
{
    std::printf("figure|%s|%s|%.3f|%s|%s|%.3f|%s|%.3f|%.3f|%.3f\n", bench, what.c_str(), value,
                unit, reference.c_str(), referenceValue, target, ratio, lowest, highest);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    if (values.empty())
        return -1;
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double lowest(const std::vector<double>& values)
{
    return values.empty() ? -1 : *std::min_element(values.begin(), values.end());
}

double highest(const std::vector<double>& values)
{
    return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

// The runs of the cost pairs of one kind (animation on, or off) and their ratios.
struct Pairs
{
    std::vector<Run> bare, program;
    std::vector<double> cpuRatios, allCpuRatios;

    void add(const Run& base, const Run& ours)
    {
        if (!base.timeToPlayingMs || !ours.timeToPlayingMs || base.playingCpuSeconds <= 0)
            return;
        bare.push_back(base);
        program.push_back(ours);
        cpuRatios.push_back(ours.playingCpuSeconds / base.playingCpuSeconds);
        allCpuRatios.push_back(ours.cpuSeconds / base.cpuSeconds);
    }
    template <typename Field> static double medianOf(const std::vector<Run>& runs, Field field)
    {
        std::vector<double> values;
        for (const Run& run : runs)
            values.push_back(std::invoke(field, run));
        return median(values);
    }
};

// The mounts the start figures compare, from the one tone source: AAC beside the MP3, and MP3,
// AAC and MP3 announced as application/octet-stream on mounts that send no burst on connect.
IcecastServer::Mounts startMounts()
{
    IcecastServer::Mounts more;
    const QString aac = u"-c:a aac -b:a 128k -ac 2 -content_type audio/aac -f adts %1/%2"_s;
    for (const QString& output :
         {aac.arg(u"%1"_s, u"tone.aac"_s),
          IcecastServer::mp3Output(u"audio/mpeg"_s, u"noburst.mp3"_s),
          aac.arg(u"%1"_s, u"noburst.aac"_s),
          IcecastServer::mp3Output(u"application/octet-stream"_s, u"noburst.bin"_s)}) {
        more.outputs.append(output);
        const QString mount = output.section(u'/', -1);
        if (mount.startsWith(u"noburst"_s))
            more.config += "<mount type=\"normal\"><mount-name>/" + mount.toUtf8() +
                           "</mount-name><burst-size>0</burst-size></mount>\n";
    }
    return more;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s BARE_PROGRAM QT_PROGRAM [SECONDS [PAIRS]]\n", argv[0]);
        return 2;
    }
    const std::string bare = argv[1];
    const std::string qt = argv[2];
    const int seconds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 30;
    const int pairs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    IcecastServer server(startMounts());
    if (!server.start()) {
        std::fprintf(stderr, "The local Icecast station did not start: %s\n",
                     qPrintable(server.error()));
        return 1;
    }
    const auto url = [&](const char* mount) {
        return server.url(QString::fromLatin1(mount)).toStdString();
    };
    std::printf("Local Icecast on port %u, %d s playing per run, %d pairs with the animation on "
                "and %d with it off\n\n",
                server.port(), seconds, pairs, pairs);
    std::fflush(stdout);

    // Cost while playing: interleaved pairs, each back to back on the same mount.
    const std::string mount = url("/tone.mp3");
    const auto play = [&](std::vector<std::string> argv) {
        argv.push_back(mount);
        return measure(argv, seconds, false, false, "PLAYING", true);
    };
    std::printf("%-5s %-14s %12s %12s %8s %12s %12s %8s\n", "pair", "program", "bare CPU",
                "prog. CPU", "ratio", "bare all", "prog. all", "ratio");
    Pairs on, off;
    for (int i = 0; i < pairs; ++i) {
        for (const bool animation : {true, false}) {
            const std::vector<std::string> ours =
                animation ? std::vector<std::string>{qt}
                          : std::vector<std::string>{qt, "--no-animation"};
            // Which of the two goes first alternates, so that a drift in the machine's load
            // does not always fall on the same side.
            const bool bareFirst = (i + (animation ? 0 : 1)) % 2 == 0;
            Run base, program;
            if (bareFirst) {
                base = play({bare});
                program = play(ours);
            } else {
                program = play(ours);
                base = play({bare});
            }
            (animation ? on : off).add(base, program);
            std::printf("%-5d %-14s %10.3f s %10.3f s %7.2fx %10.2f s %10.2f s %7.2fx\n", i + 1,
                        animation ? "animation on" : "animation off", base.playingCpuSeconds,
                        program.playingCpuSeconds,
                        base.playingCpuSeconds > 0
                            ? program.playingCpuSeconds / base.playingCpuSeconds
                            : -1,
                        base.cpuSeconds, program.cpuSeconds,
                        base.cpuSeconds > 0 ? program.cpuSeconds / base.cpuSeconds : -1);
            std::fflush(stdout);
        }
    }
    const Run window = measure({qt, "--bare-window", mount}, std::min(seconds, 10), false, false);
    std::printf("\n%-30s %12s %12s %10s %10s %10s %10s\n", "player (median of runs)", "to playing",
                "CPU playing", "CPU all", "USS MiB", "dirty MiB", "peak RSS");
    const auto costRow = [](const char* name, const std::vector<Run>& runs) {
        std::printf(
            "%-30s %9.0f ms %10.3f s %8.2f s %10.1f %10.1f %10.1f\n", name,
            Pairs::medianOf(runs, [](const Run& run) { return run.timeToPlayingMs.value_or(-1); }),
            Pairs::medianOf(runs, &Run::playingCpuSeconds), Pairs::medianOf(runs, &Run::cpuSeconds),
            Pairs::medianOf(runs, &Run::ussMiB), Pairs::medianOf(runs, &Run::dirtyMiB),
            Pairs::medianOf(runs, &Run::peakRssMiB));
    };
    std::vector<Run> bareRuns = on.bare;
    bareRuns.insert(bareRuns.end(), off.bare.begin(), off.bare.end());
    costRow("bare libmpv", bareRuns);
    costRow("program, animation on", on.program);
    costRow("program, animation off", off.program);
    costRow("bare Qt window, same list", {window});
    const auto spread = [](const char* name, const std::vector<double>& ratios) {
        std::printf("%-30s median %.2fx, lowest %.2fx, highest %.2fx over %zu pairs\n", name,
                    median(ratios), lowest(ratios), highest(ratios), ratios.size());
    };
    std::printf("\nCPU while playing (%d s from the first sound), program / bare libmpv:\n",
                seconds);
    spread("  animation on", on.cpuRatios);
    spread("  animation off", off.cpuRatios);
    std::printf("\n");
    std::fflush(stdout);

    // A short run of the cost alone, e.g. while working on it.
    const char* costOnly = std::getenv("BENCH_PLAYBACK_COST_ONLY");
    const bool startsToo = !costOnly || std::strcmp(costOnly, "1") != 0;

    if (startsToo) {
        // Time to playing on every kind of mount, for each player.
        const bool haveMpv = !QStandardPaths::findExecutable(u"mpv"_s).isEmpty();
        const bool haveGst = !QStandardPaths::findExecutable(u"gst-play-1.0"_s).isEmpty();
        struct Mount
        {
            const char* label;
            const char* path;
        };
        const Mount mounts[] = {{"burst MP3", "/tone.mp3"},
                                {"no burst MP3", "/noburst.mp3"},
                                {"burst AAC", "/tone.aac"},
                                {"no burst AAC", "/noburst.aac"},
                                {"no burst, wrong type", "/noburst.bin"}};
        constexpr int Starts = 3;
        std::printf("%-22s %14s %14s %14s %14s   (median of %d starts)\n", "time to playing",
                    "bare libmpv", "mpv command*", "gst-play-1.0*", "program", Starts);
        for (const Mount& mount : mounts) {
            const std::string address = url(mount.path);
            struct Peer
            {
                const char* name;
                std::vector<std::string> argv;
                bool fromStart;
                std::string pattern;
                bool present;
            };
            const Peer peers[] = {
                {"bare libmpv", {bare, address}, false, "PLAYING", true},
                {"mpv command line",
                 {"mpv", "--no-config", "--ao=null", "--no-video", "--term-playing-msg=PLAYING",
                  address},
                 true,
                 "PLAYING",
                 haveMpv},
                // gst-play prints its position once the pipeline plays.
                {"gst-play-1.0",
                 {"gst-play-1.0", "--audiosink=fakesink sync=true", address},
                 true,
                 " / ",
                 haveGst},
                {"program", {qt, "--no-animation", address}, false, "PLAYING", true},
            };
            std::vector<double> medians;
            for (const Peer& peer : peers) {
                std::vector<double> times;
                for (int i = 0; peer.present && i < Starts; ++i) {
                    const Run run = measure(peer.argv, 10, peer.fromStart, true, peer.pattern);
                    if (run.timeToPlayingMs)
                        times.push_back(*run.timeToPlayingMs);
                }
                medians.push_back(median(times));
            }
            std::printf("%-22s", mount.label);
            for (const double m : medians) {
                if (m < 0)
                    std::printf("%14s", "-");
                else
                    std::printf("%11.0f ms", m);
            }
            std::printf("\n");
            std::fflush(stdout);

            const double ours = medians.back();
            if (ours < 0)
                continue;
            const bool burst = std::strncmp(mount.label, "burst", 5) == 0;
            if (burst) {
                if (medians[0] > 0)
                    figure("start", std::string("to playing, ") + mount.label, ours, "ms",
                           "bare libmpv", medians[0], "<=1.1x");
                continue;
            }
            figure("start", std::string("to playing, ") + mount.label, ours, "ms", "limit", 500,
                   "<=1x");
            std::size_t fastest = 0;
            for (std::size_t i = 1; i + 1 < medians.size(); ++i) {
                if (medians[i] > 0 && (medians[fastest] < 0 || medians[i] < medians[fastest]))
                    fastest = i;
            }
            if (medians[fastest] > 0)
                figure("start", std::string("to playing, ") + mount.label, ours, "ms",
                       std::string("fastest peer: ") + peers[fastest].name, medians[fastest],
                       "<1x");
        }
        std::printf("* from the process start, its own start-up included\n\n");

        // Stalls on a server that sends at exactly the bit rate.
        QTemporaryDir dir;
        const QString mp3Path = dir.filePath(u"tone.mp3"_s);
        QProcess::execute(u"ffmpeg"_s,
                          {u"-nostdin"_s, u"-loglevel"_s, u"error"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                           u"sine=frequency=440:sample_rate=44100:duration=60"_s, u"-c:a"_s,
                           u"libmp3lame"_s, u"-b:a"_s, u"128k"_s, u"-ac"_s, u"2"_s, mp3Path});
        QFile mp3(mp3Path);
        if (mp3.open(QIODevice::ReadOnly)) {
            TrickleServer trickle(mp3.readAll(), 128000 / 8);
            constexpr int TrickleSeconds = 20;
            const Run bareTrickle = measure({bare, trickle.url()}, TrickleSeconds, false, false);
            const Run ourTrickle =
                measure({qt, "--no-animation", trickle.url()}, TrickleSeconds, false, false);
            std::printf("trickling server, first %d s: bare libmpv %.0f ms to playing, %d stalls; "
                        "program %.0f ms, %d stalls\n\n",
                        TrickleSeconds, bareTrickle.timeToPlayingMs.value_or(-1),
                        bareTrickle.underruns, ourTrickle.timeToPlayingMs.value_or(-1),
                        ourTrickle.underruns);
            if (ourTrickle.timeToPlayingMs)
                figure("trickle", "stalls in the first " + std::to_string(TrickleSeconds) + " s",
                       ourTrickle.underruns, "", "bare libmpv", bareTrickle.underruns, "<=0");
        }
    }

    const auto cpuFigure = [&](const char* what, const Pairs& kind, const char* target) {
        if (kind.cpuRatios.empty())
            return;
        pairedFigure("playback", what, Pairs::medianOf(kind.program, &Run::playingCpuSeconds), "s",
                     "bare libmpv", Pairs::medianOf(kind.bare, &Run::playingCpuSeconds), target,
                     median(kind.cpuRatios), lowest(kind.cpuRatios), highest(kind.cpuRatios));
    };
    cpuFigure("CPU while playing, animation on", on, "<=1.1x");
    cpuFigure("CPU while playing, animation off", off, "<=1.05x");
    if (!on.allCpuRatios.empty())
        pairedFigure("playback", "CPU start + " + std::to_string(seconds) + " s playing",
                     Pairs::medianOf(on.program, &Run::cpuSeconds), "s", "bare libmpv",
                     Pairs::medianOf(on.bare, &Run::cpuSeconds), "-", median(on.allCpuRatios),
                     lowest(on.allCpuRatios), highest(on.allCpuRatios));
    if (!on.program.empty() && window.timeToPlayingMs) {
        figure("playback", "private memory (USS)", Pairs::medianOf(on.program, &Run::ussMiB), "MiB",
               "bare libmpv + bare Qt + 10",
               Pairs::medianOf(bareRuns, &Run::ussMiB) + window.ussMiB + 10, "<=1x");
        figure("playback", "private dirty memory", Pairs::medianOf(on.program, &Run::dirtyMiB),
               "MiB", "bare libmpv + bare Qt + 10",
               Pairs::medianOf(bareRuns, &Run::dirtyMiB) + window.dirtyMiB + 10, "<=1x");
    }
    return 0;
}
