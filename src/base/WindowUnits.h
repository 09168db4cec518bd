#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Window geometry is designed and stored in twips (1/1440 inch); the screen works in pixels.
// Twips per pixel = round(1440 / logical DPI), 15 at 96 DPI.
int TwipsPerPixel();
int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

// The top-left corner for a window of `size` at `wanted`: unchanged when the window would show on
// some screen, otherwise moved onto the nearest screen's work area.
QPoint PlaceOnScreen(QPoint wanted, QSize size);
