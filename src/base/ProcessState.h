#pragma once

#include <QString>

// The few values the whole program shares: the current station list file, the two tray
// options and the frame of the icon animation. They are set at start-up and by the dialogs.

QString StationFilePath();
void setStationFilePath(const QString& path);

bool MinimizeToTray();
void setMinimizeToTray(bool on);

bool AnimateTrayIcon();
void setAnimateTrayIcon(bool on);

// 1-based frame of the icon animation.
double IconFrame();
void setIconFrame(double frame);
