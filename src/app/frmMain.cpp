#include "app/frmMain.h"

#include "app/AppFolder.h"
#include "app/ProcessState.h"
#include "app/Resources.h"
#include "app/Version.h"
#include "app/WindowUnits.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"
#include "stations/StationListView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// Design geometry, in twips.
constexpr int DesignOuterWidth = 5145;
constexpr int MinimumOuterWidth = 5145;
constexpr int MinimumOuterHeight = 1995;
constexpr int ToolbarHeight = 465;
constexpr int StatusBarHeight = 255;
constexpr int NameColumnReserve = 1400;
constexpr int StatusColumnWidth = 1000;
constexpr int PanelWidths[3] = {2715, 795, 1200};

// Shows the busy pointer for as long as it lives.
struct BusyCursor
{
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

frmMain::frmMain(frmMainServices services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
{
    InitResources();
    buildControls();
    Form_Load();
}

frmMain::~frmMain() = default;

QLabel* frmMain::StatusPanel(int number) const
{
    return (number >= 1 && number <= 3) ? m_panels[number - 1] : nullptr;
}

void frmMain::buildControls()
{
    setObjectName(u"frmMain"_s);

    m_listView = new QTreeWidget(this);
    m_listView->setObjectName(u"ListView1"_s);
    m_listView->setColumnCount(2);
    m_listView->setHeaderHidden(true);
    m_listView->setRootIsDecorated(false);
    m_listView->setUniformRowHeights(true);
    m_listView->setAllColumnsShowFocus(true);
    m_listView->header()->setStretchLastSection(false);
    setCentralWidget(m_listView);
    m_listView->installEventFilter(this);

    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(u"asxToolbar1"_s);
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setFixedHeight(TwipsToPixels(ToolbarHeight));
    m_toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_toolbar);

    m_mnuSkylistener = menuBar()->addMenu(u"Skylistener"_s);
    m_mnuSkylistener->setObjectName(u"mnuSkylistener"_s);

    statusBar()->setObjectName(u"StatusBar1"_s);
    statusBar()->setFixedHeight(TwipsToPixels(StatusBarHeight) + 2);
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(u"Panel%1"_s.arg(i + 1));
        m_panels[i]->setMinimumWidth(TwipsToPixels(PanelWidths[i]));
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        // Panel 1 takes what the others leave; 2 and 3 keep their design width.
        if (i == 0)
            statusBar()->addWidget(m_panels[i], 1);
        else
            statusBar()->addPermanentWidget(m_panels[i]);
    }

    setMinimumSize(TwipsToPixels(MinimumOuterWidth), TwipsToPixels(MinimumOuterHeight));
}

void frmMain::Form_Load()
{
    using namespace SettingsKeys;

    // Tray icon object, created and configured first, comes with the tray.

    setWindowTitle(Version::StartupCaption());
    setIconFrame(1.0);

    const StartupSettings stored =
        ReadStartupSettings(m_services.settings, m_services.applicationFolder);
    setAnimateTrayIcon(stored.animateTrayIcon);
    setMinimizeToTray(stored.minimizeToTray);

    // Position first (centred at the design size when not stored), then the height; the width
    // keeps its design value.
    const QSize designSize(TwipsToPixels(DesignOuterWidth), TwipsToPixels(HeightDefault));
    resize(designSize);
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->geometry()
                             : QRect(0, 0, 1024, 768);
    const int left = stored.left ? TwipsToPixels(*stored.left)
                                 : screen.x() + (screen.width() - designSize.width()) / 2;
    const int top = stored.top ? TwipsToPixels(*stored.top)
                               : screen.y() + (screen.height() - designSize.height()) / 2;
    resize(designSize.width(), TwipsToPixels(stored.height));
    move(PlaceOnScreen(QPoint(left, top), size()));

    // The player takes this volume once there is a player.
    m_volume = stored.volume;

    setStationFilePath(stored.stationFile);

    // Tray style, the magnetic window manager, the volume slider, the bit rate and the mute
    // button follow here as those parts arrive.

    LoadStationList();
}

void frmMain::LoadStationList()
{
    const QString text = ReadStationFile(StationFilePath());
    m_listView->clear();
    {
        const BusyCursor busy;
        FillMainStationList(*m_listView, StationListEntries(text, StationFilter::VisibleOnly));
    }
}

void frmMain::Form_Resize()
{
    if (isMinimized())
        return;
    const int listWidth = m_listView->width();
    m_listView->setColumnWidth(0, qMax(1, listWidth - TwipsToPixels(NameColumnReserve)));
    m_listView->setColumnWidth(1, TwipsToPixels(StatusColumnWidth));
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    // The list gets its new size after the window's resize event; its columns follow it.
    if (watched == m_listView && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_listView->setFocus();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;

    // The tray icon is released first, once there is one.

    ExitSettings values;
    values.left = PixelsToTwips(pos().x());
    values.top = PixelsToTwips(pos().y());
    values.height = PixelsToTwips(height());
    values.volume = m_volume; // the volume slider's value, once there is a slider
    values.stationFile = StationFilePath();
    SaveExitSettings(m_services.settings, values);
    Q_EMIT Unloaded();
}
