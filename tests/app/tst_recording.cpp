// What a recording names its files and how it follows the player, on a scripted player.
#include "FakePlayer.h"
#include "TestFolder.h"
#include "app/RecordFileName.h"
#include "app/Recorder.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class tst_recording : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesAreSafeEverywhere()
    {
        const QDateTime at(QDate(2026, 12, 7), QTime(15, 4, 5));
        const QString long200(200, u'x');
        for (const auto& [station, title, ext, name] : {
                 std::tuple{u"..AC/DC: *Live*?"_s, u"\"A\" <b>|\\ \t\x01 \u2028"_s, u"ogg"_s,
                            u"AC_DC_ _Live__ 2026-12-07 15-04-05 _A_ _b___ __ _.ogg"_s},
                 {u" "_s, u"Song. "_s, u"aac"_s, u"2026-12-07 15-04-05 Song.aac"_s},
                 {long200, u"t"_s, u"mka"_s, QString(146, u'x') + u".mka"_s},
                 // Cut before a character outside the basic plane, not inside it.
                 {QString(145, u'x') + u"\U0001F4FB"_s, QString(), u"mp3"_s,
                  QString(145, u'x') + u".mp3"_s},
             })
            QCOMPARE(RecordFileName::compose(station, at, title, ext), name);
        for (const auto& [codec, ext] : {std::pair{u"mp3"_s, u"mp3"_s},
                                         {u"AAC"_s, u"aac"_s},
                                         {u"vorbis"_s, u"ogg"_s},
                                         {u"pcm_s16le"_s, u"mka"_s}})
            QCOMPARE(RecordFileName::extensionFor(codec), ext);

        // A name taken gets a number; the longest name keeps its number too.
        TestFolder folder;
        folder.write(u"a.mp3"_s, "1");
        folder.write(u"a (2).mp3"_s, "2");
        QCOMPARE(RecordFileName::unusedPath(folder.path(), u"a.mp3"_s),
                 folder.filePath(u"a (3).mp3"_s));
        const QString longest = QString(146, u'y') + u".mp3"_s;
        folder.write(longest, "3");
        QCOMPARE(QFileInfo(RecordFileName::unusedPath(folder.path(), longest)).fileName(),
                 QString(142, u'y') + u" (2).mp3"_s);
    }

    // A file per title; a reconnection ends the file and the stream's return starts the next;
    // a stop, an error or another station ends the recording (a failed write: tst_MpvPlayer).
    void followsThePlayer()
    {
        TestFolder folder;
        FakePlayer player;
        Recorder recorder(player);
        QSignalSpy ended(&recorder, &Recorder::Ended);
        const QString into = folder.filePath(u"nahrávky/nové"_s);
        QVERIFY(!recorder.start(into, u"Alfa"_s)); // nothing plays
        QCOMPARE(recorder.error(), u"Nahrávat lze jen stanici, která právě hraje."_s);

        player.url = u"http://a"_s;
        player.raiseState(Player::Playing);
        player.calls.clear();
        QVERIFY(recorder.start(into, u"Alfa"_s));
        QVERIFY(recorder.isRecording() && QFileInfo(into).isDir());
        QCOMPARE(QDir(into).entryList(QDir::Files | QDir::Hidden), QStringList()); // probe gone
        const auto recorded = [&] {
            QStringList files;
            for (const QString& call : std::exchange(player.calls, {}))
                files << QFileInfo(call.mid(7)).fileName().remove(QRegularExpression(u"\\d"_s));
            return files;
        };
        QCOMPARE(recorded(), QStringList{u"Alfa -- --.mp"_s});
        player.raiseTitle(u"Píseň"_s);
        player.raiseTitle(u"Píseň"_s);
        player.raiseTitle(QString());
        QCOMPARE(recorded(), QStringList{u"Alfa -- -- Píseň.mp"_s});
        player.raiseState(Player::Buffering); // same stream: the file goes on
        player.raiseState(Player::Reconnecting);
        player.raiseState(Player::Connecting);
        player.raiseTitle(u"Jiná"_s);
        QCOMPARE(recorded(), QStringList{QString()}); // the file ends once
        player.raiseState(Player::Playing);
        QCOMPARE(recorded(), QStringList{u"Alfa -- -- Jiná.mp"_s});
        QVERIFY(ended.isEmpty());

        for (const auto& [url, state] : {std::pair{u"http://b"_s, Player::Connecting},
                                         {u"http://a"_s, Player::Stopped},
                                         {u"http://a"_s, Player::Error}}) {
            player.raiseState(Player::Playing);
            QVERIFY(recorder.start(into, u"Alfa"_s));
            player.calls.clear();
            player.url = url;
            player.raiseState(state);
            QVERIFY(!recorder.isRecording());
            QCOMPARE(player.calls, QStringList{u"record "_s});
            QCOMPARE(ended.takeFirst(), QVariantList{QString()});
            player.url = u"http://a"_s;
        }
    }
};

QTEST_GUILESS_MAIN(tst_recording)
#include "tst_recording.moc"
