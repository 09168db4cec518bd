#pragma once

#include "stations/StationRecord.h"

#include <QIcon>
#include <QList>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// Filling the two lists that show stations. An entry's key, the station's URL, is kept in the
// item's StationKeyRole data of column 0; its text is the name, in the station's colour and
// bold when the station is.
inline constexpr int StationKeyRole = Qt::UserRole;
// In the editor list: whether the entry shows the visible picture.
inline constexpr int StationVisibleRole = Qt::UserRole + 1;
// In the editor list: the station's colour text as the file holds it, which the shown colour
// cannot always give back (a system colour, a value with bits above blue).
inline constexpr int StationColourRole = Qt::UserRole + 2;

QString StationKey(const QTreeWidgetItem* item);

// The main list: name and an empty status column, in the order given (already sorted).
void FillMainStationList(QTreeWidget& list, const QList<StationRecord>& entries);

// The editor list: name and URL with the visible or hidden picture, and the count text.
void FillEditorStationList(QTreeWidget& list, QLabel& countLabel,
                           const QList<StationRecord>& entries, const QIcon& visibleIcon,
                           const QIcon& hiddenIcon);

// Refills the editor list and its count label from the current station list file.
void LoadEditorList(QTreeWidget& list, QLabel& lblCount, const QIcon& visibleIcon,
                    const QIcon& hiddenIcon);
