// Station list figures: every file operation against the time to merely read and decode the
// same bytes, and filling the main list against filling the same widget in a bare loop.
#include "app/MpvPlayer.h"
#include "app/ProcessState.h"
#include "app/UserPrompts.h"
#include "app/frmMain.h"
#include "stations/Cp1250.h"
#include "stations/SettingsStore.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Median wall time of a few runs, in milliseconds.
double medianMs(int runs, const std::function<void()>& setup, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QByteArray generateList(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        const QByteArray n = QByteArray::number(i);
        bytes += "<radiostation><stationname>Stanice \xC8"
                 "esk\xE1 " +
                 n + "</stationname><stationurl>http://radio.example/stream/" + n +
                 ".mp3</stationurl><stationcolor>" + QByteArray::number(i * 97 % 16777216) +
                 "</stationcolor><visible>" + (i % 10 ? "1" : "0") + "</visible><bold>" +
                 (i % 7 ? "0" : "1") + "</bold></radiostation>";
    }
    return bytes + "\r\n";
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    SettingsStore settings(dir.path());
    DialogPrompts prompts;
    frmMain window({settings, prompts, dir.path(), std::make_unique<MpvPlayer>(u"null"_s)});

    std::printf("%-9s %-24s %10s %8s %s\n", "stations", "operation", "ms", "ratio", "reference");
    for (const int count : {1000, 10000, 100000}) {
        const int runs = count >= 100000 ? 3 : 7;
        const QByteArray bytes = generateList(count);
        const QString path = dir.filePath(u"list.ksl"_s);
        writeBytes(path, bytes);
        setStationFilePath(path);
        const auto none = [] {};
        const auto restore = [&] { writeBytes(path, bytes); };

        const double raw = medianMs(runs, none, [&] {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            const QString text = Cp1250::decode(file.readAll());
            Q_UNUSED(text);
        });
        const double scan = medianMs(runs, none, [&] {
            const QString text = ReadStationFile(path);
            StationRecordScan records(text);
            QStringView inner;
            qsizetype named = 0;
            while (records.next(inner))
                named += ParseStationRecord(inner).name.isEmpty() ? 0 : 1;
            Q_UNUSED(named);
        });
        const QString lastUrl = u"http://radio.example/stream/%1.mp3"_s.arg(count - 1);
        const double exists = medianMs(runs, none, [&] { StationExists(lastUrl); });
        const double add = medianMs(runs, restore, [&] {
            (void)AddStation(u"Nová"_s, u"http://new"_s, u"0"_s, u"0"_s, u"1"_s);
        });
        const double remove = medianMs(runs, restore, [&] { (void)DeleteStation(lastUrl); });
        const double replace = medianMs(runs, restore, [&] {
            (void)ReplaceStation(lastUrl, u"Jiná"_s, u"http://other"_s, u"0"_s, u"0"_s, u"1"_s);
        });
        restore();
        const double load = medianMs(runs, none, [&] { window.LoadStationList(); });

        // The reference fill: the same number of plain items in a bare loop.
        const int shown = window.ListView1()->topLevelItemCount();
        QTreeWidget bare;
        bare.setColumnCount(2);
        const double bareFill = medianMs(
            runs, [&] { bare.clear(); },
            [&] {
                for (int i = 0; i < shown; ++i)
                    new QTreeWidgetItem(&bare, QStringList{u"Stanice %1"_s.arg(i)});
            });

        const auto row = [&](const char* name, double ms, double reference, const char* refName) {
            std::printf("%-9d %-24s %10.2f %8.2f %s\n", count, name, ms, ms / reference, refName);
        };
        row("read+decode", raw, raw, "read+decode");
        row("ReadStationFile+scan", scan, raw, "read+decode");
        row("StationExists", exists, raw, "read+decode");
        row("AddStation", add, raw, "read+decode");
        row("ReplaceStation", replace, raw, "read+decode");
        row("DeleteStation", remove, raw, "read+decode");
        row("bare list fill", bareFill, bareFill, "bare fill");
        row("LoadStationList", load, bareFill, "bare fill");
    }
    std::printf("targets: file operations <= 5x read+decode; LoadStationList <= 2x bare fill\n");
    return 0;
}
