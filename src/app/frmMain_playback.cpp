// The main window's playback and status display: choosing a station in the list, the status
// column, the caption, the status bar panels and the icon animation.
#include "app/frmMain.h"

#include "app/Icons.h"
#include "app/StatusText.h"
#include "app/Version.h"
#include "base/Player.h"
#include "base/ProcessState.h"
#include "stations/StationListView.h"
#include "winsvc/SysTray.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QColor PlayingColour(0, 115, 32);
const QColor StoppedColour(199, 145, 0);
const QColor IdleColour(255, 255, 255);

// A panel's name says what it shows, its description what it shows now: assistive tools read
// it without hearing of every bit-rate change.
void showInPanel(QLabel& panel, const QString& text)
{
    panel.setText(text);
    panel.setAccessibleDescription(text);
}

} // namespace

void frmMain::connectPlayer()
{
    connect(m_player.get(), &Player::PlayStateChange, this, &frmMain::wmp_PlayStateChange);
    connect(m_player.get(), &Player::StatusChange, this, &frmMain::wmp_StatusChange);
    connect(m_player.get(), &Player::StreamTitleChange, this, &frmMain::announceStatusSoon);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(u"Timer1"_s);
    m_timer1->setInterval(100);
    connect(m_timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);

    // Presses and double clicks anywhere in the list, items or empty space, and its keys.
    m_listView->viewport()->installEventFilter(this);
    connect(m_listView, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ListView1_ItemClick(StationKey(item)); });
}

void frmMain::ListView1_MouseDown()
{
    m_chosenUrl.clear();
}

void frmMain::ListView1_ItemClick(const QString& key)
{
    m_chosenUrl = key;
}

void frmMain::ListView1_DblClick()
{
    // The player starts by itself when it is given a URL.
    if (!m_chosenUrl.isEmpty())
        m_player->setURL(m_chosenUrl);
}

void frmMain::ListView1_EnterKey()
{
    const QList<QTreeWidgetItem*> selected = m_listView->selectedItems();
    const QString url = selected.isEmpty() ? QString() : StationKey(selected.first());
    if (url.isEmpty())
        return;
    // Enter on the playing station stops it; on any other station it switches to it.
    if (m_player->playState() == Player::Playing && m_chosenUrl == url) {
        m_player->stop();
        return;
    }
    m_chosenUrl = url;
    m_player->setURL(m_chosenUrl);
    m_player->play();
}

void frmMain::wmp_PlayStateChange(int NewState)
{
    if (NewState != Player::Playing) {
        SetIconAnimation(false);
        m_tray->setIcon(AnimationFrame(1));
    } else {
        SetIconAnimation(true);
    }
    RefreshPlayStatus();
    m_tray->setTrayTip(windowTitle());
    announceStatusSoon();
}

void frmMain::announceStatusSoon()
{
    // The player tells its new status right after the state or title; should the status stay
    // as it was, the announcement comes once the events have been handled.
    if (!std::exchange(m_announcePending, true))
        QMetaObject::invokeMethod(this, &frmMain::announceStatus, Qt::QueuedConnection);
}

void frmMain::announceStatus()
{
    if (!std::exchange(m_announcePending, false))
        return;
    // The panel's name carries the status, so that its change (the widget tells assistive tools
    // of it) is what a screen reader speaks.
    m_panels[0]->setAccessibleName(u"Stav: "_s + m_panels[0]->text());
}

void frmMain::wmp_StatusChange()
{
    showInPanel(*m_panels[0], m_player->status());
    ShowBitRate();
    if (m_announcePending)
        announceStatus();
}

void frmMain::SetIconAnimation(bool playing)
{
    if (playing && AnimateTrayIcon()) {
        m_timer1->start();
        return;
    }
    m_timer1->stop();
    setWindowIcon(AnimationFrame(1));
}

void frmMain::Timer1_Timer()
{
    // The frame is not reset when the animation stops: the next one goes on from here.
    double frame = IconFrame() + 1;
    if (frame > AnimationFrameCount())
        frame = 1;
    setIconFrame(frame);
    const QIcon icon = AnimationFrame(int(frame));
    // Ten times a second the frame goes straight to the native window: QWidget::setWindowIcon
    // would also send each of the window's widgets, through every event filter, news of the
    // change (a third of the tick's cost in perf). The widget keeps the icon it had, until
    // SetIconAnimation gives it frame 1 when the animation stops; a native window made anew
    // meanwhile shows that one until the next tick.
    if (QWindow* window = windowHandle())
        window->setIcon(icon);
    else
        setWindowIcon(icon);
    m_tray->setIcon(icon);
}

void frmMain::RefreshPlayStatus()
{
    const int row = m_rowOfUrl.value(m_player->URL(), -1);
    m_playingStation.reset();
    if (row >= 0)
        m_playingStation = m_listedStations.at(row);
    if (m_markedRow >= 0 && m_markedRow != row) {
        if (QTreeWidgetItem* item = m_listView->topLevelItem(m_markedRow)) {
            item->setText(1, QString());
            item->setForeground(1, IdleColour);
        }
    }
    m_markedRow = row;
    // A URL that no listed station has leaves the caption as it was.
    QTreeWidgetItem* item = row >= 0 ? m_listView->topLevelItem(row) : nullptr;
    if (!item)
        return;
    const bool playing = m_player->playState() == Player::Playing;
    item->setText(1, playing ? StatusText::Playing() : StatusText::Stopped());
    item->setForeground(1, playing ? PlayingColour : StoppedColour);
    const QString name = m_playingStation->name + (playing ? QString() : u" *"_s);
    setWindowTitle(u"["_s + name + u"] - "_s + Version::ProductName());
}

void frmMain::ShowBitRate()
{
    showInPanel(*m_panels[1], u"%1 kbps"_s.arg(std::lround(m_player->bitRate() / 1000.0)));
}

void frmMain::showVolumeText(int volume)
{
    showInPanel(*m_panels[2], u"Hlasitost %1%"_s.arg(volume));
}
