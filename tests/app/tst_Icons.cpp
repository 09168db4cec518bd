#include "app/Icons.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList ToolbarKeys = {u"Konec"_s, u"edit"_s, u"URL"_s, u"Volume"_s,
                                 u"Nute"_s,  u"Stop"_s, u"Play"_s};

QImage render(QSvgRenderer& renderer, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

int paintedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return count;
}

QImage iconImage(const QIcon& icon, int side)
{
    return icon.pixmap(QSize(side, side), 1.0).toImage();
}

} // namespace

// Loads and renders every picture compiled into the program. With SL_PICTURE_PREVIEW set to a
// folder, the renders are also written there as PNG files to look at.
class tst_Icons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPictureRenders()
    {
        // The resources live in a static library; asking for a path registers them.
        PictureFile(u"icons/skylistener.svg"_s);

        QStringList expected = {u":/icons/skylistener.svg"_s,
                                u":/icons/list.svg"_s,
                                u":/icons/station-visible.svg"_s,
                                u":/icons/station-hidden.svg"_s,
                                u":/icons/bold.svg"_s,
                                u":/about/background.svg"_s};
        for (const QString& key : ToolbarKeys) {
            expected.append(u":/icons/toolbar/"_s + key + u".svg"_s);
        }
        for (int frame = 1; frame <= 16; ++frame) {
            expected.append(u":/icons/anim/frame%1.svg"_s.arg(frame, 2, 10, QLatin1Char('0')));
        }
        for (const QString& path : expected) {
            QVERIFY2(QFile::exists(path), qPrintable(path));
        }

        const QString preview = qEnvironmentVariable("SL_PICTURE_PREVIEW");
        int seen = 0;
        for (const QString& folder : {u":/icons"_s, u":/about"_s}) {
            QDirIterator it(folder, {u"*.svg"_s}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                ++seen;
                QSvgRenderer renderer(path);
                QVERIFY2(renderer.isValid(), qPrintable(path));
                const QImage small = render(renderer, QSize(16, 16));
                QVERIFY2(paintedPixels(small) > 16, qPrintable(path));
                QVERIFY2(paintedPixels(iconImage(QIcon(path), 16)) > 16, qPrintable(path));
                if (!preview.isEmpty()) {
                    QString name = path.mid(2);
                    name.replace(u'/', u'_');
                    const QSize large = renderer.defaultSize().width() > 64
                                            ? renderer.defaultSize()
                                            : renderer.defaultSize() * 4;
                    QVERIFY(QDir().mkpath(preview));
                    QVERIFY(render(renderer, large).save(preview + u'/' + name + u".png"_s));
                    QVERIFY(small.save(preview + u'/' + name + u"-16.png"_s));
                }
            }
        }
        QCOMPARE(seen, expected.size());

        QCOMPARE(QSvgRenderer(u":/about/background.svg"_s).defaultSize(), QSize(356, 132));
        QCOMPARE(QSvgRenderer(u":/icons/anim/frame01.svg"_s).defaultSize(), QSize(16, 16));
    }

    void toolbarPictures()
    {
        for (const QString& key : ToolbarKeys) {
            const QIcon icon = ToolbarIcon(key);
            QVERIFY2(!icon.isNull(), qPrintable(key));
            QVERIFY2(paintedPixels(iconImage(icon, 16)) > 16, qPrintable(key));
        }
        // Keys are exact, as the toolbar compares them.
        QVERIFY(ToolbarIcon(u"play"_s).isNull());
        QVERIFY(ToolbarIcon(u"Mute"_s).isNull());
        QVERIFY(ToolbarIcon(QString()).isNull());
        // Mute and unmute must not look alike.
        QVERIFY(iconImage(ToolbarIcon(u"Volume"_s), 16) != iconImage(ToolbarIcon(u"Nute"_s), 16));
    }

    void animationFrames()
    {
        QCOMPARE(AnimationFrameCount(), 16);
        QList<QImage> images;
        for (int frame = 1; frame <= AnimationFrameCount(); ++frame) {
            const QImage image = iconImage(AnimationFrame(frame), 16);
            QVERIFY(paintedPixels(image) > 16);
            for (qsizetype other = 0; other < images.size(); ++other) {
                QVERIFY2(image != images[other],
                         qPrintable(u"frame %1 repeats frame %2"_s.arg(frame).arg(other + 1)));
            }
            images.append(image);
        }
        // A frame number out of range shows the idle picture.
        QCOMPARE(iconImage(AnimationFrame(0), 16), images.first());
        QCOMPARE(iconImage(AnimationFrame(17), 16), images.first());
    }

    void otherPictures()
    {
        QVERIFY(paintedPixels(iconImage(ApplicationIcon(), 48)) > 48 * 4);
        QVERIFY(!ListIcon().isNull());
        QVERIFY(!BoldIcon().isNull());
        QVERIFY(iconImage(StationIcon(true), 16) != iconImage(StationIcon(false), 16));
    }
};

QTEST_MAIN(tst_Icons)
#include "tst_Icons.moc"
