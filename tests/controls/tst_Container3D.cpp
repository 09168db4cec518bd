#include "app/WindowUnits.h"
#include "controls/Container3D.h"
#include "controls/OleColor.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

class tst_Container3D : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaults()
    {
        Container3D c;
        QCOMPARE(c.CtrlEffect(), 1);
        QCOMPARE(c.AutoSize(), 0);
        QCOMPARE(c.BackColor(), 0x8000000Fu);
        QCOMPARE(c.BackStyle(), 1);
        QCOMPARE(c.MousePointer(), 0);
        QVERIFY(c.Enabled());
        QVERIFY(c.WriteProperties().isEmpty());
    }

    void outOfRangeValuesAreRefused()
    {
        Container3D c;
        QVERIFY(!c.setCtrlEffect(3));
        QSignalSpy changed(&c, &Container3D::PropertyChanged);
        for (const int bad : {6, -1}) {
            const Container3D::PropertyError error = c.setCtrlEffect(bad);
            QCOMPARE(error.number, 514);
            QCOMPARE(error.description, u"Index Out Of Bounds"_s);
            QCOMPARE(error.source, u"Container3D.CtrlEffect"_s);
            QCOMPARE(c.CtrlEffect(), 3);
        }
        QCOMPARE(c.setAutoSize(2).number, 514);
        QCOMPARE(c.setAutoSize(-1).number, 514);
        QCOMPARE(c.AutoSize(), 0);
        QCOMPARE(c.setMousePointer(40000).number, 6);
        QCOMPARE(c.setBackStyle(-40000).number, 6);
        QCOMPARE(c.BackStyle(), 1);
        QCOMPARE(changed.count(), 0);

        QVERIFY(!c.setCtrlEffect(0));
        QVERIFY(!c.setCtrlEffect(5));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(0).at(0).toString(), u"CtrlEffect"_s);
    }

    void propertySetOmitsDefaults()
    {
        Container3D c;
        (void)c.setCtrlEffect(3);
        c.setBackColor(0x00FF00);
        QVariantMap bag = c.WriteProperties();
        QCOMPARE(bag.keys(), (QStringList{u"BackColor"_s, u"CtrlEffect"_s}));
        QCOMPARE(bag.value(u"CtrlEffect"_s).toInt(), 3);

        Container3D d;
        d.ReadProperties(bag);
        QCOMPARE(d.CtrlEffect(), 3);
        QCOMPARE(d.BackColor(), 0x00FF00u);
        QCOMPARE(d.WriteProperties(), bag);

        // A damaged set falls back to the defaults.
        Container3D e;
        e.ReadProperties({{u"CtrlEffect"_s, 9}, {u"AutoSize"_s, u"x"_s}});
        QCOMPARE(e.CtrlEffect(), 1);
        QCOMPARE(e.AutoSize(), 0);
    }

    void keepsItsMinimumSize()
    {
        Container3D c;
        c.resize(TwipsToPixels(60), TwipsToPixels(60));
        QCOMPARE(c.size(), QSize(TwipsToPixels(120), TwipsToPixels(120)));
        c.resize(TwipsToPixels(60), 200);
        QCOMPARE(c.size(), QSize(TwipsToPixels(120), 200));
    }

    void thinRaisedFrameLines()
    {
        Container3D c;
        c.setBackColor(0x00FF00); // green inside, to tell the frame from it
        c.resize(100, 50);
        const QImage image = c.grab().toImage();
        QCOMPARE(image.size(), QSize(100, 50));
        const QColor shadow = OleColorToQColor(OleSystemColor::ButtonShadow);
        QCOMPARE(image.pixelColor(99, 10).rgb(), shadow.rgb());
        QCOMPARE(image.pixelColor(99, 49).rgb(), shadow.rgb());
        QCOMPARE(image.pixelColor(10, 49).rgb(), shadow.rgb());
        QCOMPARE(image.pixelColor(10, 0).rgb(), QColor(Qt::white).rgb());
        QCOMPARE(image.pixelColor(0, 10).rgb(), QColor(Qt::white).rgb());
        QCOMPARE(image.pixelColor(98, 48).rgb(), QColor(0, 255, 0).rgb());
        QCOMPARE(image.pixelColor(50, 25).rgb(), QColor(0, 255, 0).rgb());

        (void)c.setCtrlEffect(0);
        const QImage plain = c.grab().toImage();
        QCOMPARE(plain.pixelColor(99, 10).rgb(), QColor(0, 255, 0).rgb());

        // Sunken: dark top-left and light bottom-right on the outer ring.
        (void)c.setCtrlEffect(3);
        const QImage sunken = c.grab().toImage();
        QCOMPARE(sunken.pixelColor(10, 0).rgb(), shadow.rgb());
        QCOMPARE(sunken.pixelColor(99, 10).rgb(),
                 (OleColorToQColor(OleSystemColor::Highlight3D)).rgb());
        QCOMPARE(sunken.pixelColor(10, 1).rgb(),
                 (OleColorToQColor(OleSystemColor::DarkShadow3D)).rgb());
    }

    void autoSizeFitsASingleControl()
    {
        Container3D c;
        c.resize(200, 100);
        c.show(); // a hidden widget gets its resize events only when shown
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        auto* only = new QLabel(&c);
        only->setGeometry(50, 50, 10, 10);
        QVERIFY(!c.setAutoSize(1));
        const int inset = TwipsToPixels(30);
        QCOMPARE(only->geometry(), QRect(inset, inset, 200 - 2 * inset, 100 - 2 * inset));
        c.resize(300, 120);
        QCOMPARE(only->geometry(), QRect(inset, inset, 300 - 2 * inset, 120 - 2 * inset));

        auto* second = new QLabel(&c);
        second->setGeometry(1, 1, 5, 5);
        only->setGeometry(50, 50, 10, 10);
        c.resize(250, 150);
        QCOMPARE(only->geometry(), QRect(50, 50, 10, 10));
        QCOMPARE(second->geometry(), QRect(1, 1, 5, 5));
    }

    void mouseEnterAndExitOncePerEntry()
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
        connect(c, &Container3D::MouseEnter, this, [&] { events.append(u"enter"_s); });
        connect(c, &Container3D::MouseExit, this, [&] { events.append(u"exit"_s); });
        connect(c, &Container3D::MouseMove, this, [&](short, short, float x, float) {
            events.append(u"move %1"_s.arg(x / TwipsPerPixel()));
        });

        QTest::mouseMove(c, QPoint(10, 10));
        QTest::mouseMove(c, QPoint(20, 10));
        QCOMPARE(events, (QStringList{u"enter"_s, u"move 10"_s, u"move 20"_s}));

        // Onto a control it holds: the window under the cursor is no longer the container.
        QTest::mouseMove(inner, QPoint(5, 5));
        QTRY_COMPARE(events.count(u"exit"_s), 1);
        QCOMPARE(events.last(), u"exit"_s);

        events.clear();
        QTest::mouseMove(c, QPoint(30, 30));
        QCOMPARE(events, (QStringList{u"enter"_s, u"move 30"_s}));
        QTest::mouseMove(outside, QPoint(2, 2));
        QTRY_COMPARE(events.count(u"exit"_s), 1);
        QCOMPARE(events.count(u"enter"_s), 1);
    }

    void mouseEventsArePassedOn()
    {
        Container3D c;
        c.resize(100, 50);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        QStringList events;
        connect(&c, &Container3D::MouseDown, this, [&](short b, short s, float x, float y) {
            events.append(u"down %1 %2 %3 %4"_s.arg(b).arg(s).arg(x).arg(y));
        });
        connect(&c, &Container3D::MouseUp, this,
                [&](short b, short, float, float) { events.append(u"up %1"_s.arg(b)); });
        connect(&c, &Container3D::Click, this, [&] { events.append(u"click"_s); });
        connect(&c, &Container3D::DblClick, this, [&] { events.append(u"dblclick"_s); });

        QTest::mouseClick(&c, Qt::RightButton, Qt::ShiftModifier, QPoint(4, 2));
        const int tpp = TwipsPerPixel();
        QCOMPARE(events, (QStringList{u"down 2 1 %1 %2"_s.arg(4 * tpp).arg(2 * tpp), u"up 2"_s,
                                      u"click"_s}));
        events.clear();
        QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(4, 2));
        QTest::mouseDClick(&c, Qt::LeftButton, {}, QPoint(4, 2));
        QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(4, 2));
        QCOMPARE(events, (QStringList{u"down 1 0 %1 %2"_s.arg(4 * tpp).arg(2 * tpp), u"up 1"_s,
                                      u"click"_s, u"dblclick"_s, u"up 1"_s}));
    }
};

QTEST_MAIN(tst_Container3D)
#include "tst_Container3D.moc"
