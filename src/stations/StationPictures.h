#pragma once

#include <QIcon>

// The small pictures of the station dialogs, drawn in code so that they follow the screen's
// scale: a station shown in the main list, a hidden one, bold type for the editor's bold
// toggle and a station list file for the list chooser.
QIcon VisibleStationIcon();
QIcon HiddenStationIcon();
QIcon BoldTypeIcon();
QIcon StationListFileIcon();
