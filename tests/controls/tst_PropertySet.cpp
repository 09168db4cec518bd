// The stored property set: names without regard to case, defaults left out, order kept.
#include "controls/PropertySet.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_PropertySet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesIgnoreCase();
    void defaultsAreLeftOut();
};

void tst_PropertySet::namesIgnoreCase()
{
    PropertySet set;
    set.write(u"Max"_s, 100, 10);
    set.write(u"RailStyle"_s, 3, 0);
    QCOMPARE(set.read(u"max", 10).toInt(), 100);
    QCOMPARE(set.read(u"RAILSTYLE", 0).toInt(), 3);
    QVERIFY(set.contains(u"mAx"));
    QCOMPARE(set.read(u"Value", 7).toInt(), 7);

    // A second write of the same name, spelled otherwise, replaces the value in its place.
    set.write(u"max"_s, 50, 10);
    QCOMPARE(set.size(), 2);
    QCOMPARE(set.names(), (QStringList{u"max"_s, u"RailStyle"_s}));
    QCOMPARE(set.read(u"Max", 10).toInt(), 50);

    set.remove(u"MAX");
    QVERIFY(!set.contains(u"Max"));
    QCOMPARE(set.read(u"Max", 10).toInt(), 10);
}

void tst_PropertySet::defaultsAreLeftOut()
{
    PropertySet set;
    set.write(u"Enabled"_s, true, true);
    set.write(u"MouseIcon"_s, QVariant());
    QVERIFY(set.isEmpty());

    set.write(u"Orientation"_s, 0, 1);
    set.write(u"Enabled"_s, false, true);
    set.write(u"Min"_s, -5, 0);
    QCOMPARE(set.names(), (QStringList{u"Orientation"_s, u"Enabled"_s, u"Min"_s}));

    // Writing the default later takes the name out again.
    set.write(u"enabled"_s, true, true);
    QCOMPARE(set.names(), (QStringList{u"Orientation"_s, u"Min"_s}));
    QCOMPARE(set.read(u"Enabled", true).toBool(), true);
    QCOMPARE(set.read(u"Orientation", 1).toInt(), 0);
}

QTEST_GUILESS_MAIN(tst_PropertySet)
#include "tst_PropertySet.moc"
