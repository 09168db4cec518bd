// Adding stations from outside (the editor, the station directory): whatever name and address
// the value check lets through, the list reads back with exactly the stations that were there
// and the new one with exactly that name and address, and nothing else.
#include "FuzzSupport.h"
#include "base/ProcessState.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"
#include "stations/StationValueCheck.h"

#include <QFile>

#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

QList<std::pair<QString, QString>> readBack(const QString& path)
{
    QList<std::pair<QString, QString>> stations;
    const QString text = ReadStationFile(path);
    StationRecordScan scan(text);
    QStringView inner;
    while (scan.next(inner)) {
        const StationRecord r = ParseStationRecord(inner);
        check(r.visible && !r.bold && r.colour == u"0"_s, "the flags as written");
        stations.append({r.name, r.url});
    }
    return stations;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 16 * 1024)
        return 0;
    // Names and addresses in turn, separated by the record separator U+001E.
    const QStringList values =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'\x1e');
    const QString path = fuzzFolder().filePath(u"added.ksl"_s);
    QFile::remove(path);
    setStationFilePath(path);

    QList<std::pair<QString, QString>> expected;
    for (qsizetype i = 0; i + 1 < values.size(); i += 2) {
        const QString& name = values.at(i);
        const QString& url = values.at(i + 1);
        if (!StationValueProblem(StationField::Name, name).isEmpty() ||
            !StationValueProblem(StationField::Url, url).isEmpty())
            continue;
        check(AddStation(name, url, u"0"_s, u"0"_s, u"1"_s), "add writes");
        expected.append({name, url});
        check(readBack(path) == expected, "the list holds what was added, and only that");
    }
    return 0;
}
