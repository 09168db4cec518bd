#include "base/ProcessState.h"

namespace {

struct ProcessState
{
    QString stationFilePath;
    bool minimizeToTray = false;
    bool animateTrayIcon = false;
    double iconFrame = 1.0;
};

ProcessState& state()
{
    static ProcessState s;
    return s;
}

} // namespace

QString StationFilePath()
{
    return state().stationFilePath;
}

void setStationFilePath(const QString& path)
{
    state().stationFilePath = path;
}

bool MinimizeToTray()
{
    return state().minimizeToTray;
}

void setMinimizeToTray(bool on)
{
    state().minimizeToTray = on;
}

bool AnimateTrayIcon()
{
    return state().animateTrayIcon;
}

void setAnimateTrayIcon(bool on)
{
    state().animateTrayIcon = on;
}

double IconFrame()
{
    return state().iconFrame;
}

void setIconFrame(double frame)
{
    state().iconFrame = frame;
}
