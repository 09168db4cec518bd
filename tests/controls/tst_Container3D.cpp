// The 3D frame container (refused property values, minimum size, the place of the contained
// control, entering and leaving it) and the 3D line.
#include "base/WindowUnits.h"
#include "controls/Container3D.h"
#include "controls/z3DLine.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

class tst_Container3D : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void propertiesAndAutoSize()
    {
        Container3D c;
        QSignalSpy changed(&c, &Container3D::PropertyChanged);
        for (const int bad : {6, -1}) {
            const Container3D::PropertyError error = c.setCtrlEffect(bad);
            QVERIFY(error.number == 514 && error.description == u"Index Out Of Bounds"_s &&
                    error.source == u"Container3D.CtrlEffect"_s);
        }
        QVERIFY(c.setAutoSize(2).number == 514 && c.setMousePointer(40000).number == 6);
        QVERIFY(!c.setCtrlEffect(5) && !c.setCtrlEffect(0));
        QCOMPARE(changed.count(), 2);
        c.ReadProperties({{u"CtrlEffect"_s, 9}, {u"AutoSize"_s, u"x"_s}}); // damaged: defaults
        QVERIFY(c.WriteProperties().isEmpty());
        c.resize(TwipsToPixels(60), 200);
        QCOMPARE(c.size(), QSize(TwipsToPixels(120), 200)); // its minimum width

        // The contained control is placed 30 twips in from every side, in line with the frame.
        auto* child = new QLabel(&c);
        c.resize(200, 100);
        c.show();
        const QRect before = child->geometry();
        QVERIFY(!c.setAutoSize(1));
        const int inset = TwipsToPixels(30);
        QCOMPARE(child->geometry(), QRect(inset, inset, 200 - 2 * inset, 100 - 2 * inset));
        c.resize(300, 80);
        QCOMPARE(child->geometry(), QRect(inset, inset, 300 - 2 * inset, 80 - 2 * inset));
        // Two controls inside: nothing is placed.
        QVERIFY(!c.setAutoSize(0));
        child->setGeometry(before);
        new QLabel(&c);
        QVERIFY(!c.setAutoSize(1));
        QCOMPARE(child->geometry(), before);
    }

    void enterAndExitOncePerEntry()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* c = new Container3D(&window);
        auto* inner = new QLabel(u"inner"_s, c);
        inner->setGeometry(60, 10, 30, 20);
        auto* outside = new QLabel(u"outside"_s, &window);
        c->setFixedSize(100, 50);
        layout->addWidget(c);
        layout->addWidget(outside);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList events;
        connect(c, &Container3D::MouseEnter, this, [&] { events << u"enter"_s; });
        connect(c, &Container3D::MouseExit, this, [&] { events << u"exit"_s; });
        connect(c, &Container3D::MouseMove, this, [&](short, short, float x, float) {
            events << u"move %1"_s.arg(x / TwipsPerPixel());
        });
        // Also when the pointer goes onto a control it holds.
        QTest::mouseMove(c, QPoint(10, 10));
        QTest::mouseMove(c, QPoint(20, 10));
        QTest::mouseMove(inner, QPoint(5, 5));
        QTRY_COMPARE(events, (QStringList{u"enter"_s, u"move 10"_s, u"move 20"_s, u"exit"_s}));
        events.clear();
        QTest::mouseMove(c, QPoint(30, 30));
        QTest::mouseMove(outside, QPoint(2, 2));
        QTRY_COMPARE(events, (QStringList{u"enter"_s, u"move 30"_s, u"exit"_s}));
    }

    void lineLiesAlongItsLongerSide()
    {
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
