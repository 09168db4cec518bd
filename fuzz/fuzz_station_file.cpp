// Station list files as the program reads them: decoding, the record scan, the field parser and
// the list entries, then a rewrite of the same file by deleting and replacing a station.
#include "FuzzSupport.h"
#include "base/ProcessState.h"
#include "stations/Cp1250.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"

#include <QByteArrayView>
#include <QFile>

#include <cstdint>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // Every byte decodes and encodes back to itself.
    bool encoded = false;
    check(Cp1250::encode(Cp1250::decode(bytes), &encoded) == bytes, "Windows-1250 round trip");
    check(encoded, "Windows-1250 round trip flag");

    const QString text = DecodeStationText(bytes);
    StationRecordScan scan(text);
    QStringView inner;
    qsizetype records = 0;
    while (scan.next(inner)) {
        ++records;
        const StationRecord record = ParseStationRecord(inner);
        check(GetStationUrl(inner) == record.url, "the URL alone equals the parsed URL");
        // A record carried over by a rewrite scans back to the same inner text.
        const QString wrapped = WrapStationRecord(inner);
        StationRecordScan again(wrapped);
        QStringView back;
        check(again.next(back) && back == inner && !again.next(back), "a wrapped record");
    }
    const QList<StationRecord> all = StationListEntries(text, StationFilter::All);
    const QList<StationRecord> visible = StationListEntries(text, StationFilter::VisibleOnly);
    check(all.size() <= records && visible.size() <= all.size(), "entry counts");

    // The rewrites go through a real file; large inputs only cost time there.
    if (size > 64 * 1024 || all.isEmpty())
        return 0;
    const QString path = fuzzFolder().filePath(u"list.ksl"_s);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes.data(), bytes.size());
    }
    setStationFilePath(path);
    const QString url = all.constFirst().url;
    check(StationExists(url), "a listed station exists");
    check(ReplaceStation(url, u"Nová"_s, u"http://nová/"_s, u"0"_s, u"0"_s, u"1"_s),
          "replace writes");
    check(DeleteStation(u"http://nová/"_s), "delete writes");
    // Without CR and tabs the text reads back as it was written, so the station has gone.
    if (!text.contains(u'\r')) {
        for (const StationRecord& r : StationListEntries(ReadStationFile(path), StationFilter::All))
            check(r.url.compare(u"http://nová/"_s, Qt::CaseInsensitive) != 0, "deleted");
    }
    return 0;
}
