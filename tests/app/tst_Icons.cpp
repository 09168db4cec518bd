// Every picture compiled into the program loads and renders; the animation has 16 distinct
// frames. With SL_PICTURE_PREVIEW set to a folder, the renders are also written there as PNG
// files to look at.
#include "app/Icons.h"

#include <QDir>
#include <QDirIterator>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// The 16-pixel picture of an icon, and how many of its pixels are painted at all.
QImage small(const QIcon& icon)
{
    return icon.pixmap(QSize(16, 16), 1.0).toImage();
}

int paintedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    return count;
}

} // namespace

class tst_Icons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPictureRenders()
    {
        // The resources live in a static library; asking for a path registers them.
        PictureFile(u"icons/skylistener.svg"_s);
        const QString preview = qEnvironmentVariable("SL_PICTURE_PREVIEW");
        int seen = 0;
        for (const QString& folder : {u":/icons"_s, u":/about"_s}) {
            QDirIterator it(folder, {u"*.svg"_s}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                ++seen;
                QSvgRenderer renderer(path);
                QVERIFY2(renderer.isValid(), qPrintable(path));
                QVERIFY2(paintedPixels(small(QIcon(path))) > 16, qPrintable(path));
                if (!preview.isEmpty()) {
                    QImage image(renderer.defaultSize() * 4, QImage::Format_ARGB32_Premultiplied);
                    image.fill(Qt::transparent);
                    QPainter painter(&image);
                    renderer.render(&painter);
                    QVERIFY(QDir().mkpath(preview));
                    QVERIFY(
                        image.save(preview + u'/' + path.mid(2).replace(u'/', u'_') + u".png"_s));
                }
            }
        }
        // Six pictures, seven toolbar buttons and sixteen animation frames.
        QCOMPARE(seen, 6 + 7 + 16);

        // The toolbar's keys are exact, as the toolbar compares them.
        for (const QString& key :
             {u"Konec"_s, u"edit"_s, u"URL"_s, u"Volume"_s, u"Nute"_s, u"Stop"_s, u"Play"_s})
            QVERIFY2(paintedPixels(small(ToolbarIcon(key))) > 16, qPrintable(key));
        QVERIFY(ToolbarIcon(u"play"_s).isNull());
        QVERIFY(ToolbarIcon(u"Mute"_s).isNull());
        QVERIFY(small(ToolbarIcon(u"Volume"_s)) != small(ToolbarIcon(u"Nute"_s)));
        QVERIFY(small(StationIcon(true)) != small(StationIcon(false)));
        QVERIFY(!ApplicationIcon().isNull() && !ListIcon().isNull() && !BoldIcon().isNull());

        // Sixteen distinct frames; a number out of range shows the idle one.
        QCOMPARE(AnimationFrameCount(), 16);
        QList<QImage> frames;
        for (int frame = 1; frame <= 16; ++frame) {
            const QImage image = small(AnimationFrame(frame));
            QVERIFY2(!frames.contains(image), qPrintable(u"frame %1 repeats"_s.arg(frame)));
            frames.append(image);
        }
        QCOMPARE(small(AnimationFrame(0)), frames.first());
        QCOMPARE(small(AnimationFrame(17)), frames.first());
    }
};

QTEST_MAIN(tst_Icons)
#include "tst_Icons.moc"
