#pragma once

#include "stations/StationRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// Writing the current list as a playlist that other players read, in UTF-8: M3U8 or PLS (version
// 2), every station with an unknown length (-1).

enum class PlaylistFormat
{
    M3u8,
    Pls
};

// PLS for a name ending in ".pls", M3U8 for any other.
PlaylistFormat PlaylistFormatOf(QStringView fileName);

// The playlist of the stations in their order. A line break in a hand-edited list's name becomes
// a blank, and a station whose address has one is left out: neither may start a line of its own.
QByteArray PlaylistBytes(const QList<StationRecord>& stations, PlaylistFormat format);

// Writes every station of the current list, visible or hidden, to the file in the format its
// name asks for. The empty text when that worked; else the file is left as it was and the Czech
// message naming it is returned.
QString ExportStationList(const QString& path);
