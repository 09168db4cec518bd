#include "stations/StationAdd.h"

#include "base/ProcessState.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"
#include "stations/StationValueCheck.h"

using namespace Qt::StringLiterals;

namespace {

// Without a list the station would go nowhere, however gladly the write says yes.
std::optional<StationAddProblem> noListProblem()
{
    if (!StationFilePath().isEmpty())
        return std::nullopt;
    return StationAddProblem{StationAddProblem::List,
                             u"Není vybrán žádný seznam stanic, stanici nelze přidat. "
                             u"Seznam vyberte v nastavení nebo příkazem "
                             u"„Vybrat seznam stanic“."_s};
}

QString flagText(bool on)
{
    return on ? u"1"_s : u"0"_s;
}

} // namespace

std::optional<StationAddProblem> StationValuesProblem(const StationRecord& station)
{
    if (QString problem = StationValueProblem(StationField::Name, station.name); !problem.isEmpty())
        return StationAddProblem{StationAddProblem::Name, std::move(problem)};
    if (QString problem = StationValueProblem(StationField::Url, station.url); !problem.isEmpty())
        return StationAddProblem{StationAddProblem::Url, std::move(problem)};
    return std::nullopt;
}

std::optional<StationAddProblem> AddCheckedStation(const StationRecord& station)
{
    if (auto problem = StationValuesProblem(station))
        return problem;
    if (auto problem = noListProblem())
        return problem;
    if (StationExists(station.url))
        return StationAddProblem{StationAddProblem::Duplicate, DuplicateUrlMessage()};
    QString error;
    if (!AddStation(station, &error))
        return StationAddProblem{StationAddProblem::List, error};
    return std::nullopt;
}

StationBatchAdd AddCheckedStations(const QList<StationRecord>& stations)
{
    StationBatchAdd outcome;
    if ((outcome.failure = noListProblem()))
        return outcome;
    const QString path = StationFilePath();
    QString text = ReadStationFile(path);
    QSet<QString> urls = StationUrlKeys(text);
    qsizetype added = 0;
    for (const StationRecord& station : stations) {
        if (const auto problem = StationValuesProblem(station)) {
            ++(problem->where == StationAddProblem::Name ? outcome.badNames : outcome.badUrls);
            continue;
        }
        const QString key = station.url.toCaseFolded();
        if (urls.contains(key)) {
            ++outcome.duplicates;
            continue;
        }
        urls.insert(key);
        text += BuildStationRecord(station.name, station.url, station.colour,
                                   flagText(station.visible), flagText(station.bold));
        ++added;
    }
    if (added == 0)
        return outcome;
    if (QString error; !WriteStationFile(text, path, &error))
        outcome.failure = StationAddProblem{StationAddProblem::List, std::move(error)};
    else
        outcome.added = added;
    return outcome;
}
