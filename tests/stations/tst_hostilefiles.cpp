// Station files made to hurt the reader load whole, and the list operations keep working on them.
#include "HostileStationFile.h"
#include "TestFolder.h"
#include "base/ProcessState.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList urls(const QList<StationRecord>& entries)
{
    QStringList out;
    for (const StationRecord& r : entries)
        out.append(r.url);
    return out;
}

} // namespace

class tst_HostileFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theGeneratorMakesWhatItPromises()
    {
        const QByteArray bytes = HostileStationBytes(1 << 20);
        QVERIFY(bytes.size() > 900 * 1024 && bytes.size() <= 1 << 20);
        QCOMPARE(bytes.count("Bez konce "), 1000);
        QCOMPARE(bytes.count("<stationurl>"), 2);
        QVERIFY(bytes.contains(QByteArray(4096, '\0')));
        QVERIFY(bytes.contains("\x81\x83\x88\x90\x98"));
    }

    void hostileFilesLoadAndChange_data()
    {
        QTest::addColumn<int>("megabytes");
        QTest::newRow("1 MB") << 1;
        QTest::newRow("50 MB") << 50;
    }

    void hostileFilesLoadAndChange()
    {
        QFETCH(int, megabytes);
        TestFolder folder;
        const QByteArray bytes = HostileStationBytes(qsizetype(megabytes) << 20);
        setStationFilePath(folder.write(u"hostile.ksl"_s, bytes));

        const QString text = ReadStationFile(StationFilePath());
        QVERIFY(text.size() > bytes.size() * 9 / 10); // NULs and undefined bytes are kept
        QVERIFY(text.contains(QChar(0x81)));
        QVERIFY(text.contains(QChar(0)));

        // The complete stations at both ends are found through everything in between.
        const QList<StationRecord> all = StationListEntries(text, StationFilter::All);
        QVERIFY(urls(all).contains(u"http://start/"_s));
        QVERIFY(urls(all).contains(u"http://konec/"_s));
        QCOMPARE(all.size(), 2);
        QCOMPARE(StationListEntries(text, StationFilter::VisibleOnly).size(), 2);
        QVERIFY(StationExists(u"http://konec/"_s));
        QVERIFY(!StationExists(u"http://nikde/"_s));

        // A rewrite keeps the complete records and drops what was never a station.
        QVERIFY(DeleteStation(u"http://start/"_s));
        const QString after = ReadStationFile(StationFilePath());
        QVERIFY(after.size() < text.size());
        QCOMPARE(urls(StationListEntries(after, StationFilter::All)),
                 QStringList{u"http://konec/"_s});
        QVERIFY(AddStation(u"Nová"_s, u"http://nova/"_s, u"0"_s, u"0"_s, u"1"_s));
        QCOMPARE(StationListEntries(ReadStationFile(StationFilePath()), StationFilter::All).size(),
                 2);
    }
};

QTEST_GUILESS_MAIN(tst_HostileFiles)
#include "tst_hostilefiles.moc"
