// Station list figures: every file operation against the time to merely read and decode the
// same bytes (and the changes also against writing and flushing the same bytes through a save
// file), filling the main list against filling the same widget in a bare loop, and reading
// hostile files of 10 and 50 MB in milliseconds per MB. Lines starting with "figure|" are for
// bench/run_all.sh.
#include "HostileStationFile.h"
#include "app/DialogPrompts.h"
#include "app/MpvPlayer.h"
#include "app/frmMain.h"
#include "base/ProcessState.h"
#include "stations/Cp1250.h"
#include "stations/SettingsStore.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
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

// One line of the summary table: value, its reference and the target ratio.
void figure(const QByteArray& what, double value, const char* unit, const QByteArray& reference,
            double referenceValue, const char* target)
{
    std::printf("figure|station lists|%s|%.3f|%s|%s|%.3f|%s\n", what.constData(), value, unit,
                reference.constData(), referenceValue, target);
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
        // What any safe write costs: the same bytes to a save file, flushed to the disk, after
        // the same rewrite of the list that precedes each change above.
        const double flushed = medianMs(runs, restore, [&] {
            QSaveFile file(dir.filePath(u"flushed.ksl"_s));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
            file.commit();
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
        row("write+flush same bytes", flushed, raw, "read+decode");
        row("bare list fill", bareFill, bareFill, "bare fill");
        row("LoadStationList", load, bareFill, "bare fill");

        const QByteArray n = QByteArray::number(count);
        struct Operation
        {
            const char* name;
            double ms;
            bool writes;
            const char* target;
        };
        for (const Operation& op : {Operation{"ReadStationFile+scan", scan, false, "<=3x"},
                                    Operation{"StationExists", exists, false, "<=2x"},
                                    Operation{"AddStation", add, true, "<=5x"},
                                    Operation{"ReplaceStation", replace, true, "<=5x"},
                                    Operation{"DeleteStation", remove, true, "<=5x"}}) {
            const QByteArray what = op.name + (" " + n);
            figure(what, op.ms, "ms", "read+decode " + n, raw, op.target);
            if (op.writes)
                figure(what, op.ms, "ms", "write+flush " + n, flushed, "-");
        }
        figure("LoadStationList " + n, load, "ms", "bare fill " + n, bareFill, "<=2x");
    }

    // Hostile files: the time per MB stays flat when the file grows, so reading is linear.
    std::printf("\n%-9s %-24s %10s %10s\n", "MB", "hostile file", "ms", "ms/MB");
    for (const int megabytes : {10, 50}) {
        const QByteArray bytes = HostileStationBytes(qsizetype(megabytes) << 20);
        const QString path = dir.filePath(u"hostile.ksl"_s);
        writeBytes(path, bytes);
        const double raw = medianMs(
            3, [] {},
            [&] {
                QFile file(path);
                file.open(QIODevice::ReadOnly);
                const QString text = Cp1250::decode(file.readAll());
                Q_UNUSED(text);
            });
        const double read = medianMs(
            3, [] {},
            [&] {
                const QString text = ReadStationFile(path);
                const QList<StationRecord> entries = StationListEntries(text, StationFilter::All);
                Q_UNUSED(entries);
            });
        std::printf("%-9d %-24s %10.1f %10.2f\n", megabytes, "read+decode", raw, raw / megabytes);
        std::printf("%-9d %-24s %10.1f %10.2f\n", megabytes, "ReadStationFile+entries", read,
                    read / megabytes);
        const QByteArray mb = QByteArray::number(megabytes);
        figure("hostile file " + mb + " MB", read / megabytes, "ms/MB", "read+decode " + mb + " MB",
               raw / megabytes, "flat per MB");
    }
    std::printf(
        "targets: reading and scanning <= 3x read+decode, StationExists <= 2x, changes <= 5x;"
        " LoadStationList <= 2x bare fill\n");
    return 0;
}
