// Playlists of other players: every reader takes any bytes, and what it finds is a trimmed,
// non-empty address on one line. Whatever of it the list would take comes back the same from
// the playlists an export writes.
#include "FuzzSupport.h"
#include "stations/StationExport.h"
#include "stations/StationImport.h"
#include "stations/StationValueCheck.h"

#include <algorithm>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

void checkRoundTrip(const QList<ImportedStation>& found)
{
    QList<StationRecord> stations;
    QList<ImportedStation> taken;
    for (const ImportedStation& entry : found) {
        check(!entry.url.isEmpty() && entry.url == entry.url.trimmed() &&
                  entry.name == entry.name.trimmed(),
              "addresses and names trimmed, no empty address");
        if (!IsWebAddress(entry.url) ||
            !StationValueProblem(StationField::Name, entry.name).isEmpty() ||
            !StationValueProblem(StationField::Url, entry.url).isEmpty())
            continue;
        stations.append({entry.name, entry.url, u"0"_s, true, false});
        taken.append(entry);
    }
    for (const QString& file : {u"a.m3u8"_s, u"a.pls"_s})
        check(ReadPlaylistStations(PlaylistBytes(stations, PlaylistFormatOf(file)), file) == taken,
              "an exported playlist reads back as it was");
}

bool oneLineEach(const QList<ImportedStation>& found)
{
    return std::none_of(found.begin(), found.end(), [](const ImportedStation& entry) {
        return entry.name.contains(u'\n') || entry.url.contains(u'\n');
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArrayView bytes(data, qsizetype(size));
    const QList<ImportedStation> m3u = ReadM3uStations(bytes);
    const QList<ImportedStation> pls = ReadPlsStations(bytes);
    check(oneLineEach(m3u) && oneLineEach(pls), "a line-based entry stays on its line");
    checkRoundTrip(m3u);
    checkRoundTrip(pls);
    checkRoundTrip(ReadXspfStations(bytes));
    return 0;
}
