#include "stations/frmHistory.h"

#include "base/UserPrompts.h"
#include "stations/DialogButton.h"
#include "stations/EscapeCloses.h"
#include "stations/TitleHistory.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

enum Column
{
    TimeColumn,
    StationColumn,
    TitleColumn
};

// "Stanice – Skladba" lines of the entries, in the list's order.
void copyEntries(const QList<const QTreeWidgetItem*>& items)
{
    QStringList lines;
    for (const QTreeWidgetItem* item : items) {
        const QString station = item->text(StationColumn);
        const QString title = item->text(TitleColumn);
        lines.append(station.isEmpty() ? title : station + u" – "_s + title);
    }
    if (!lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines.join(u'\n'));
}

} // namespace

frmHistory::frmHistory(TitleHistory& history, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent)
    , m_history(history)
    , m_prompts(prompts)
{
    setObjectName(u"frmHistory"_s);
    setWindowTitle(u"Historie skladeb"_s);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(u"List1"_s);
    m_list->setAccessibleName(u"Historie skladeb"_s);
    m_list->setHeaderLabels({u"Čas"_s, u"Stanice"_s, u"Skladba"_s});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->header()->resizeSection(TimeColumn, 150);
    m_list->header()->resizeSection(StationColumn, 160);
    m_list->installEventFilter(this);

    m_cmdCopy = makeButton(this, u"cmdCopy"_s, u"&Kopírovat"_s);
    m_cmdClear = makeButton(this, u"cmdClear"_s, u"&Vymazat historii"_s);
    m_cmdClose = makeButton(this, u"cmdClose"_s, u"&Zavřít"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdCopy);
    buttons->addWidget(m_cmdClear);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(640, 400);

    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [](const QTreeWidgetItem* item) { copyEntries({item}); });
    connect(m_cmdCopy, &QPushButton::clicked, this, &frmHistory::cmdCopy_Click);
    connect(m_cmdClear, &QPushButton::clicked, this, &frmHistory::cmdClear_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    new EscapeCloses(*this);

    fill();
    m_list->setFocus();
}

bool frmHistory::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        cmdCopy_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmHistory::fill()
{
    m_list->clear();
    const QLocale czech(QLocale::Czech);
    QList<QTreeWidgetItem*> items;
    for (const HistoryEntry& entry : m_history.entries()) {
        const QString time = czech.toString(entry.time.toLocalTime(), u"d. M. yyyy H:mm:ss"_s);
        items.append(new QTreeWidgetItem(QStringList{time, entry.station, entry.title}));
    }
    m_list->addTopLevelItems(items);
    if (const QString problem = m_history.takeProblem(); !problem.isEmpty())
        m_prompts.Exclamation(this, problem);
}

void frmHistory::cmdCopy_Click()
{
    // selectedItems() lists them in the order they were picked, not as the list shows them.
    QList<const QTreeWidgetItem*> selected;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (const QTreeWidgetItem* item = m_list->topLevelItem(i); item->isSelected())
            selected.append(item);
    }
    copyEntries(selected);
}

void frmHistory::cmdClear_Click()
{
    if (!m_prompts.AskYesNo(this, u"Opravdu vymazat celou historii skladeb?"_s))
        return;
    m_history.clear();
    fill(); // also tells why the file could not be emptied
}
