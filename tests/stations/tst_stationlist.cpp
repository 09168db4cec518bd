// Lookup, add, replace and delete, also on files made to hurt the reader; the entries and
// titles the lists show; what a station's name or URL may not contain.
#include "HostileStationFile.h"
#include "SmallDisk.h"
#include "TestFolder.h"
#include "base/ProcessState.h"
#include "stations/ListTitle.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"
#include "stations/StationValueCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_StationList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestFolder> m_folder;

    QByteArray current() const { return m_folder->read(u"list.ksl"_s); }
    void useList(const QByteArray& bytes)
    {
        setStationFilePath(m_folder->write(u"list.ksl"_s, bytes));
    }

private Q_SLOTS:
    void init()
    {
        m_folder = std::make_unique<TestFolder>();
        setStationFilePath(m_folder->filePath(u"list.ksl"_s));
    }

    void stationExists()
    {
        useList(StationBytes("A", "http://Radio.cz/stream") + StationBytes("B", "http://b") +
                "\r\n");
        QVERIFY(StationExists(u"http://radio.cz/STREAM"_s));
        QVERIFY(StationExists(u"http://b"_s));
        QVERIFY(!StationExists(u"http://radio.cz/"_s)); // a prefix is not the station
        QVERIFY(!StationExists(u"http://radio.cz/stream/more"_s));
        QVERIFY(!StationExists(QString()));
        // Accented letters count case-insensitively too.
        useList(StationBytes("A", "http://x/\xC8RO") + "\r\n");
        QVERIFY(StationExists(u"http://x/čro"_s));
    }

    void addCreatesAndAppends()
    {
        QVERIFY(AddStation(u"Nová"_s, u"http://n"_s, u"255"_s, u"1"_s, u"0"_s));
        // Argument order is bold, visible; the record stores visible first.
        QCOMPARE(current(), StationBytes("Nov\xE1", "http://n", "255", "0", "1") + "\r\n");

        // Adding keeps text outside records (without CR LF pairs and tabs).
        useList("intro\t\r\n" + StationBytes("A", "http://a") + "\r\n");
        QVERIFY(AddStation(u"B"_s, u"http://b"_s, u"0"_s, u"0"_s, u"1"_s));
        QCOMPARE(current(),
                 "intro" + StationBytes("A", "http://a") + StationBytes("B", "http://b") + "\r\n");
    }

    void replaceRewritesOnlyTheStation()
    {
        // The first URL is a prefix of the second; mixed-case outer tags; text outside records.
        useList("head<RADIOSTATION><stationname>A</stationname><stationurl>http://a</stationurl>"
                "</RADIOSTATION>between" +
                StationBytes("AA", "http://a/long") + "tail<radiostation>unterminated\r\n");
        QVERIFY(ReplaceStation(u"HTTP://A"_s, u"New"_s, u"http://new"_s, u"5"_s, u"1"_s, u"1"_s));
        QCOMPARE(current(), StationBytes("New", "http://new", "5", "1", "1") +
                                StationBytes("AA", "http://a/long") + "\r\n");

        // Empty URLs and an empty file write nothing.
        const QByteArray before = current();
        QVERIFY(ReplaceStation(QString(), u"x"_s, u"http://x"_s, u"0"_s, u"0"_s, u"1"_s));
        QVERIFY(ReplaceStation(u"http://new"_s, u"x"_s, QString(), u"0"_s, u"0"_s, u"1"_s));
        QCOMPARE(current(), before);
        useList("\r\n");
        QFile::remove(StationFilePath());
        QVERIFY(ReplaceStation(u"http://a"_s, u"x"_s, u"http://x"_s, u"0"_s, u"0"_s, u"1"_s));
        QVERIFY(!QFile::exists(StationFilePath()));
    }

    void deleteKeepsTheRest()
    {
        useList("junk<Radiostation><STATIONURL>http://keep</STATIONURL></radioStation>" +
                StationBytes("Gone", "http://Gone") + "\r\n");
        QVERIFY(DeleteStation(u"http://gone"_s));
        QCOMPARE(
            current(),
            QByteArray("<radiostation><STATIONURL>http://keep</STATIONURL></radiostation>\r\n"));

        // Deleting an unknown URL still rewrites in the single-line form; the last one leaves CR
        // LF.
        useList(StationBytes("A", "http://a") + "\r\n\t" + StationBytes("B", "http://b") + "\r\n");
        QVERIFY(DeleteStation(u"http://none"_s));
        QCOMPARE(current(), StationBytes("A", "http://a") + StationBytes("B", "http://b") + "\r\n");
        QVERIFY(DeleteStation(u"http://a"_s));
        QVERIFY(DeleteStation(u"http://b"_s));
        QCOMPARE(current(), QByteArray("\r\n"));
        QVERIFY(DeleteStation(u"http://b"_s)); // an empty list writes nothing
        QCOMPARE(current(), QByteArray("\r\n"));
    }

    void failedChangesKeepTheFile()
    {
        useList(StationBytes("A", "http://a") + "\r\n");
        const QByteArray before = current();
        QFile::setPermissions(StationFilePath(), QFile::ReadOwner);
        QString message;
        QVERIFY(!AddStation(u"B"_s, u"http://b"_s, u"0"_s, u"0"_s, u"1"_s, &message));
        QVERIFY(message.contains(u"list.ksl"_s));
        QVERIFY(!ReplaceStation(u"http://a"_s, u"B"_s, u"http://b"_s, u"0"_s, u"0"_s, u"1"_s));
        QVERIFY(!DeleteStation(u"http://a"_s));
        QCOMPARE(current(), before);
        QFile::setPermissions(StationFilePath(), QFile::ReadOwner | QFile::WriteOwner);
    }

    void aFullDiskKeepsTheFile()
    {
        // The list fills the small disk but for a few bytes; any larger list does not fit.
        const QString diskFolder = m_folder->filePath(u"disk"_s);
        QVERIFY(QDir().mkpath(diskFolder));
        constexpr qint64 capacity = 64 * 1024;
        SmallDisk disk(diskFolder, capacity);
        qInfo("%s", qPrintable(disk.describe()));
        const QString path = QDir(diskFolder).filePath(u"list.ksl"_s);
        const QByteArray before = StationListOfSize(StationBytes("A", "http://a"), capacity - 100);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(before), before.size());
        }
        setStationFilePath(path);

        QString message;
        QVERIFY(!AddStation(u"Nová"_s, u"http://nova"_s, u"0"_s, u"0"_s, u"1"_s, &message));
        QCOMPARE(message, StationFileWriteErrorMessage(path));
        message.clear();
        QVERIFY(!ReplaceStation(u"http://a"_s, QString(200, u'B'), u"http://b"_s, u"0"_s, u"0"_s,
                                u"1"_s, &message));
        QCOMPARE(message, StationFileWriteErrorMessage(path));

        // The old list is whole, no half-written file is left behind, and it still reads.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(QDir(diskFolder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"list.ksl"_s});
        QVERIFY(StationExists(u"http://a"_s));
    }

    void aRemovedFolderIsReportedAndNotMadeAgain()
    {
        const QString folder = m_folder->filePath(u"lists"_s);
        QVERIFY(QDir().mkpath(folder));
        const QString path = QDir(folder).filePath(u"list.ksl"_s);
        setStationFilePath(path);
        QVERIFY(AddStation(u"A"_s, u"http://a"_s, u"0"_s, u"0"_s, u"1"_s));
        QVERIFY(QDir(folder).removeRecursively());

        QString message;
        QVERIFY(!AddStation(u"B"_s, u"http://b"_s, u"0"_s, u"0"_s, u"1"_s, &message));
        QCOMPARE(message, StationFileWriteErrorMessage(path));
        // A list that has gone reads as empty, so replacing and deleting have nothing to write.
        QVERIFY(!StationExists(u"http://a"_s));
        QVERIFY(ReplaceStation(u"http://a"_s, u"B"_s, u"http://b"_s, u"0"_s, u"0"_s, u"1"_s));
        QVERIFY(DeleteStation(u"http://a"_s));
        QVERIFY(!QFileInfo::exists(folder));
    }

    void listEntries()
    {
        const QString text = DecodeStationText(
            StationBytes("\x8Akoda", "http://s") + StationBytes("beta", "http://b", "x", "1", "1") +
            StationBytes("Alfa", "http://a", "", "0") + StationBytes("Cyril", "http://c") +
            StationBytes("\xC8"
                         "estm\xEDr",
                         "http://cc") +
            StationBytes("", "http://noname") + StationBytes("No URL", "") +
            StationBytes("Duplicate", "HTTP://B") +
            "<radiostation><stationname>Bez visible</stationname><stationurl>http://v"
            "</stationurl></radiostation>");

        QStringList names;
        const QList<StationRecord> main = StationListEntries(text, StationFilter::VisibleOnly);
        for (const StationRecord& r : main)
            names.append(r.name);
        // Sorted in Czech order, hidden and incomplete stations and the later duplicate left out.
        QCOMPARE(names, (QStringList{u"beta"_s, u"Cyril"_s, u"Čestmír"_s, u"Škoda"_s}));
        QVERIFY(main[0].bold);

        names.clear();
        for (const StationRecord& r : StationListEntries(text, StationFilter::All))
            names.append(r.name);
        QCOMPARE(names, (QStringList{u"Alfa"_s, u"beta"_s, u"Bez visible"_s, u"Cyril"_s,
                                     u"Čestmír"_s, u"Škoda"_s}));
    }

    void countTextsColoursAndTitles()
    {
        const std::pair<int, QString> counts[] = {{0, u"Žádné stanice"_s},
                                                  {1, u"Celkem 1 stanice"_s},
                                                  {4, u"Celkem 4 stanice"_s},
                                                  {5, u"Celkem 5 stanic"_s}};
        for (const auto& [count, text] : counts)
            QCOMPARE(StationCountText(count), text);
        const std::pair<QString, quint32> colours[] = {{u"16711680"_s, 0xFF0000u},
                                                       {QString(), 0u},
                                                       {u"red"_s, 0u},
                                                       {u"99999999999"_s, 0u},
                                                       {u"-2147483640"_s, 0x80000008u}};
        for (const auto& [text, colour] : colours)
            QCOMPARE(StationColourValue(text), colour);
        // A list's title: its file name up to the first dot, the first letter in upper case.
        const std::pair<QString, QString> titles[] = {
            {u"rock.KSL"_s, u"Rock"_s},      {u"old.ksl.ksl"_s, u"Old"_s},
            {u"jazz"_s, u"Jazz"_s},          {u".ksl"_s, QString()},
            {QString(), QString()},          {u"čeština.ksl"_s, u"Čeština"_s},
            {u"mY LiST.Ksl"_s, u"MY LiST"_s}};
        for (const auto& [fileName, title] : titles)
            QCOMPARE(GetListTitle(fileName), title);
    }

    void valueProblems()
    {
        // Storable text, also a tag name without its brackets, has no problem.
        for (const QString& value : {u"Český rozhlas – Dvojka"_s, u"http://a.cz/x?y=<1>&z"_s,
                                     u"bold stationname"_s, QString()})
            QCOMPARE(StationValueProblem(StationField::Name, value), QString());
        const QString name = StationValueProblem(StationField::Name, u"Радио"_s);
        QVERIFY(name.startsWith(u"Název stanice"_s) && name.contains(u"Windows-1250"_s));
        QVERIFY(StationValueProblem(StationField::Url, u"http://a.cz/日本"_s)
                    .startsWith(u"URL stanice"_s));
        for (const QString& value :
             {u"a</stationname>b"_s, u"<RadioStation>"_s, u"y</StationUrl>"_s, u"</bold>"_s,
              u"</VISIBLE>"_s, u"</stationcolor>"_s}) {
            QVERIFY2(StationValueProblem(StationField::Name, value)
                         .contains(u"značkou seznamu stanic"_s),
                     qPrintable(value));
        }
        QVERIFY(StationValueProblem(StationField::Url, u"http://x/</stationurl>"_s)
                    .contains(u"„</stationurl>“"_s));
    }

    void hostileFileLoadsAndChanges()
    {
        // NULs, undefined bytes and a thousand records that never end: the complete stations at
        // both ends are found, and a rewrite keeps them and drops what was never a station.
        const QByteArray bytes = HostileStationBytes(1 << 20);
        useList(bytes);
        const QString text = ReadStationFile(StationFilePath());
        QVERIFY(text.size() > bytes.size() * 9 / 10);
        QVERIFY(text.contains(QChar(0x81)) && text.contains(QChar(0)));
        const auto urls = [](const QString& text) {
            QStringList out;
            for (const StationRecord& r : StationListEntries(text, StationFilter::All))
                out.append(r.url);
            return out;
        };
        QCOMPARE(urls(text), (QStringList{u"http://konec/"_s, u"http://start/"_s}));
        QCOMPARE(StationListEntries(text, StationFilter::VisibleOnly).size(), 2);
        QVERIFY(StationExists(u"http://konec/"_s));
        QVERIFY(DeleteStation(u"http://start/"_s));
        const QString after = ReadStationFile(StationFilePath());
        QVERIFY(after.size() < text.size());
        QCOMPARE(urls(after), QStringList{u"http://konec/"_s});
        QVERIFY(AddStation(u"Nová"_s, u"http://nova/"_s, u"0"_s, u"0"_s, u"1"_s));
        QCOMPARE(urls(ReadStationFile(StationFilePath())).size(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_StationList)
#include "tst_stationlist.moc"
