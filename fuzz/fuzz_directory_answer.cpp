// The station directory's answers: the input is what a server (or anything posing as one) sends
// to a search, to the country list or to a vote. Whatever it is, the results must be few, sorted,
// playable and shown on one line each.
#include "FuzzSupport.h"
#include "base/ControlCharacters.h"
#include "directory/DirectoryAnswer.h"

#include <QLocale>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray answer(reinterpret_cast<const char*>(data), qsizetype(size));

    if (const auto stations = Directory::ParseStations(answer)) {
        for (const bool includeBroken : {false, true}) {
            const QList<Directory::Station> shown =
                Directory::SearchResults(*stations, includeBroken);
            check(shown.size() <= Directory::MaxResults, "at most the maximum of results");
            for (qsizetype i = 0; i < shown.size(); ++i) {
                const Directory::Station& s = shown.at(i);
                check(!s.name.isEmpty() && !s.streamUrl().isEmpty(), "a playable station");
                check(!s.name.contains(u'\n') && !s.name.contains(u'\r'), "a name on one line");
                check(includeBroken || s.lastCheckOk, "no failing station unless asked");
                check(s.bitrate >= 0 && s.clickCount >= 0, "counts not negative");
                check(i == 0 || shown.at(i - 1).clickCount >= s.clickCount, "most played first");
                Directory::CodecText(s);
                Directory::BitrateText(s.bitrate);
                Directory::TagsText(s.tags);
            }
        }
    }

    if (const auto countries = Directory::ParseCountries(answer)) {
        for (const QLocale& locale : {QLocale(QLocale::Czech), QLocale(QLocale::English)}) {
            const auto choices = Directory::CountryChoices(*countries, locale);
            check(!choices.isEmpty(), "a country choice");
            qsizetype every = 0;
            for (const Directory::CountryChoice& c : choices)
                every += c.code.isEmpty() ? 1 : 0;
            check(every == 1, "one entry for every country");
        }
    }

    if (const auto vote = Directory::ParseVote(answer)) {
        check(vote->message.size() <= Directory::MaxMessageLength &&
                  !HasControlCharacter(vote->message),
              "the directory's message short and on one line");
    }
    return 0;
}
