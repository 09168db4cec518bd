// A list file's title: its name up to the first dot, first letter in upper case.
#include "stations/ListTitle.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_ListTitle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void titles_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << u"czech.ksl"_s << u"Czech"_s;
        QTest::newRow("upper-case extension") << u"rock.KSL"_s << u"Rock"_s;
        QTest::newRow("first of two extensions") << u"old.ksl.ksl"_s << u"Old"_s;
        QTest::newRow("no extension") << u"jazz"_s << u"Jazz"_s;
        QTest::newRow("only the extension") << u".ksl"_s << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("one letter") << u"a.ksl"_s << u"A"_s;
        QTest::newRow("accented first letter") << u"čeština.ksl"_s << u"Čeština"_s;
        QTest::newRow("rest keeps its case") << u"mY LiST.Ksl"_s << u"MY LiST"_s;
        QTest::newRow("extension inside the name") << u"a.kslx.ksl"_s << u"A"_s;
    }

    void titles()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, title);
        QCOMPARE(GetListTitle(fileName), title);
    }
};

QTEST_GUILESS_MAIN(tst_ListTitle)
#include "tst_ListTitle.moc"
