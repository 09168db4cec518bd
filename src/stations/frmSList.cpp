#include "stations/frmSList.h"

#include "base/AppFolder.h"
#include "base/ProcessState.h"
#include "stations/EscapeCloses.h"
#include "stations/ListTitle.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/StationListView.h"
#include "stations/StationPictures.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int LoadDelay = 100; // ms
const QColor FileNameColour(153, 153, 153);

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

frmSList::frmSList(SettingsStore& settings, Exclaim exclaim, QString applicationFolder,
                   std::function<void()> loadStationList, QWidget* parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_exclaim(std::move(exclaim))
    , m_applicationFolder(std::move(applicationFolder))
    , m_loadStationList(std::move(loadStationList))
{
    buildControls();
    new EscapeCloses(*this);
    fillList();
}

frmSList::~frmSList() = default;

QStringList frmSList::ListFiles(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    // Name filters of QDir ignore letter case unless told otherwise.
    return QDir(folder).entryList({u"*.ksl"_s}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

void frmSList::buildControls()
{
    setObjectName(u"frmSList"_s);
    setWindowTitle(u"Výběr seznamu stanic"_s);

    m_listView1 = new QTreeWidget(this);
    m_listView1->setObjectName(u"ListView1"_s);
    m_listView1->setAccessibleName(u"Seznamy stanic"_s);
    m_listView1->setColumnCount(2);
    m_listView1->setHeaderHidden(true);
    m_listView1->setRootIsDecorated(false);
    m_listView1->setUniformRowHeights(true);
    m_listView1->setAllColumnsShowFocus(true);
    m_listView1->header()->resizeSection(0, 180);
    m_listView1->installEventFilter(this);
    m_listView1->viewport()->installEventFilter(this);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(u"Timer1"_s);
    m_timer1->setInterval(LoadDelay);

    auto* command2 = makeButton(this, u"Command2"_s, u"&Načíst vybraný"_s);
    auto* command1 = makeButton(this, u"Command1"_s, u"&Zavřít"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command2);
    buttons->addWidget(command1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_listView1, 1);
    layout->addLayout(buttons);
    resize(380, 300);

    connect(m_listView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { m_selectedListFile = StationKey(item); });
    connect(command1, &QPushButton::clicked, this, &frmSList::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &frmSList::Command2_Click);
    connect(m_timer1, &QTimer::timeout, this, &frmSList::Timer1_Timer);
}

void frmSList::fillList()
{
    m_listView1->clear();
    const QIcon icon = StationListFileIcon();
    for (const QString& fileName : ListFiles(m_applicationFolder)) {
        auto* item = new QTreeWidgetItem(QStringList{GetListTitle(fileName), fileName});
        item->setData(0, StationKeyRole, fileName);
        item->setIcon(0, icon);
        QFont font = item->font(0);
        font.setBold(true);
        item->setFont(0, font);
        item->setForeground(1, FileNameColour);
        m_listView1->addTopLevelItem(item);
    }
    m_selectedListFile.clear();
}

bool frmSList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_listView1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            m_selectedListFile.clear(); // a click on an entry that follows picks it again
        else if (event->type() == QEvent::MouseButtonDblClick)
            m_timer1->start();
    } else if (watched == m_listView1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QTreeWidgetItem* item = m_listView1->currentItem();
            if (item && item->isSelected()) {
                m_selectedListFile = StationKey(item);
                m_timer1->start();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSList::Command1_Click()
{
    reject();
}

void frmSList::Command2_Click()
{
    m_timer1->start();
}

void frmSList::Timer1_Timer()
{
    m_timer1->stop();
    if (m_selectedListFile.isEmpty())
        return;
    const QString path = AddTrailingBackslash(m_applicationFolder) + m_selectedListFile;
    SaveSetting(m_settings, SettingsKeys::StationFile, path);
    // On disk before the chooser closes; a failed write is told, and the list is loaded anyway.
    if (QString error; !WriteSettingsNow(m_settings, &error) && m_exclaim)
        m_exclaim(this, error);
    setStationFilePath(path);
    if (m_loadStationList)
        m_loadStationList();
    accept();
}
