// The 3D line lies along its longer side, a dark line over a light one.
#include "base/WindowUnits.h"
#include "controls/OleColor.h"
#include "controls/z3DLine.h"

#include <QTest>

class tst_z3DLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void liesByItsShape()
    {
        const int thick = TwipsToPixels(30);
        const int offset = TwipsToPixels(10);
        const int length = TwipsToPixels(3000);
        const QRgb dark = OleColorToQColor(OleSystemColor::ButtonShadow).rgb();
        const QRgb light = OleColorToQColor(OleSystemColor::Highlight3D).rgb();
        z3DLine line;
        line.show(); // a hidden widget gets its resize events only when shown
        line.resize(length, TwipsToPixels(200));
        QVERIFY(line.isHorizontal());
        QCOMPARE(line.size(), QSize(length, thick));
        QImage image = line.grab().toImage();
        QCOMPARE(image.pixel(5, 0), dark);
        QCOMPARE(image.pixel(5, offset), light);
        QCOMPARE(image.pixel(length - 1, 0), dark);

        line.resize(TwipsToPixels(200), length);
        QVERIFY(!line.isHorizontal());
        QCOMPARE(line.size(), QSize(thick, length));
        image = line.grab().toImage();
        QCOMPARE(image.pixel(0, 5), dark);
        QCOMPARE(image.pixel(offset, 5), light);

        line.resize(40, 40); // a square stands upright
        QCOMPARE(line.size(), QSize(thick, 40));
    }
};

QTEST_MAIN(tst_z3DLine)
#include "tst_z3DLine.moc"
