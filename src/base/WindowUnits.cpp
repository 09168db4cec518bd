#include "base/WindowUnits.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <limits>

int TwipsPerPixel()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return qMax(1, int(std::lround(1440.0 / (dpi > 0 ? dpi : 96.0))));
}

int TwipsToPixels(double twips)
{
    const double pixels = twips / TwipsPerPixel();
    // Damaged settings may hold absurd numbers; keep them within what a window can take.
    return int(std::lround(std::clamp(pixels, -1.0e6, 1.0e6)));
}

double PixelsToTwips(int pixels)
{
    return double(pixels) * TwipsPerPixel();
}

QPoint PlaceOnScreen(QPoint wanted, QSize size)
{
    const QRect window(wanted, size);
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return wanted;
    const QScreen* nearest = nullptr;
    qint64 nearestDistance = std::numeric_limits<qint64>::max();
    for (const QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        if (area.intersects(window))
            return wanted;
        const QPoint delta = area.center() - window.center();
        const qint64 distance = qint64(delta.x()) * delta.x() + qint64(delta.y()) * delta.y();
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = screen;
        }
    }
    const QRect area = nearest->availableGeometry();
    const int x =
        std::clamp(wanted.x(), area.left(), qMax(area.left(), area.right() - size.width()));
    const int y =
        std::clamp(wanted.y(), area.top(), qMax(area.top(), area.bottom() - size.height()));
    return {x, y};
}
