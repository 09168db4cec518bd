// The title history's file: what it keeps, restarts, running copies, damaged files, failed writes.
#include "TestFolder.h"
#include "stations/TitleHistory.h"

#include <QtTest>

#include <thread>

class tst_TitleHistory : public QObject
{
    Q_OBJECT

    static QDateTime at(int s) { return QDateTime(QDate(2026, 12, 7), QTime(12, 0)).addSecs(s); }
    // A file another run wrote, with the titles "t0" (the oldest) to "t<count - 1>".
    static QByteArray historyBytes(int count, const QByteArray& title = "t")
    {
        QByteArray bytes = "skylistener title history 1\n";
        for (int i = 0; i < count; ++i)
            bytes += "2026-12-07T12:00:00+01:00\tStanice\t" + title + QByteArray::number(i) + '\n';
        return bytes;
    }
    static QStringList titles(TitleHistory& history)
    {
        QStringList out;
        for (const HistoryEntry& entry : history.entries())
            out.append(entry.title);
        return out;
    }

private Q_SLOTS:
    void keepsNewTitlesNewestFirstAcrossRestarts()
    {
        TestFolder folder;
        const QString path = folder.filePath(u"nova/slozka/historie.txt"_s);
        TitleHistory history(path);
        QVERIFY(history.add(at(0), u"Dvojka"_s, u"Píseň"_s));
        QVERIFY(!history.add(at(2), u"Dvojka"_s, u" \t "_s));
        QVERIFY(history.add(at(4), u"Rádio\t1"_s, u"Řádek\njeden\r\ndva"_s));
        QVERIFY(history.add(at(5), u"Dvojka"_s, u"Píseň"_s)); // again, after another one
        const QDateTime elsewhere(QDate(2026, 12, 7), QTime(20, 0), Qt::OffsetFromUTC, -5 * 3600);
        QVERIFY(history.add(elsewhere, u"Dvojka"_s, u"Z dálky"_s));
        const QList<HistoryEntry> expected{{elsewhere, u"Dvojka"_s, u"Z dálky"_s},
                                           {at(5), u"Dvojka"_s, u"Píseň"_s},
                                           {at(4), u"Rádio 1"_s, u"Řádek jeden  dva"_s},
                                           {at(0), u"Dvojka"_s, u"Píseň"_s}};
        QCOMPARE(TitleHistory(path).entries(), expected); // as the next run sees them

        // At most a thousand, the oldest dropped.
        folder.write(u"nova/slozka/historie.txt"_s, historyBytes(1000));
        QVERIFY(history.add(at(0), u"Dvojka"_s, u"nová"_s));
        const QStringList all = titles(history);
        QVERIFY(all.size() == 1000 && all.first() == u"nová"_s && all.last() == u"t1"_s);
    }

    void setsDamagedAndForeignFilesAside()
    {
        const QByteArray good = historyBytes(2);
        const QByteArray cases[] = {
            "<radiostation><stationname>Dvojka</stationname></radiostation>\r\n",
            good + "2026-12-07T12:00:00Z\tdvě pole\n",
            good + "včera\tStanice\tSkladba\n",
            good + "2026-12-07T12:00:00Z\tStanice\t\n",
            good + "2026-12-07T12:00:00Z\tStanice\tt\x01\n",
            good + "2026-12-07T12:00:00Z\tStanice\tt\xE8\n",
            historyBytes(4200, QByteArray(1000, 'x')), // well formed, but larger than any history
        };
        for (const QByteArray& bytes : cases) {
            TestFolder folder;
            const QString path = folder.write(u"historie.txt"_s, bytes);
            folder.write(u"historie.txt.poskozeny"_s, "odložený dříve");
            TitleHistory history(path);
            QVERIFY(history.entries().isEmpty());
            QCOMPARE(
                history.takeProblem(),
                u"Soubor historie skladeb \"%1\" byl poškozený. Byl odložen jako \"%1.poskozeny2\""
                u" a historie začíná znovu."_s.arg(path));
            QCOMPARE(folder.read(path + u".poskozeny2"_s), bytes);
        }
    }

    void runningCopiesAndFailedWrites()
    {
        TestFolder folder;
        TitleHistory first(folder.filePath(u"historie.txt"_s));
        TitleHistory second(first.filePath());
        QVERIFY(first.add(at(0), u"A"_s, u"a1"_s) && second.add(at(1), u"B"_s, u"b1"_s));
        QVERIFY(first.add(at(2), u"A"_s, u"a2"_s));
        QCOMPARE(titles(second), (QStringList{u"a2"_s, u"b1"_s, u"a1"_s}));
        QVERIFY(second.clear() && first.entries().isEmpty());
        // Both at the same moment.
        int kept[2] = {};
        const auto addTwenty = [&](TitleHistory& history, int copy) {
            for (int i = 0; i < 20; ++i)
                kept[copy] += history.add(at(i), {}, u"%1/%2"_s.arg(copy).arg(i));
        };
        std::thread other(addTwenty, std::ref(second), 1);
        addTwenty(first, 0);
        other.join();
        QVERIFY(kept[0] == 20 && kept[1] == 20 && titles(first).size() == 40);

        const auto cannotWrite = [](const QString& path) {
            return u"Historii skladeb nelze uložit do souboru \"%1\"."_s.arg(path);
        };
        // Failed writes keep the old file and say so. Here the folder cannot be made: a file has
        // its name.
        const QString nowhere = folder.write(u"soubor"_s, "x") + u"/historie.txt"_s;
        TitleHistory lost(nowhere);
        QVERIFY(!lost.add(at(0), u"Dvojka"_s, u"Píseň"_s) && !lost.clear());
        QCOMPARE(lost.takeProblem(), cannotWrite(nowhere) + u'\n' + cannotWrite(nowhere));

        const QByteArray before = historyBytes(50);
        TitleHistory history(folder.write(u"historie.txt"_s, before));
        {
            DiskFull full(500); // room for the lock file, not for the history
            QVERIFY(!history.add(at(0), u"Dvojka"_s, u"Píseň"_s));
        }
        QVERIFY(history.takeProblem() == cannotWrite(history.filePath()) &&
                folder.read(history.filePath()) == before);
        // The title is kept once the disk has room.
        QVERIFY(history.add(at(0), u"Dvojka"_s, u"Píseň"_s) && titles(history).size() == 51);
    }
};

QTEST_GUILESS_MAIN(tst_TitleHistory)
#include "tst_titlehistory.moc"
