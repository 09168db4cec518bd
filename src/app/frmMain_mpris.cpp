// The main window's side of the media service: which listed station plays, the volume slider,
// and the window's own raise and exit sequences.
#include "app/frmMain.h"

#include "app/MprisService.h"
#include "base/Player.h"
#include "controls/ucSlider.h"
#include "winsvc/SysTray.h"

using namespace Qt::StringLiterals;

void frmMain::connectMpris()
{
    MprisWindow window;
    // The station the caption names.
    window.stationName = [this] { return m_playingStation ? m_playingStation->name : QString(); };
    window.volume = [this] { return m_slider->Value(); };
    // Through the slider, so that the player, panel 3 and the stored volume all follow.
    window.setVolume = [this](int volume) { m_slider->setValue(volume); };
    window.raise = [this] {
        if (m_tray)
            m_tray->FormRestore();
        activateWindow();
    };
    // Queued, so that the desktop has its answer before the exit sequence runs.
    window.quit = [this] {
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
    };

    m_mpris = std::make_unique<MprisService>(*m_player, std::move(window), u"skylistener"_s);
    connect(m_slider, &ucSlider::Change, m_mpris.get(), &MprisService::Refresh);
}
