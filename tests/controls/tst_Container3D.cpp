// The 3D frame container (stored values, minimum size, the place of its one control, a click)
// and the 3D line.
#include "base/WindowUnits.h"
#include "controls/Container3D.h"
#include "controls/z3DLine.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Container3D : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void propertiesSizesAndClick()
    {
        Container3D c;
        c.ReadProperties({{u"CtrlEffect"_s, 9}, {u"AutoSize"_s, 2}}); // damaged: defaults
        QVERIFY(c.WriteProperties().isEmpty());
        c.resize(TwipsToPixels(60), 200);
        QCOMPARE(c.size(), QSize(TwipsToPixels(120), 200)); // its minimum width
        // With AutoSize its one control lies 30 twips in from every side; of two, none moves.
        auto* child = new QLabel(&c);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        QVERIFY(!c.setAutoSize(1));
        const int inset = TwipsToPixels(30);
        const QRect placed(inset, inset, c.width() - 2 * inset, 200 - 2 * inset);
        QCOMPARE(child->geometry(), placed);
        new QLabel(&c);
        c.resize(300, 80);
        QCOMPARE(child->geometry(), placed);

        // A click needs the press and the release inside.
        QSignalSpy clicks(&c, &Container3D::Click);
        QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(-5, 2));
        QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(clicks.size(), 1);

        // The line keeps its thickness across its longer side.
        const int thick = TwipsToPixels(30);
        z3DLine line;
        line.show(); // a hidden widget gets its resize events only when shown
        for (const auto& [size, kept] : {std::pair{QSize(300, 40), QSize(300, thick)},
                                         {QSize(40, 300), QSize(thick, 300)},
                                         {QSize(40, 40), QSize(thick, 40)}}) {
            line.resize(size);
            QCOMPARE(line.size(), kept);
        }
    }
};

QTEST_MAIN(tst_Container3D)
#include "tst_Container3D.moc"
