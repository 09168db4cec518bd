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
    // A portable copy keeps its lists in its own folder. Deleted by the user, the shipped list
    // stays deleted.
    void theShippedListComesOnlyOnTheFirstStart()
    {
        X11Session session;
        QVERIFY2(session.start(), qPrintable(session.error()));
        TestFolder folder;
        const QString program = folder.filePath(u"skylistener"_s);
        QVERIFY(QFile::copy(QStringLiteral(SKYLISTENER_EXE), program));
        for (const bool first : {true, false}) {
            QVERIFY2(session.startProgram(program), qPrintable(session.error()));
            QCOMPARE(QFile::exists(folder.filePath(u"czech.ksl"_s)), first);
            QVERIFY(session.closeProgram());
            QVERIFY(!first || QFile::remove(folder.filePath(u"czech.ksl"_s)));
        }
    }
};

QTEST_GUILESS_MAIN(tst_FirstStart)
#include "tst_firststart.moc"
