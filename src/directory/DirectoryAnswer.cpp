#include "directory/DirectoryAnswer.h"

#include "base/ControlCharacters.h"

#include <QCollator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Directory {

namespace {

QUrl withPath(const QUrl& base, const QString& path)
{
    QUrl url = base;
    QString basePath = base.path();
    while (basePath.endsWith(u'/'))
        basePath.chop(1);
    url.setPath(basePath + path);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

QString text(const QJsonObject& object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (value.isString())
        return value.toString().trimmed();
    if (value.isDouble())
        return QString::number(value.toDouble());
    return QString();
}

// Numbers come as numbers, or as their text from some mirrors.
qint64 number(const QJsonObject& object, QLatin1StringView key, qint64 fallback = 0)
{
    const QJsonValue value = object.value(key);
    double n = 0;
    if (value.isDouble()) {
        n = value.toDouble();
    } else if (value.isString()) {
        bool ok = false;
        n = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            return fallback;
    } else if (value.isBool()) {
        return value.toBool() ? 1 : 0;
    } else {
        return fallback;
    }
    // NaN fails both comparisons; huge values are clamped.
    if (!(n >= 0))
        return 0;
    return n > 1e15 ? qint64(1e15) : qint64(n);
}

std::optional<QJsonArray> array(const QByteArray& answer)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(answer, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    return document.array();
}

} // namespace

QUrl SearchUrl(const QUrl& base, const SearchQuery& query)
{
    QUrl url = withPath(base, u"/json/stations/search"_s);
    QByteArrayList items;
    const auto add = [&items](const char* key, const QString& value) {
        if (!value.trimmed().isEmpty())
            items.append(key + ('=' + QUrl::toPercentEncoding(value.trimmed())));
    };
    add("name", query.name);
    add("countrycode", query.countryCode);
    add("tag", query.tag);
    items.append("order=clickcount&reverse=true&limit=" + QByteArray::number(MaxResults));
    items.append(query.includeBroken ? "hidebroken=false" : "hidebroken=true");
    url.setQuery(QString::fromLatin1(items.join('&')), QUrl::StrictMode);
    return url;
}

QUrl CountriesUrl(const QUrl& base)
{
    return withPath(base, u"/json/countries"_s);
}

QUrl ClickUrl(const QUrl& base, const QString& uuid)
{
    return withPath(base, u"/json/url/"_s + QString::fromLatin1(QUrl::toPercentEncoding(uuid)));
}

QUrl VoteUrl(const QUrl& base, const QString& uuid)
{
    return withPath(base, u"/json/vote/"_s + QString::fromLatin1(QUrl::toPercentEncoding(uuid)));
}

std::optional<QList<Station>> ParseStations(const QByteArray& answer)
{
    const std::optional<QJsonArray> entries = array(answer);
    if (!entries)
        return std::nullopt;
    QList<Station> stations;
    for (const QJsonValue& entry : *entries) {
        if (!entry.isObject())
            continue;
        const QJsonObject o = entry.toObject();
        Station s;
        s.uuid = text(o, "stationuuid"_L1);
        // One line: the station list keeps each record on a single line.
        s.name = text(o, "name"_L1).simplified();
        s.url = text(o, "url"_L1);
        s.urlResolved = text(o, "url_resolved"_L1);
        if (s.name.isEmpty() || !IsWebAddress(s.streamUrl()))
            continue;
        s.country = text(o, "country"_L1);
        s.countryCode = text(o, "countrycode"_L1).toUpper();
        s.codec = text(o, "codec"_L1);
        s.tags = text(o, "tags"_L1);
        s.bitrate = int(std::min<qint64>(number(o, "bitrate"_L1), 100000));
        s.hls = number(o, "hls"_L1) != 0;
        s.lastCheckOk = number(o, "lastcheckok"_L1, 1) != 0;
        s.clickCount = number(o, "clickcount"_L1);
        stations.append(s);
    }
    return stations;
}

std::optional<QList<Country>> ParseCountries(const QByteArray& answer)
{
    const std::optional<QJsonArray> entries = array(answer);
    if (!entries)
        return std::nullopt;
    QList<Country> countries;
    QSet<QString> seen;
    for (const QJsonValue& entry : *entries) {
        const QJsonObject o = entry.toObject();
        Country c;
        c.code = text(o, "iso_3166_1"_L1).toUpper();
        const auto isAsciiLetter = [](QChar l) { return l >= u'A' && l <= u'Z'; };
        const bool isCode =
            c.code.size() == 2 && std::all_of(c.code.begin(), c.code.end(), isAsciiLetter);
        c.stationCount = int(std::min<qint64>(number(o, "stationcount"_L1), 1'000'000'000));
        if (!isCode || c.stationCount <= 0 || seen.contains(c.code))
            continue;
        seen.insert(c.code);
        c.name = text(o, "name"_L1);
        countries.append(c);
        if (countries.size() == MaxCountries)
            break;
    }
    return countries;
}

std::optional<VoteAnswer> ParseVote(const QByteArray& answer)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(answer, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject o = document.object();
    const QJsonValue ok = o.value("ok"_L1);
    // Line breaks and tabs become spaces, other control characters go.
    QString message = text(o, "message"_L1).simplified();
    message.removeIf(IsControlCharacter);
    if (message.size() > MaxMessageLength) {
        // Cut between characters, not inside a surrogate pair.
        const qsizetype cut =
            MaxMessageLength - (message.at(MaxMessageLength - 2).isHighSurrogate() ? 2 : 1);
        message = message.left(cut) + u'…';
    }
    // Some mirrors send their booleans as text.
    return VoteAnswer{.ok = ok.toBool() || ok.toString().trimmed() == u"true"_s,
                      .message = message};
}

bool IsWebAddress(const QString& address)
{
    // A control character would reach the HTTP request or break the station list's record.
    if (HasControlCharacter(address))
        return false;
    const QUrl url(address);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == u"http"_s || scheme == u"https"_s) && !url.host().isEmpty();
}

QList<Station> SearchResults(QList<Station> stations, bool includeBroken)
{
    if (!includeBroken)
        stations.removeIf([](const Station& s) { return !s.lastCheckOk; });
    std::stable_sort(stations.begin(), stations.end(), [](const Station& a, const Station& b) {
        return a.clickCount > b.clickCount;
    });
    if (stations.size() > MaxResults)
        stations.resize(MaxResults);
    return stations;
}

QString CodecText(const Station& station)
{
    if (station.hls)
        return u"HLS"_s;
    return station.codec.compare(u"unknown"_s, Qt::CaseInsensitive) == 0 ? QString()
                                                                         : station.codec.toUpper();
}

QString BitrateText(int kbps)
{
    return kbps > 0 ? QString::number(kbps) + u" kbps"_s : QString();
}

QString TagsText(const QString& tags)
{
    QStringList parts;
    for (const QString& tag : tags.split(u',', Qt::SkipEmptyParts)) {
        if (const QString t = tag.trimmed(); !t.isEmpty())
            parts.append(t);
    }
    return parts.join(u", "_s);
}

QString CountryName(const QString& code, const QString& directoryName)
{
    if (code.compare(u"CZ"_s, Qt::CaseInsensitive) == 0)
        return u"Česko"_s;
    return directoryName.isEmpty() ? code.toUpper() : directoryName;
}

QList<CountryChoice> CountryChoices(const QList<Country>& countries, const QLocale& locale)
{
    struct Entry
    {
        QString code, name;
        int count;
    };
    QList<Entry> entries;
    QSet<QString> listed;
    bool czechListed = false;
    for (const Country& c : countries) {
        if (listed.contains(c.code))
            continue;
        listed.insert(c.code);
        entries.append({c.code, CountryName(c.code, c.name), c.stationCount});
        czechListed = czechListed || c.code == u"CZ"_s;
    }
    const bool czechFirst = locale.language() == QLocale::Czech;
    // Before the directory has sent its list the choice still offers the user's own country.
    if (!czechListed && czechFirst)
        entries.append({u"CZ"_s, CountryName(u"CZ"_s, {}), 0});
    QCollator collator(locale);
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (czechFirst && (a.code == u"CZ"_s) != (b.code == u"CZ"_s))
            return a.code == u"CZ"_s;
        return collator.compare(a.name, b.name) < 0;
    });

    QList<CountryChoice> choices;
    const CountryChoice every{QString(), u"Všechny země"_s};
    if (!czechFirst)
        choices.append(every);
    for (const Entry& e : entries) {
        const QString text = e.count > 0 ? u"%1 (%2)"_s.arg(e.name).arg(e.count) : e.name;
        choices.append({e.code, text});
        if (czechFirst && choices.size() == 1)
            choices.append(every);
    }
    if (choices.isEmpty())
        choices.append(every);
    return choices;
}

QString FoundText(qsizetype n)
{
    if (n == 0)
        return u"Nenalezena žádná stanice."_s;
    if (n == 1)
        return u"Nalezena 1 stanice."_s;
    if (n <= 4)
        return u"Nalezeny %1 stanice."_s.arg(n);
    return u"Nalezeno %1 stanic."_s.arg(n);
}

} // namespace Directory
