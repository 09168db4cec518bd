#include "app/WindowUnits.h"
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
        const QColor dark = OleColorToQColor(OleSystemColor::ButtonShadow);
        const QColor light = OleColorToQColor(OleSystemColor::Highlight3D);
        const int offset = TwipsToPixels(10);
        QVERIFY(dark != light);

        // A hidden widget gets its resize events only when shown.
        z3DLine line;
        line.show();
        line.resize(TwipsToPixels(3000), TwipsToPixels(200));
        QVERIFY(line.isHorizontal());
        QCOMPARE(line.size(), QSize(TwipsToPixels(3000), thick));
        QImage image = line.grab().toImage();
        QCOMPARE(image.pixelColor(5, 0).rgb(), dark.rgb());
        QCOMPARE(image.pixelColor(5, offset).rgb(), light.rgb());
        QCOMPARE(image.pixelColor(image.width() - 1, 0).rgb(), dark.rgb());

        line.resize(TwipsToPixels(200), TwipsToPixels(3000));
        QVERIFY(!line.isHorizontal());
        QCOMPARE(line.size(), QSize(thick, TwipsToPixels(3000)));
        image = line.grab().toImage();
        QCOMPARE(image.pixelColor(0, 5).rgb(), dark.rgb());
        QCOMPARE(image.pixelColor(offset, 5).rgb(), light.rgb());

        z3DLine square;
        square.show();
        square.resize(40, 40);
        QVERIFY(!square.isHorizontal());
        QCOMPARE(square.size(), QSize(thick, 40));
    }
};

QTEST_MAIN(tst_z3DLine)
#include "tst_z3DLine.moc"
