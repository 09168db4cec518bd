// The 3D frame container (refused property values, minimum size, the frame it draws, entering
// and leaving it) and the 3D line.
#include "base/WindowUnits.h"
#include "controls/Container3D.h"
#include "controls/OleColor.h"
#include "controls/z3DLine.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QRgb shadow()
{
    return OleColorToQColor(OleSystemColor::ButtonShadow).rgb();
}

QRgb light()
{
    return OleColorToQColor(OleSystemColor::Highlight3D).rgb();
}

// Compares pixels {x, y, colour} of the widget's picture.
void checkPixels(QWidget& widget, std::initializer_list<std::tuple<int, int, QRgb>> pixels)
{
    const QImage image = widget.grab().toImage();
    for (const auto& [x, y, colour] : pixels)
        QVERIFY2(image.pixel(x, y) == colour, qPrintable(u"%1, %2"_s.arg(x).arg(y)));
}

} // namespace

class tst_Container3D : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void propertiesAndFrame()
    {
        Container3D c;
        QSignalSpy changed(&c, &Container3D::PropertyChanged);
        for (const int bad : {6, -1}) {
            const Container3D::PropertyError error = c.setCtrlEffect(bad);
            QCOMPARE(error.number, 514);
            QCOMPARE(error.description, u"Index Out Of Bounds"_s);
            QCOMPARE(error.source, u"Container3D.CtrlEffect"_s);
        }
        QCOMPARE(c.setAutoSize(2).number, 514);
        QCOMPARE(c.setMousePointer(40000).number, 6);
        QCOMPARE(changed.count(), 0);
        c.ReadProperties({{u"CtrlEffect"_s, 9}, {u"AutoSize"_s, u"x"_s}}); // damaged: defaults
        QVERIFY(c.WriteProperties().isEmpty());

        c.resize(TwipsToPixels(60), 200);
        QCOMPARE(c.size(), QSize(TwipsToPixels(120), 200)); // its minimum width
        // 100 x 50, thin raised: light at the top and left, shadow in column 99 and row 49.
        c.setBackColor(0x00FF00);
        c.resize(100, 50);
        const QRgb inside = qRgb(0, 255, 0);
        checkPixels(c, {{99, 10, shadow()},
                        {10, 49, shadow()},
                        {10, 0, light()},
                        {0, 10, light()},
                        {98, 48, inside}});
        QVERIFY(!c.setCtrlEffect(0));
        checkPixels(c, {{99, 10, inside}});
        QVERIFY(!c.setCtrlEffect(3)); // sunken: dark top-left, light bottom-right
        checkPixels(c, {{10, 0, shadow()}, {99, 10, light()}});
        QCOMPARE(changed.count(), 3); // BackColor and the two effects
    }

    void autoSizeFillsTheInsideOfTheFrame()
    {
        // The contained control is placed in the container's own pixels, 30 twips in from every
        // side, so it lines up with the frame at any resolution.
        Container3D c;
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
        const auto note = [&](QString what) { return [&events, what] { events << what; }; };
        connect(c, &Container3D::MouseEnter, this, note(u"enter"_s));
        connect(c, &Container3D::MouseExit, this, note(u"exit"_s));
        connect(c, &Container3D::MouseMove, this, [&](short, short, float x, float) {
            events << u"move %1"_s.arg(x / TwipsPerPixel());
        });

        // Enter and exit once per entry, also when the pointer goes onto a control it holds.
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
        // A dark line over a light one, along the longer side; a square stands upright.
        const int thick = TwipsToPixels(30), offset = TwipsToPixels(10);
        z3DLine line;
        line.show(); // a hidden widget gets its resize events only when shown
        line.resize(300, 40);
        QCOMPARE(line.size(), QSize(300, thick));
        checkPixels(line, {{5, 0, shadow()}, {5, offset, light()}, {299, 0, shadow()}});
        line.resize(40, 300);
        QCOMPARE(line.size(), QSize(thick, 300));
        checkPixels(line, {{0, 5, shadow()}, {offset, 5, light()}});
        line.resize(40, 40);
        QCOMPARE(line.size(), QSize(thick, 40));
    }
};

QTEST_MAIN(tst_Container3D)
#include "tst_Container3D.moc"
