#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QUrl>

#include <optional>

// The station directory's questions and answers as plain values: the addresses of its search,
// country list, click and vote calls, and tolerant readers of its JSON answers. A field that is
// missing or of the wrong type takes its empty value; an entry without a name or a stream
// address is left out, since nobody could play it.
namespace Directory {

inline constexpr int MaxResults = 200;
// Answers beyond this size are refused before they are read whole.
inline constexpr qint64 MaxAnswerBytes = 4 * 1024 * 1024;
// There are fewer than 250 countries; a longer list is no list of countries.
inline constexpr qsizetype MaxCountries = 300;
// The directory's own words are shown in one status line: longer ones are cut.
inline constexpr qsizetype MaxMessageLength = 160;

struct Station
{
    QString uuid;
    QString name;
    QString url;
    QString urlResolved;
    QString country;
    QString countryCode;
    QString codec;
    QString tags;
    int bitrate = 0;
    bool hls = false;
    bool lastCheckOk = true;
    qint64 clickCount = 0;

    // What the player gets: the resolved address when the directory gives one.
    QString streamUrl() const { return urlResolved.isEmpty() ? url : urlResolved; }
};

struct Country
{
    QString code; // ISO 3166-1 alpha-2, upper case
    QString name;
    int stationCount = 0;
};

struct SearchQuery
{
    QString name{};
    QString countryCode{}; // empty: every country
    QString tag{};
    bool includeBroken = false;
};

QUrl SearchUrl(const QUrl& base, const SearchQuery& query);
QUrl CountriesUrl(const QUrl& base);
// The call by which the directory counts that a station was played.
QUrl ClickUrl(const QUrl& base, const QString& uuid);
// The call by which the user gives the station a vote.
QUrl VoteUrl(const QUrl& base, const QString& uuid);

// The directory's answer to a vote: whether it counted it, and its message, on one line without
// control characters, at most MaxMessageLength characters.
struct VoteAnswer
{
    bool ok = false;
    QString message;
};

// Empty when the answer is not a JSON array. Anyone can enter a station into the directory, so
// only stations whose stream address (the resolved one, else the plain one) is an http or
// https address with a host are taken: never a file or any other kind of address.
std::optional<QList<Station>> ParseStations(const QByteArray& answer);
// Countries with a code of two letters A-Z and at least one station, each code once, at most
// MaxCountries of them.
std::optional<QList<Country>> ParseCountries(const QByteArray& answer);
// Empty when the answer is not a JSON object.
std::optional<VoteAnswer> ParseVote(const QByteArray& answer);

// Whether the address is an http or https address with a host.
bool IsWebAddress(const QString& address);

// The results to show: without failing stations unless asked for, most played first, at most
// MaxResults.
QList<Station> SearchResults(QList<Station> stations, bool includeBroken);

// "MP3", "AAC", "HLS" for a stream in segments; empty when unknown.
QString CodecText(const Station& station);
// "128 kbps"; empty when unknown.
QString BitrateText(int kbps);
// The tags as a list to read: "jazz, swing".
QString TagsText(const QString& tags);
// The name to show for a country: Czech for the Czech Republic, the directory's name otherwise.
QString CountryName(const QString& code, const QString& directoryName);

// One entry of the country choice: the code to search for (empty for every country) and its text.
struct CountryChoice
{
    QString code;
    QString text;
};

// The country choice: every country with its station count, by name; the entry for every
// country first, except on a Czech system, where "Česko" comes first. The first entry is the
// default.
QList<CountryChoice> CountryChoices(const QList<Country>& countries, const QLocale& locale);

// The Czech count of found stations: "Nalezeno 5 stanic".
QString FoundText(qsizetype n);

} // namespace Directory
