// Every picture compiled into the program loads and renders; the animation has 16 distinct
// frames and the toolbar finds its pictures by their exact keys.
#include "app/Icons.h"

#include <QDirIterator>
#include <QSvgRenderer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QImage small(const QIcon& icon)
{
    return icon.pixmap(QSize(16, 16), 1.0).toImage();
}

// More than one row of painted pixels: a picture that loads but draws nothing fails.
bool painted(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    return count > 16;
}

} // namespace

class tst_Icons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPictureRenders()
    {
        PictureFile(u"icons/skylistener.svg"_s); // registers the resources of the static library
        int seen = 0;
        for (const QString& folder : {u":/icons"_s, u":/about"_s}) {
            QDirIterator it(folder, {u"*.svg"_s}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                ++seen;
                QVERIFY2(QSvgRenderer(path).isValid() && painted(small(QIcon(path))),
                         qPrintable(path));
            }
        }
        QCOMPARE(seen, 2 + 7 + 16); // pictures, toolbar buttons, animation frames

        for (const QString& key :
             {u"Konec"_s, u"edit"_s, u"URL"_s, u"Volume"_s, u"Nute"_s, u"Stop"_s, u"Play"_s})
            QVERIFY2(painted(small(ToolbarIcon(key))), qPrintable(key));
        QVERIFY(ToolbarIcon(u"play"_s).isNull() && ToolbarIcon(u"Mute"_s).isNull());
        QVERIFY(small(ToolbarIcon(u"Volume"_s)) != small(ToolbarIcon(u"Nute"_s)));
        QVERIFY(!ApplicationIcon().isNull());

        // Sixteen distinct frames; a number out of range shows the idle one.
        QCOMPARE(AnimationFrameCount(), 16);
        QList<QImage> frames;
        for (int frame = 1; frame <= 16; ++frame) {
            QVERIFY2(!frames.contains(small(AnimationFrame(frame))),
                     qPrintable(QString::number(frame)));
            frames.append(small(AnimationFrame(frame)));
        }
        QCOMPARE(small(AnimationFrame(0)), frames.first());
        QCOMPARE(small(AnimationFrame(17)), frames.first());
    }
};

QTEST_MAIN(tst_Icons)
#include "tst_Icons.moc"
