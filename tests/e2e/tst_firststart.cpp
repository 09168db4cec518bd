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
    void theShippedListComesOnlyOnTheFirstStart()
    {
        X11Session session;
        QVERIFY2(session.start(), qPrintable(session.error()));
        // A portable copy: the program's own folder is where its lists live.
        TestFolder folder;
        const QString program = folder.filePath(u"skylistener"_s);
        QVERIFY(QFile::copy(QStringLiteral(SKYLISTENER_EXE), program));
        const QString shipped = folder.filePath(u"czech.ksl"_s);

        QVERIFY2(session.startProgram(program), qPrintable(session.error()));
        QVERIFY(QFile::exists(shipped));
        QVERIFY(session.closeProgram());

        // Deleted by the user, it stays deleted.
        QVERIFY(QFile::remove(shipped));
        QVERIFY2(session.startProgram(program), qPrintable(session.error()));
        QVERIFY(!QFile::exists(shipped));
        QVERIFY(session.closeProgram());
    }
};

QTEST_GUILESS_MAIN(tst_FirstStart)
#include "tst_firststart.moc"
