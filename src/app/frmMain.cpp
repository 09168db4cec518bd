#include "app/frmMain.h"

#include "app/Icons.h"
#include "app/MprisService.h"
#include "app/Recorder.h"
#include "app/Resources.h"
#include "app/SleepTimer.h"
#include "app/StatusText.h"
#include "app/Version.h"
#include "base/AppFolder.h"
#include "base/Player.h"
#include "base/ProcessState.h"
#include "base/WindowUnits.h"
#include "controls/ReadableItemDelegate.h"
#include "controls/ucSlider.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"
#include "stations/StationListView.h"
#include "stations/TitleHistory.h"
#include "winsvc/QtWindowSystem.h"
#include "winsvc/SysTray.h"
#include "winsvc/Win32MessageCapture.h"
#include "winsvc/WindowDragCapture.h"
#include "winsvc/cMagneticWnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSizeGrip>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>
#include <iterator>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Design geometry, in twips.
constexpr int DesignOuterWidth = 5145;
constexpr int MinimumOuterWidth = 5145;
constexpr int MinimumOuterHeight = 1995;
constexpr int ToolbarHeight = 465;
constexpr int StatusBarHeight = 255;
constexpr int NameColumnReserve = 1400;
constexpr int SliderLeft = 2460;
constexpr int SliderTop = 120;
constexpr int SliderRightGap = 120;
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
    , m_player(std::move(m_services.player))
{
    InitResources();
    buildControls();
    buildToolbar();
    buildMenus();
    connectPlayer();
    connectSleepTimer();
    connectSongs();
    Form_Load();
#ifdef SKYLISTENER_MPRIS
    connectMpris();
#endif
}

frmMain::~frmMain() = default;

QLabel* frmMain::StatusPanel(int number) const
{
    if (number == 4)
        return m_recordPanel;
    return (number >= 1 && number <= 3) ? m_panels[number - 1] : nullptr;
}

void frmMain::buildControls()
{
    setObjectName(u"frmMain"_s);

    m_listView = new QTreeWidget(this);
    m_listView->setObjectName(u"ListView1"_s);
    m_listView->setAccessibleName(u"Stanice"_s);
    m_listView->setColumnCount(2);
    // The header stays hidden; its labels name the columns for assistive tools.
    m_listView->setHeaderLabels({u"Stanice"_s, u"Stav"_s});
    m_listView->setHeaderHidden(true);
    m_listView->setItemDelegate(new ReadableItemDelegate(*m_listView));
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
    m_toolbar->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, m_toolbar);

    // The volume slider lies over the right-hand part of the toolbar; the layout widens it.
    m_slider = new ucSlider(m_toolbar);
    m_slider->setObjectName(u"ucSlider1"_s);
    m_slider->setOrientation(0);
    m_slider->setRailStyle(3);
    m_slider->setShowValueTip(false);
    m_slider->setMax(100);
    m_slider->setValue(50);
    m_slider->setToolTip(u"Hlasitost"_s);
    m_slider->setAccessibleName(u"Hlasitost"_s);
    m_slider->move(TwipsToPixels(SliderLeft), TwipsToPixels(SliderTop));
    connect(m_slider, &ucSlider::Change, this, &frmMain::ucSlider1_Change);

    // Alt+S opens it: its commands without shortcuts are reached from the keyboard too.
    m_mnuSkylistener = menuBar()->addMenu(u"&Skylistener"_s);
    m_mnuSkylistener->setObjectName(u"mnuSkylistener"_s);

    statusBar()->setObjectName(u"StatusBar1"_s);
    statusBar()->setFixedHeight(TwipsToPixels(StatusBarHeight) + 2);
    // Panels 2 and 3 also fit their widest text in the system font.
    const QString widestText[3] = {QString(), u"1000 kbps"_s, u"Hlasitost 100%"_s};
    const QString panelNames[3] = {u"Stav"_s, u"Datový tok"_s, u"Hlasitost"_s};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(u"Panel%1"_s.arg(i + 1));
        // The first panel shows the stations' own titles: never markup.
        m_panels[i]->setTextFormat(Qt::PlainText);
        m_panels[i]->setAccessibleName(panelNames[i]);
        m_panels[i]->setMinimumWidth(
            qMax(TwipsToPixels(PanelWidths[i]),
                 m_panels[i]->fontMetrics().horizontalAdvance(widestText[i]) + 10));
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        // Panel 1 takes what the others leave; 2 and 3 keep their design width.
        if (i == 0)
            statusBar()->addWidget(m_panels[i], 1);
        else
            statusBar()->addPermanentWidget(m_panels[i]);
    }

    m_recordPanel = new QLabel(u"Nahrávání"_s, this);
    m_recordPanel->setObjectName(u"Panel4"_s);
    m_recordPanel->setAccessibleName(u"Nahrávání"_s);
    m_recordPanel->setFrameShape(QFrame::Panel);
    m_recordPanel->setFrameShadow(QFrame::Sunken);
    statusBar()->addPermanentWidget(m_recordPanel);
    m_recordPanel->hide();

    setMinimumSize(TwipsToPixels(MinimumOuterWidth), TwipsToPixels(MinimumOuterHeight));
}

void frmMain::Form_Load()
{
    using namespace SettingsKeys;

    setWindowIcon(ApplicationIcon());
    m_tray = std::make_unique<SysTray>();
    m_tray->setForm(this);
    m_tray->setIcon(windowIcon());
    m_tray->setPopupMenu(m_mnuSysMenu); // after the form: a new form empties the menu
    m_tray->setPopupStyle(TrayAction::RightDown);

    setWindowTitle(Version::StartupCaption());
    m_tray->setTrayTip(windowTitle());
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

    m_player->setVolume(stored.volume);

    setStationFilePath(stored.stationFile);

    applyTrayStyle();
    registerMagneticWindow();

    // The volume the player accepted, not the stored text.
    m_slider->setValue(m_player->volume());
    showVolumeText(m_slider->Value());
    ShowBitRate();
    showMuteButton(m_player->mute());

    LoadStationList();
}

void frmMain::applyTrayStyle()
{
    // After the exit sequence (a dialog may still return into here) the icon is gone.
    if (m_unloaded)
        return;
    if (MinimizeToTray()) {
        // Minimising hides the window and shows the icon.
        m_tray->setTrayFormStyle(TrayFormStyleBits::HideWhenMinimized |
                                 TrayFormStyleBits::IconWithMinimizedForm);
    } else {
        m_tray->setTrayFormStyle(0);
        m_tray->setVisible(false);
    }
}

void frmMain::registerMagneticWindow()
{
#ifdef Q_OS_WIN
    m_windowSystem = std::make_unique<Win32WindowSystem>();
    m_capture = std::make_unique<Win32MessageCapture>();
#else
    // The window moves itself when dragged by the empty part of its toolbar or by its status
    // bar, and resizes itself from its size grip, so that it can snap while it does.
    m_windowSystem = std::make_unique<QtWindowSystem>();
    auto drag = std::make_unique<WindowDragCapture>();
    drag->addDragHandle(m_toolbar);
    drag->addDragHandle(statusBar());
    drag->addSizeGrip(statusBar()->findChild<QSizeGrip*>());
    m_capture = std::move(drag);
#endif
    m_magnetic = std::make_unique<cMagneticWnd>(*m_windowSystem, *m_capture);
    m_magnetic->AddWindow(QtWindowSystem::handleOf(this));
}

void frmMain::ucSlider1_Change()
{
    // The mute state is the player's own: moving the slider while muted stays muted. While the
    // sleep timer fades out, the player gets the slider's volume scaled by the fade.
    m_player->setVolume(qRound(m_slider->Value() * m_sleepTimer->volumeFactor()));
    showVolumeText(m_slider->Value());
}

void frmMain::LoadStationList()
{
    const QString text = ReadStationFile(StationFilePath());
    m_listView->clear();
    m_markedRow = -1;
    {
        // Only a shown window shows the busy pointer: at start-up the pointer (a file of the
        // cursor theme, loaded and sent to the X server) would be seen by nobody.
        std::optional<BusyCursor> busy;
        if (isVisible())
            busy.emplace();
        m_listedStations = StationListEntries(text, StationFilter::VisibleOnly);
        FillMainStationList(*m_listView, m_listedStations);
        m_rowOfUrl.clear();
        m_rowOfUrl.reserve(m_listedStations.size());
        for (int row = 0; row < m_listedStations.size(); ++row)
            m_rowOfUrl.insert(m_listedStations.at(row).url, row);
    }
    RefreshPlayStatus();
}

void frmMain::Form_Resize()
{
    if (isMinimized())
        return;
    // The status column keeps its design width, or more where the system font needs it to show
    // "Přehrávání" whole; the name column takes the rest, less the same reserve as designed.
    const int statusWidth =
        qMax(TwipsToPixels(StatusColumnWidth),
             m_listView->fontMetrics().horizontalAdvance(StatusText::Playing()) + 12);
    const int reserve = statusWidth + TwipsToPixels(NameColumnReserve - StatusColumnWidth);
    m_listView->setColumnWidth(0, qMax(1, m_listView->width() - reserve));
    m_listView->setColumnWidth(1, statusWidth);
    const int sliderWidth = m_toolbar->width() - (m_slider->x() + TwipsToPixels(SliderRightGap));
    m_slider->resize(qMax(1, sliderWidth), m_slider->height());
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_listView) {
        // The list gets its new size after the window's resize event; its columns follow it.
        if (event->type() == QEvent::Resize)
            Form_Resize();
        if (event->type() == QEvent::KeyPress) {
            auto* keyEvent = static_cast<QKeyEvent*>(event);
            const int key = keyEvent->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                ListView1_EnterKey();
                return true;
            }
            if (ListView1_FirstNavigationKey(keyEvent))
                return true;
        }
    } else if (watched == m_listView->viewport() &&
               (event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick)) {
        // Only now is the event known to be a mouse event.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            if (event->type() == QEvent::MouseButtonPress)
                ListView1_MouseDown();
            else
                ListView1_DblClick();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::ListView1_FirstNavigationKey(QKeyEvent* event)
{
    // With nothing selected the list shows its focus on the first station without selecting
    // it, so that Down would skip it and Home, or any key in a list of one, select nothing.
    // The first navigation key selects the station it lands on; Down, Up, Home and Page Up
    // land on the first.
    static const int keys[] = {Qt::Key_Down, Qt::Key_Up,       Qt::Key_Home,
                               Qt::Key_End,  Qt::Key_PageDown, Qt::Key_PageUp};
    if (m_navigating || !m_listView->selectedItems().isEmpty() ||
        (event->modifiers() & ~Qt::KeypadModifier) ||
        std::ranges::find(keys, event->key()) == std::end(keys))
        return false;
    if (event->key() != Qt::Key_End && event->key() != Qt::Key_PageDown)
        m_listView->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    {
        const QScopedValueRollback guard(m_navigating, true);
        QCoreApplication::sendEvent(m_listView, event);
    }
    if (m_listView->selectedItems().isEmpty() && m_listView->currentItem())
        m_listView->currentItem()->setSelected(true);
    return true;
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

    // A dialog's event loop may still run until the program ends: neither the player's events
    // nor the animation may reach the tray icon released here.
    disconnect(m_player.get(), nullptr, this, nullptr);
    // The file recorded last is completed while the player still runs.
    m_recorder->stop();
    m_timer1->stop();
    m_tray.reset();

    ExitSettings values;
    values.left = PixelsToTwips(pos().x());
    values.top = PixelsToTwips(pos().y());
    values.height = PixelsToTwips(height());
    values.volume = m_slider->Value();
    values.stationFile = StationFilePath();
    SaveExitSettings(m_services.settings, values);
    Q_EMIT Unloaded();
    // The program ends here, also when the window was hidden in the tray and so is no "last
    // window" that could close.
    QCoreApplication::quit();
}
