#pragma once

#include "directory/DirectoryAnswer.h"

#include <QTreeWidgetItem>

// One row of the finder's results. It carries its station, so that whatever the order the user
// sorts the rows in, the row chosen is the station acted on. Names and other texts sort as a
// Czech reader expects; the bit rate and the popularity as numbers.
class FoundStationItem : public QTreeWidgetItem
{
public:
    enum Column
    {
        Name,
        Country,
        Codec,
        Bitrate,
        Popularity,
        Tags,
        ColumnCount
    };
    static constexpr int Type = QTreeWidgetItem::UserType + 1;

    explicit FoundStationItem(Directory::Station station);

    const Directory::Station& station() const { return m_station; }
    // The item's station; null for any other item.
    static const Directory::Station* stationOf(const QTreeWidgetItem* item);

    bool operator<(const QTreeWidgetItem& other) const override;

private:
    Directory::Station m_station;
};
