#include "stations/StationListView.h"

#include "base/ProcessState.h"
#include "controls/OleColor.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"

#include <QLabel>
#include <QTreeWidget>

namespace {

QTreeWidgetItem* makeEntry(const StationRecord& station, const QString& secondColumn)
{
    auto* item = new QTreeWidgetItem(QStringList{station.name, secondColumn});
    item->setData(0, StationKeyRole, station.url);
    item->setForeground(0, OleColorToQColor(StationColourValue(station.colour)));
    if (station.bold) {
        QFont font = item->font(0);
        font.setBold(true);
        item->setFont(0, font);
    }
    return item;
}

// Hands the items to the list in one batch, which is far quicker than one at a time.
void replaceItems(QTreeWidget& list, QList<QTreeWidgetItem*> items)
{
    list.setUpdatesEnabled(false);
    list.clear();
    list.addTopLevelItems(items);
    list.setUpdatesEnabled(true);
}

} // namespace

QString StationKey(const QTreeWidgetItem* item)
{
    return item ? item->data(0, StationKeyRole).toString() : QString();
}

void FillMainStationList(QTreeWidget& list, const QList<StationRecord>& entries)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(entries.size());
    for (const StationRecord& station : entries)
        items.append(makeEntry(station, QString()));
    replaceItems(list, std::move(items));
}

void FillEditorStationList(QTreeWidget& list, QLabel& countLabel,
                           const QList<StationRecord>& entries, const QIcon& visibleIcon,
                           const QIcon& hiddenIcon)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(entries.size());
    for (const StationRecord& station : entries) {
        QTreeWidgetItem* item = makeEntry(station, station.url);
        item->setIcon(0, station.visible ? visibleIcon : hiddenIcon);
        item->setData(0, StationVisibleRole, station.visible);
        item->setData(0, StationColourRole, station.colour);
        items.append(item);
    }
    replaceItems(list, std::move(items));
    countLabel.setText(StationCountText(list.topLevelItemCount()));
}

void LoadEditorList(QTreeWidget& list, QLabel& lblCount, const QIcon& visibleIcon,
                    const QIcon& hiddenIcon)
{
    const QString text = ReadStationFile(StationFilePath());
    FillEditorStationList(list, lblCount, StationListEntries(text, StationFilter::All), visibleIcon,
                          hiddenIcon);
}
