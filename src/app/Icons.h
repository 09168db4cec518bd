#pragma once

#include <QIcon>
#include <QString>

// The program's pictures: toolbar buttons, the frames of the playing animation and the
// application icon. All of them are our own SVG files compiled into the program; none is looked
// up in the desktop's icon theme.

// The resource path of one of our pictures, e.g. "about/background.svg" gives
// ":/about/background.svg". Makes sure the compiled-in resources are registered first.
QString PictureFile(const QString& name);

// The picture of the toolbar button with this key ("Konec", "edit", "URL", "Volume", "Nute",
// "Stop", "Play"); a null icon for any other key.
QIcon ToolbarIcon(const QString& key);

// Frame 1 to AnimationFrameCount() of the playing animation; frame 1 is also the idle icon.
// A frame number out of range gives frame 1.
QIcon AnimationFrame(int frame);
int AnimationFrameCount();

QIcon ApplicationIcon();
