#pragma once

#include "stations/StationRecord.h"

#include <QList>
#include <QString>

#include <optional>

// Adding a station to the current list as the editor and the station finder do it: both values
// checked, a URL the list already has refused, then the record appended. Many stations at once
// (from a playlist) go through the same checks, with the list read and written once.

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

// What adding many stations did: how many were added and why the others were not.
struct StationBatchAdd
{
    qsizetype added = 0;
    qsizetype duplicates = 0; // the list or an earlier station of the batch has the URL
    qsizetype badUrls = 0;
    qsizetype badNames = 0;
    // No current list, or it could not be written: then nothing was added.
    std::optional<StationAddProblem> failure;
};

// Adds every station that AddCheckedStation would add, in order, with one write of the file.
StationBatchAdd AddCheckedStations(const QList<StationRecord>& stations);
