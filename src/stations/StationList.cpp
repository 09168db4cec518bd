#include "stations/StationList.h"

#include "base/ProcessState.h"
#include "stations/StationFile.h"

#include <QCollator>
#include <QSet>

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// Rewrites the current file keeping every complete record, with `replace` deciding per record
// whether it is dropped (empty result) or replaced (non-empty result) or kept (nullopt).
template <typename Decide> bool rewriteStations(Decide decide, QString* errorMessage)
{
    const QString path = StationFilePath();
    const QString text = ReadStationFile(path);
    if (text.isEmpty())
        return true;
    QString out;
    out.reserve(text.size() + 256);
    StationRecordScan scan(text);
    QStringView inner;
    while (scan.next(inner)) {
        const std::optional<QString> replacement = decide(GetStationUrl(inner));
        if (replacement)
            out += *replacement;
        else
            out += WrapStationRecord(inner);
    }
    return WriteStationFile(out, path, errorMessage);
}

QString flagText(bool on)
{
    return on ? u"1"_s : u"0"_s;
}

bool sameUrl(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool StationExists(const QString& url)
{
    if (url.isEmpty())
        return false;
    // Any URL field anywhere in the text counts, inside a record or not.
    const QString text = ReadStationFile(StationFilePath());
    const QStringView view(text);
    constexpr QStringView open = u"<stationurl>";
    constexpr QStringView close = u"</stationurl>";
    for (qsizetype pos = FindStationTag(view, open, 0); pos >= 0;
         pos = FindStationTag(view, open, pos + 1)) {
        const qsizetype start = pos + open.size();
        if (start + url.size() + close.size() > view.size())
            return false;
        if (view.mid(start, url.size()).compare(url, Qt::CaseInsensitive) == 0 &&
            FindStationTag(view.mid(start + url.size(), close.size()), close, 0) == 0)
            return true;
    }
    return false;
}

QSet<QString> StationUrlKeys(QStringView text)
{
    constexpr QStringView open = u"<stationurl>";
    constexpr QStringView close = u"</stationurl>";
    QSet<QString> keys;
    qsizetype end = -1; // the closing tag after the current opening one
    for (qsizetype pos = FindStationTag(text, open, 0); pos >= 0;) {
        const qsizetype start = pos + open.size();
        if (end < start)
            end = FindStationTag(text, close, start);
        if (end < 0)
            break;
        // A value holding the next opening tag is no URL the list can be given: left out, which
        // also keeps the copies linear.
        pos = FindStationTag(text, open, start);
        if (pos < 0 || pos > end)
            keys.insert(text.sliced(start, end - start).toString().toCaseFolded());
    }
    return keys;
}

bool AddStation(const QString& name, const QString& url, const QString& colour, const QString& bold,
                const QString& visible, QString* errorMessage)
{
    const QString path = StationFilePath();
    const QString text =
        ReadStationFile(path) + BuildStationRecord(name, url, colour, visible, bold);
    return WriteStationFile(text, path, errorMessage);
}

bool ReplaceStation(const QString& oldUrl, const QString& name, const QString& url,
                    const QString& colour, const QString& bold, const QString& visible,
                    QString* errorMessage)
{
    if (url.isEmpty() || oldUrl.isEmpty())
        return true;
    const QString record = BuildStationRecord(name, url, colour, visible, bold);
    return rewriteStations(
        [&](const QString& recordUrl) -> std::optional<QString> {
            if (sameUrl(recordUrl, oldUrl))
                return record;
            return std::nullopt;
        },
        errorMessage);
}

bool AddStation(const StationRecord& station, QString* errorMessage)
{
    return AddStation(station.name, station.url, station.colour, flagText(station.bold),
                      flagText(station.visible), errorMessage);
}

bool ReplaceStation(const QString& oldUrl, const StationRecord& station, QString* errorMessage)
{
    return ReplaceStation(oldUrl, station.name, station.url, station.colour, flagText(station.bold),
                          flagText(station.visible), errorMessage);
}

bool DeleteStation(const QString& url, QString* errorMessage)
{
    return rewriteStations(
        [&](const QString& recordUrl) -> std::optional<QString> {
            if (sameUrl(recordUrl, url))
                return QString(); // dropped
            return std::nullopt;
        },
        errorMessage);
}

QList<StationRecord> StationListEntries(QStringView text, StationFilter filter)
{
    QList<StationRecord> entries;
    QSet<QString> seenUrls;
    StationRecordScan scan(text);
    QStringView inner;
    while (scan.next(inner)) {
        StationRecord record = ParseStationRecord(inner);
        if (record.name.isEmpty() || record.url.isEmpty())
            continue;
        if (filter == StationFilter::VisibleOnly && !record.visible)
            continue;
        // Lists are keyed by URL: of several records with one URL the first is listed.
        const QString key = record.url.toCaseFolded();
        if (seenUrls.contains(key))
            continue;
        seenUrls.insert(key);
        entries.append(std::move(record));
    }

    // Sort by name in Czech order ("Č" after "C"); sort keys keep a large list fast.
    QCollator collator{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (const StationRecord& record : entries)
        keys.push_back(collator.sortKey(record.name));
    std::vector<qsizetype> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    QList<StationRecord> sorted;
    sorted.reserve(entries.size());
    for (const qsizetype i : order)
        sorted.append(std::move(entries[i]));
    return sorted;
}

QString StationCountText(qsizetype n)
{
    if (n <= 0)
        return u"Žádné stanice"_s;
    if (n <= 4)
        return u"Celkem %1 stanice"_s.arg(n);
    return u"Celkem %1 stanic"_s.arg(n);
}

quint32 StationColourValue(const QString& colour)
{
    bool ok = false;
    const int value = colour.trimmed().toInt(&ok);
    return ok ? static_cast<quint32>(value) : 0u;
}
