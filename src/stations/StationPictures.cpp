#include "stations/StationPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Draws a picture in a 16 x 16 design space at 16 and 32 pixels.
QIcon drawnIcon(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A mast sending waves, in the given colour.
void drawStation(QPainter& painter, const QColor& colour)
{
    QPen pen(colour, 1.4, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(8, 7), QPointF(5, 15));
    painter.drawLine(QPointF(8, 7), QPointF(11, 15));
    painter.drawLine(QPointF(6.2, 12), QPointF(9.8, 12));
    painter.drawArc(QRectF(5, 3, 6, 6), 30 * 16, 120 * 16);
    painter.drawArc(QRectF(2.5, 1, 11, 10), 35 * 16, 110 * 16);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(8, 6.5), 1.2, 1.2);
}

} // namespace

QIcon VisibleStationIcon()
{
    return drawnIcon([](QPainter& p) { drawStation(p, QColor(0, 110, 40)); });
}

QIcon HiddenStationIcon()
{
    return drawnIcon([](QPainter& p) {
        drawStation(p, QColor(150, 150, 150));
        p.setPen(QPen(QColor(200, 30, 30), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(2.5, 2.5), QPointF(13.5, 13.5));
    });
}

QIcon BoldTypeIcon()
{
    return drawnIcon([](QPainter& p) {
        QFont font(u"Sans Serif"_s);
        font.setPixelSize(14);
        font.setWeight(QFont::Black);
        QPainterPath path;
        path.addText(QPointF(3, 13.5), font, u"B"_s);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(path);
    });
}

QIcon StationListFileIcon()
{
    return drawnIcon([](QPainter& p) {
        QPolygonF sheet{{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}};
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(Qt::white);
        p.drawPolygon(sheet);
        p.drawLine(QPointF(10, 1), QPointF(10, 4));
        p.drawLine(QPointF(10, 4), QPointF(13, 4));
        p.setPen(QPen(QColor(40, 90, 170), 1));
        for (const double y : {6.5, 9.0, 11.5})
            p.drawLine(QPointF(5, y), QPointF(11, y));
    });
}
