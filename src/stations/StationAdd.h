#pragma once

#include "stations/StationRecord.h"

#include <QString>

#include <optional>

// Adding a station to the current list as the editor and the station finder do it: both values
// checked, a URL the list already has refused, then the record appended.

// Why a station was not added, and which of its values the user has to change.
struct StationAddProblem
{
    enum Where
    {
        Name,
        Url,
        Duplicate, // the list has a station with this URL
        List       // no current list, or it could not be written
    };
    Where where;
    QString message; // in Czech, to show as it stands
};

// The problem with the station's name or URL as a list would store them, if there is one.
std::optional<StationAddProblem> StationValuesProblem(const StationRecord& station);

// Adds the station to the file named by StationFilePath(); nothing when that worked.
std::optional<StationAddProblem> AddCheckedStation(const StationRecord& station);
