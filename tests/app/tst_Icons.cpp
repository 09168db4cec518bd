// Every picture loads; toolbar keys are exact; 16 distinct frames, the first for any other number.
#include "app/Icons.h"

#include <QSvgRenderer>
#include <QtTest>

using namespace Qt::StringLiterals;

class tst_Icons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPictureLoads()
    {
        PictureFile({}); // registers the resources of the static library
        int seen = 0;
        for (QDirIterator it(u":/"_s, {u"*.svg"_s}, QDir::Files, QDirIterator::Subdirectories);
             it.hasNext(); ++seen)
            QVERIFY2(QSvgRenderer(it.next()).isValid(), qPrintable(it.filePath()));
        QCOMPARE(seen, 2 + 7 + 16); // pictures, toolbar buttons, animation frames
        for (const QString& key : {u"Konec"_s, u"edit"_s, u"URL"_s, u"Volume"_s, u"Nute"_s,
                                   u"Stop"_s, u"Play"_s, u"play"_s})
            QVERIFY2(ToolbarIcon(key).isNull() == (key == u"play"), qPrintable(key));
        QList<QImage> frames;
        for (int frame = 0; frame <= AnimationFrameCount() + 1; ++frame)
            frames += AnimationFrame(frame).pixmap(16).toImage();
        QVERIFY(frames.first() == frames.at(1) && frames.last() == frames.at(1));
        for (int frame = 2; frame <= 16; ++frame)
            QVERIFY(!frames.mid(1, frame - 1).contains(frames.at(frame)));
    }
};

QTEST_MAIN(tst_Icons)
#include "tst_Icons.moc"
