// Every picture compiled into the program loads; the animation has 16 distinct frames and the
// toolbar finds its pictures by their exact keys.
#include "app/Icons.h"

#include <QDirIterator>
#include <QSvgRenderer>
#include <QtTest>

using namespace Qt::StringLiterals;

class tst_Icons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPictureLoads()
    {
        PictureFile(u"icons/skylistener.svg"_s); // registers the resources of the static library
        int seen = 0;
        for (const QString& folder : {u":/icons"_s, u":/about"_s}) {
            QDirIterator it(folder, {u"*.svg"_s}, QDir::Files, QDirIterator::Subdirectories);
            for (; it.hasNext(); ++seen)
                QVERIFY2(QSvgRenderer(it.next()).isValid(), qPrintable(it.filePath()));
        }
        QCOMPARE(seen, 2 + 7 + 16); // pictures, toolbar buttons, animation frames
        for (const QString& key :
             {u"Konec"_s, u"edit"_s, u"URL"_s, u"Volume"_s, u"Nute"_s, u"Stop"_s, u"Play"_s})
            QVERIFY2(!ToolbarIcon(key).isNull(), qPrintable(key));
        QVERIFY(ToolbarIcon(u"play"_s).isNull() && ToolbarIcon(u"Mute"_s).isNull());

        // Sixteen distinct frames; a number out of range shows the idle one.
        const auto image = [](int frame) { return AnimationFrame(frame).pixmap(16).toImage(); };
        QCOMPARE(AnimationFrameCount(), 16);
        QList<QImage> frames;
        for (int frame = 1; frame <= 16; ++frame) {
            QVERIFY2(!frames.contains(image(frame)), qPrintable(QString::number(frame)));
            frames.append(image(frame));
        }
        QCOMPARE(image(0), frames.first());
        QCOMPARE(image(17), frames.first());
    }
};

QTEST_MAIN(tst_Icons)
#include "tst_Icons.moc"
