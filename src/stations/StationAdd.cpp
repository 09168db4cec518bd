#include "stations/StationAdd.h"

#include "base/ProcessState.h"
#include "stations/StationList.h"
#include "stations/StationValueCheck.h"

using namespace Qt::StringLiterals;

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
    // Without a list the station would go nowhere, however gladly the write says yes.
    if (StationFilePath().isEmpty())
        return StationAddProblem{StationAddProblem::List,
                                 u"Není vybrán žádný seznam stanic, stanici nelze přidat. "
                                 u"Seznam vyberte v nastavení nebo příkazem "
                                 u"„Vybrat seznam stanic“."_s};
    if (StationExists(station.url))
        return StationAddProblem{StationAddProblem::Duplicate, DuplicateUrlMessage()};
    QString error;
    if (!AddStation(station, &error))
        return StationAddProblem{StationAddProblem::List, error};
    return std::nullopt;
}
