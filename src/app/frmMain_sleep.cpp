// The main window's side of the sleep timer: its submenu starts and cancels it and shows the
// minutes left; over the last seconds the player's volume falls with it, and when the time is up
// playback stops. The volume the user chose (the slider, panel 3, the stored setting) stays as
// it is: the fade reaches only the player.
#include "app/frmMain.h"

#include "app/SleepTimer.h"
#include "base/Player.h"
#include "controls/ucSlider.h"

#include <QAction>
#include <QMenu>

using namespace Qt::StringLiterals;

void frmMain::connectSleepTimer()
{
    m_sleepTimer = std::make_unique<SleepTimer>();
    connect(m_sleepTimer.get(), &SleepTimer::volumeFactorChanged, this,
            [this](double factor) { m_player->setVolume(qRound(m_slider->Value() * factor)); });
    connect(m_sleepTimer.get(), &SleepTimer::remainingMinutesChanged, this,
            &frmMain::showSleepTimer);
    connect(m_sleepTimer.get(), &SleepTimer::expired, this, &frmMain::sleepTimerExpired);
    showSleepTimer(0);
}

void frmMain::mnuVypnout_Click(int minutes)
{
    // A time starts the count-down from now, also when it ran already; "Nevypínat" (0) cancels.
    m_sleepTimer->start(minutes);
}

void frmMain::showSleepTimer(int minutes)
{
    m_mnuVypnout->setTitle(minutes > 0 ? u"&Vypnout přehrávání (zbývá %1 min)"_s.arg(minutes)
                                       : u"&Vypnout přehrávání"_s);
}

void frmMain::sleepTimerExpired()
{
    // The player is silent by now; the next play sounds at the volume the slider shows.
    m_player->stop();
    m_player->setVolume(m_slider->Value());
    m_mnuNevypinat->setChecked(true);
}
