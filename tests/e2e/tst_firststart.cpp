// The shipped station list on the program's first start and after, with the real program.
#include "TestFolder.h"
#include "X11Session.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_FirstStart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A portable copy keeps its lists in its own folder. A first start (no settings yet) brings
    // the shipped list but leaves a list of the user's alone; deleted, the list stays deleted.
    void theShippedListComesOnlyOnTheFirstStart()
    {
        X11Session session;
        QVERIFY2(session.start(), qPrintable(session.error()));
        TestFolder folder;
        const QString program = folder.filePath(u"skylistener"_s);
        QVERIFY(QFile::copy(QStringLiteral(SKYLISTENER_EXE), program));
        const auto run = [&] { return session.startProgram(program) && session.closeProgram(); };
        QVERIFY2(run(), qPrintable(session.error()));
        QVERIFY(QFile::exists(folder.filePath(u"czech.ksl"_s)));

        const QByteArray own = StationBytes("Moje", "http://m") + "\r\n";
        folder.write(u"czech.ksl"_s, own);
        QVERIFY(QFile::remove(session.settingsFile()));
        QVERIFY2(run(), qPrintable(session.error()));
        QCOMPARE(folder.read(u"czech.ksl"_s), own);

        QVERIFY(QFile::remove(folder.filePath(u"czech.ksl"_s)));
        QVERIFY2(run(), qPrintable(session.error()));
        QVERIFY(!QFile::exists(folder.filePath(u"czech.ksl"_s)));
    }
};

QTEST_GUILESS_MAIN(tst_FirstStart)
#include "tst_firststart.moc"
