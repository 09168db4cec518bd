#pragma once

#include "stations/StationRecord.h"

#include <QList>
#include <QSet>
#include <QString>

// Operations on the current station list, the file named by StationFilePath() at the moment of
// the call. There is no in-memory copy: each operation reads the whole file, and each change
// writes it whole again. The changing operations return false when the file could not be
// written; the old file is then untouched and `errorMessage` holds the Czech message to show.

// Whether the current file holds a URL field equal to the URL, letter case aside.
bool StationExists(const QString& url);

// The URLs StationExists finds in a file's text, case-folded: the value of every URL field that
// holds no other URL field's tag. Linear in the text's length.
QSet<QString> StationUrlKeys(QStringView text);

// Appends a record; a missing file is created. Argument order: bold before visible.
[[nodiscard]] bool AddStation(const QString& name, const QString& url, const QString& colour,
                              const QString& bold, const QString& visible,
                              QString* errorMessage = nullptr);

// Rewrites the file with the station of the old URL replaced by the new values. Empty URLs or
// an empty file write nothing.
[[nodiscard]] bool ReplaceStation(const QString& oldUrl, const QString& name, const QString& url,
                                  const QString& colour, const QString& bold,
                                  const QString& visible, QString* errorMessage = nullptr);

// The same two with a record's values; its flags are written "1" or "0".
[[nodiscard]] bool AddStation(const StationRecord& station, QString* errorMessage = nullptr);
[[nodiscard]] bool ReplaceStation(const QString& oldUrl, const StationRecord& station,
                                  QString* errorMessage = nullptr);

// Rewrites the file without the station of the URL. An empty file writes nothing.
[[nodiscard]] bool DeleteStation(const QString& url, QString* errorMessage = nullptr);

// Which stations a list shows: the main list only the visible ones, the editor every one.
enum class StationFilter
{
    VisibleOnly,
    All
};

// The stations a list shows, from a file's text: those with a name and a URL (and visible, for
// the main list), the first of several records with one URL (letter case aside), sorted by name.
QList<StationRecord> StationListEntries(QStringView text, StationFilter filter);

// The editor's count text for n entries.
QString StationCountText(qsizetype n);

// A station's colour text as a 0x00BBGGRR value; empty or non-numeric text is black (0).
quint32 StationColourValue(const QString& colour);
