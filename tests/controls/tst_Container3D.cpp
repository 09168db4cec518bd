// The 3D frame container (refused values, minimum size, the place of its one control, entering
// and leaving it) and the 3D line.
#include "base/WindowUnits.h"
#include "controls/Container3D.h"
#include "controls/z3DLine.h"

#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Container3D : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void propertiesAndSizes()
    {
        Container3D c;
        QVERIFY(c.setCtrlEffect(6).number == 514 && c.setCtrlEffect(-1).number == 514 &&
                !c.setCtrlEffect(5) && !c.setCtrlEffect(0));
        QVERIFY(c.setAutoSize(2).number == 514 && !c.setAutoSize(0) &&
                c.setMousePointer(40000).number == 6);
        c.ReadProperties({{u"CtrlEffect"_s, 9}, {u"AutoSize"_s, u"x"_s}}); // damaged: defaults
        QVERIFY(c.WriteProperties().isEmpty());
        c.resize(TwipsToPixels(60), 200);
        QCOMPARE(c.size(), QSize(TwipsToPixels(120), 200)); // its minimum width
        // With AutoSize its one control lies 30 twips in from every side; of two, none moves.
        auto* child = new QLabel(&c);
        c.show();
        QVERIFY(!c.setAutoSize(1));
        const int inset = TwipsToPixels(30);
        const QRect placed(inset, inset, c.width() - 2 * inset, 200 - 2 * inset);
        QCOMPARE(child->geometry(), placed);
        new QLabel(&c);
        c.resize(300, 80);
        QCOMPARE(child->geometry(), placed);

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

    void enterAndExitOncePerEntry()
    {
        QWidget window;
        auto* c = new Container3D(&window);
        c->setGeometry(0, 0, 100, 50);
        auto* inner = new QLabel(c);
        inner->setGeometry(60, 10, 30, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList events;
        connect(c, &Container3D::MouseEnter, this, [&] { events << u"enter"_s; });
        connect(c, &Container3D::MouseExit, this, [&] { events << u"exit"_s; });
        connect(c, &Container3D::MouseMove, this, [&](short, short, float x, float) {
            events << QString::number(x / TwipsPerPixel());
        });
        // Also when the pointer goes onto a control it holds; again when it comes back.
        QTest::mouseMove(c, QPoint(10, 10));
        QTest::mouseMove(c, QPoint(20, 10));
        QTest::mouseMove(inner, QPoint(5, 5));
        QTRY_COMPARE(events, (QStringList{u"enter"_s, u"10"_s, u"20"_s, u"exit"_s}));
        QTest::mouseMove(c, QPoint(30, 30));
        QTRY_COMPARE(events.mid(4), (QStringList{u"enter"_s, u"30"_s}));
    }
};

QTEST_MAIN(tst_Container3D)
#include "tst_Container3D.moc"
