#include "app/FoundStationItem.h"

#include <QCollator>

using namespace Qt::StringLiterals;

namespace {

const QCollator& collator()
{
    // The program speaks Czech: "Č" comes after "C", whatever the system's language.
    static const QCollator czech = [] {
        QCollator c(QLocale(QLocale::Czech, QLocale::Czechia));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(true);
        return c;
    }();
    return czech;
}

} // namespace

FoundStationItem::FoundStationItem(Directory::Station station)
    : QTreeWidgetItem(Type)
    , m_station(std::move(station))
{
    const Directory::Station& s = m_station;
    setText(Name, s.name);
    setText(Country, Directory::CountryName(s.countryCode, s.country));
    setText(Codec, Directory::CodecText(s));
    setText(Bitrate, Directory::BitrateText(s.bitrate));
    setText(Popularity, QString::number(s.clickCount));
    setText(Tags, Directory::TagsText(s.tags));
    setTextAlignment(Bitrate, Qt::AlignRight | Qt::AlignVCenter);
    setTextAlignment(Popularity, Qt::AlignRight | Qt::AlignVCenter);
}

const Directory::Station* FoundStationItem::stationOf(const QTreeWidgetItem* item)
{
    return item && item->type() == Type ? &static_cast<const FoundStationItem*>(item)->m_station
                                        : nullptr;
}

bool FoundStationItem::operator<(const QTreeWidgetItem& other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : Name;
    const Directory::Station* theirs = stationOf(&other);
    if (!theirs)
        return QTreeWidgetItem::operator<(other);
    switch (column) {
    case Bitrate:
        return m_station.bitrate < theirs->bitrate;
    case Popularity:
        return m_station.clickCount < theirs->clickCount;
    default:
        return collator().compare(text(column), other.text(column)) < 0;
    }
}
