// Finding, playing and adding stations as the user does it, with the real player.
#include "support/DirectoryServer.h"
#include "support/IcecastServer.h"
#include "support/ScriptedPrompts.h"
#include "support/ShownText.h"
#include "support/TestFolder.h"

#include "app/MpvPlayer.h"
#include "app/frmFindStations.h"
#include "app/frmMain.h"
#include "base/ProcessState.h"
#include "directory/DirectoryClient.h"
#include "stations/Cp1250.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "winsvc/SysTray.h"
#include "winsvc/TrayHost.h"

#include <QtTest>
#include <QtWidgets>

class tst_frmFindStations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Text from strangers (station names, stream titles, the directory's answers) is shown as it
    // stands and reaches the list file only as the user adds it.
    void searchPlayAndAdd()
    {
        IcecastServer icecast;
        QVERIFY2(icecast.start(), qPrintable(icecast.error()));
        DirectoryServer directory;
        directory.streamUrl = icecast.streamUrl();
        TestFolder folder;
        // The listed station streams from the server Jazz Praha does, by another address.
        const QString station = u"<b>Rádio</b> <img src=\"/dev/zero\">"_s;
        const QByteArray listed =
            StationBytes(Cp1250::encode(station), icecast.url(u"/tone.mp3?list"_s).toUtf8());
        folder.write(u"czech.ksl"_s, listed + "\r\n");
        SaveSetting(folder.settings(), SettingsKeys::DirectoryUrl, directory.url(u"ok"_s));
        SaveSetting(folder.settings(), SettingsKeys::MinTray, u"1"_s);
        ScriptedPrompts prompts;
        frmMain window(
            {folder.settings(), prompts, folder.path(), std::make_unique<MpvPlayer>(u"null"_s)});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // The station and its title in the status bar, caption and tray tip.
        QTreeWidget* list = window.ListView1();
        const QPoint spot = list->visualItemRect(list->findItems(station, {}).value(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, spot);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, spot);
        QTRY_COMPARE_WITH_TIMEOUT(window.wmp().playState(), int(Player::Playing), 20000);
        const QString title = u"<img src=\"/dev/zero\"><b>Song</b> & more"_s;
        QVERIFY(icecast.setTitle(title));
        QTRY_COMPARE_WITH_TIMEOUT(ShownText(window.StatusPanel(1)), u"Přehrávání: "_s + title,
                                  20000);
        QCOMPARE(window.windowTitle(), u"["_s + station + u"] - skylistener"_s);
        window.showMinimized(); // to the tray, whose host reads its tip as markup
        auto* icon = window.cTray()->Host().findChild<QSystemTrayIcon*>();
        QVERIFY(icon);
        QTRY_COMPARE(ShownText(icon->toolTip(), Qt::RichText), window.windowTitle());
        window.showNormal();

        frmFindStations dialog(
            window.wmp(), prompts, folder.settings(), [&] { window.LoadStationList(); }, &window);
        std::chrono::steady_clock::time_point now;
        dialog.client().setVotes(std::make_shared<VoteRecord>([&] { return now; }));
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* status = dialog.findChild<QLabel*>(u"lblStatus"_s);
        auto* results = dialog.findChild<QTreeWidget*>(u"lstResults"_s);
        auto* field = dialog.findChild<QWidget*>(u"txtName"_s);
        const auto names = [&](int column = 0) {
            QStringList shown;
            for (int i = 0; i < results->topLevelItemCount(); ++i)
                shown.append(results->topLevelItem(i)->text(column));
            return shown.join(u'|');
        };
        const auto search = [&](const QString& name) { // over the old name, then Enter
            QTest::mouseClick(field, Qt::LeftButton);
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, name.isEmpty() ? u"\b"_s : name);
            QTest::keyClick(field, Qt::Key_Return);
        };
        // A double click as the platform delivers it: press, release, double click, release.
        const auto click = [&](const QString& name, bool twice = false) {
            const QPoint at =
                results->visualItemRect(results->findItems(name, {}).value(0)).center();
            QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, at);
            if (twice) {
                QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseRelease(results->viewport(), Qt::LeftButton, {}, at);
            }
        };
        const auto add = [&](const QString& name) { // what the user is told
            prompts.asked.clear();
            click(name);
            QTest::mouseClick(dialog.findChild<QWidget*>(u"cmdAdd"_s), Qt::LeftButton);
            return prompts.asked.join(u'\n');
        };

        QVERIFY(directory.requests.isEmpty()); // nothing is sent before the user searches
        // A second search replaces a slow first one, whose late answer is dropped.
        search(u"Morava"_s);
        search(u"jazz"_s);
        QTRY_COMPARE(names(), u"Jazz Praha"_s);
        QCOMPARE(status->text(), u"Nalezena 1 stanice."_s);
        QTRY_COMPARE(directory.answered.size(), directory.requests.size()); // all answered
        QTest::qWait(100); // and time to show the late one, were it taken
        QCOMPARE(names(), u"Jazz Praha"_s);
        QStringList row;
        for (int column = 1; column < results->columnCount(); ++column)
            row.append(names(column));
        QCOMPARE(row.join(u'|'), u"Česko|MP3|128 kbps|50|jazz, swing"_s);

        // A double click plays the resolved stream, counting a click.
        click(u"Jazz Praha"_s, true);
        QCOMPARE(window.wmp().URL(), icecast.streamUrl());
        QTRY_COMPARE_WITH_TIMEOUT(window.wmp().playState(), int(Player::Playing), 15000);
        QTRY_COMPARE(directory.clicks, QStringList{u"u-jazz"_s});
        QTest::mouseClick(dialog.findChild<QWidget*>(u"cmdStop"_s), Qt::LeftButton);
        QTRY_VERIFY(window.wmp().playState() != Player::Playing);

        // Failing stations only on request.
        QTest::mouseClick(dialog.findChild<QWidget*>(u"chkBroken"_s), Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QWidget*>(u"cmdSearch"_s), Qt::LeftButton);
        QTRY_COMPARE(names(), u"Nefunkční jazz|Jazz Praha"_s);

        // Added once, with the resolved address, in the list's code page; the main list shows it.
        QCOMPARE(add(u"Jazz Praha"_s), QString());
        QTRY_COMPARE(directory.clicks.size(), 2);
        search({});
        QTRY_COMPARE(results->topLevelItemCount(), 7);

        // A header's click sorts: names as Czech has them, numbers as numbers, largest first.
        const auto sortBy = [&](int column) {
            QHeaderView* header = results->header();
            const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, {x, header->height() / 2});
        };
        sortBy(0);
        QCOMPARE(names(), u"Bratislava Live|Český rozhlas Dvojka – Žďár|Jazz Praha|Nefunkční jazz|"
                          u"Rádio Morava|Rock</stationname>|Радио Москва"_s);
        sortBy(4);
        QCOMPARE(names(4), u"5000|900|50|30|20|10|8"_s);
        sortBy(3);
        QCOMPARE(names(3), u"128 kbps|128 kbps|96 kbps|64 kbps|64 kbps||"_s);
        // The sorted rows still act on their own stations: Enter plays the one chosen.
        click(u"Rádio Morava"_s);
        QTest::keyClick(results, Qt::Key_Return);
        QCOMPARE(window.wmp().URL(), u"http://127.0.0.1:1/u-morava"_s);

        // One vote per station in ten minutes, as the directory asks; its refusal as it stands.
        click(u"Jazz Praha"_s);
        QTest::mouseClick(dialog.findChild<QWidget*>(u"cmdVote"_s), Qt::LeftButton);
        QTRY_COMPARE(status->text(), u"Hlas pro stanici Jazz Praha byl odeslán."_s);
        QTest::keyClick(&dialog, Qt::Key_L, Qt::AltModifier); // a click a moment later
        QTRY_COMPARE(status->text(),
                     u"Pro stanici Jazz Praha jste už hlasovali, zkuste to znovu za 10 minut."_s);
        now += VoteRecord::Interval;
        QTest::keyClick(&dialog, Qt::Key_L, Qt::AltModifier);
        QTRY_COMPARE(ShownText(status),
                     u"Adresář hlas nepřijal: you are voting <b>too often</b>"_s);
        QCOMPARE(directory.votes, QStringList(2, u"u-jazz"_s));

        // Added from the sorted rows, each its own station.
        QCOMPARE(add(u"Český rozhlas Dvojka – Žďár"_s), QString());
        QCOMPARE(window.ListView1()->topLevelItemCount(), 3);

        // A country chosen from the keyboard (Alt+Z, a letter) narrows the search.
        QTest::keyClick(&dialog, Qt::Key_Z, Qt::AltModifier);
        QTest::keyClicks(QApplication::focusWidget(), u"S"_s);
        search({});
        QTRY_COMPARE(names(), u"Bratislava Live"_s);

        // The directory's stations from strangers: only web addresses, every text as it stands.
        directory.behaviour = u"hostile"_s;
        QTest::mouseClick(dialog.findChild<QWidget*>(u"cmdSearch"_s), Qt::LeftButton);
        QTRY_COMPARE(results->topLevelItemCount(), 3);
        // Without the directory's id for it a station can't be voted for.
        QVERIFY(!dialog.findChild<QWidget*>(u"cmdVote"_s)->isEnabled());
        const QString markup = u"<img src=\"/dev/zero\"><b>Markup FM</b>"_s;
        QCOMPARE(names(), markup + u"|Nul\0FM|Secure"_s);
        QCOMPARE(names(5), u"<i>jazz</i>||"_s);
        QCOMPARE(ShownText(results->topLevelItem(0)->toolTip(0)),
                 u"http://127.0.0.1:1/m?a=1&b=<i>"_s);
        // Added as it stands, and reported as it stands; a name with NUL is refused.
        QCOMPARE(add(markup), QString());
        QCOMPARE(ShownText(status), u"Stanice „"_s + markup + u"“ byla přidána do seznamu."_s);
        QVERIFY(add(u"Nul\0FM"_s).contains(u"řídicí znaky"_s));
        QCOMPARE(folder.read(u"czech.ksl"_s),
                 listed + StationBytes("Jazz Praha", icecast.streamUrl().toUtf8()) +
                     StationBytes("\xC8"
                                  "esk\xFD rozhlas Dvojka \x96 \x8E\xEF\xE1r",
                                  "http://127.0.0.1:1/u-dvojka") +
                     StationBytes(markup.toUtf8(), "http://127.0.0.1:1/m?a=1&b=<i>") + "\r\n");
        // Without a current list nothing is added, and the user is told so.
        setStationFilePath(QString());
        QVERIFY(add(u"Secure"_s).contains(u"Není vybrán žádný seznam stanic"_s));
    }
};

QTEST_MAIN(tst_frmFindStations)
#include "tst_frmFindStations.moc"
