// Finding stations in the directory, driven as the user does it: typing, Enter, clicks and
// double clicks, against a local stand-in for the directory and the real player on a local
// Icecast station.
#include "support/DirectoryServer.h"
#include "support/IcecastServer.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolder.h"

#include "app/MpvPlayer.h"
#include "app/frmFindStations.h"
#include "app/frmMain.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

class tst_frmFindStations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void searchPlayAndAdd()
    {
        IcecastServer icecast;
        QVERIFY2(icecast.start(), qPrintable(icecast.error()));
        DirectoryServer directory;
        directory.streamUrl = icecast.streamUrl();
        directory.delays[u"Morava"_s] = 600;
        TestFolder folder;
        const QByteArray alfa = StationBytes("Alfa", "http://127.0.0.1:1/alfa");
        folder.write(u"czech.ksl"_s, alfa + "\r\n");
        SaveSetting(folder.settings(), SettingsKeys::DirectoryUrl, directory.url(u"ok"_s));
        ScriptedPrompts prompts;
        frmMain window(
            {folder.settings(), prompts, folder.path(), std::make_unique<MpvPlayer>(u"null"_s)});
        window.show();
        frmFindStations dialog(
            window.wmp(), prompts, folder.settings(), [&] { window.LoadStationList(); }, &window);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const auto child = [&](const char* name) {
            return dialog.findChild<QWidget*>(QLatin1StringView(name));
        };
        auto* status = dialog.findChild<QLabel*>(u"lblStatus"_s);
        auto* results = dialog.findChild<QTreeWidget*>(u"lstResults"_s);
        const auto names = [](const QTreeWidget* list) {
            QStringList t;
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                t.append(list->topLevelItem(i)->text(0));
            return t;
        };
        const auto search = [&](const QString& name) { // over the old name, then Enter
            QWidget* field = child("txtName");
            QTest::mouseClick(field, Qt::LeftButton);
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClicks(field, name);
            QTest::keyClick(field, Qt::Key_Return);
        };
        const auto row = [&](const QString& name) {
            return results->visualItemRect(results->findItems(name, Qt::MatchExactly).value(0))
                .center();
        };
        const auto add = [&](const QString& name) {
            prompts.asked.clear();
            QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, row(name));
            QTest::mouseClick(child("cmdAdd"), Qt::LeftButton);
        };

        QVERIFY(directory.requests.isEmpty()); // nothing is sent before the user searches
        // A second search replaces a slow first one, whose answer is dropped.
        search(u"Morava"_s);
        search(u"jazz"_s);
        QCOMPARE(status->text(), u"Hledám…"_s);
        QTRY_COMPARE(names(results), QStringList{u"Jazz Praha"_s});
        QCOMPARE(status->text(), u"Nalezena 1 stanice."_s);
        QTest::qWait(900);
        QCOMPARE(names(results), QStringList{u"Jazz Praha"_s});
        const QTreeWidgetItem* jazz = results->topLevelItem(0);
        QCOMPARE((QStringList{jazz->text(1), jazz->text(2), jazz->text(3)}),
                 (QStringList{u"Česko"_s, u"MP3 128 kbps"_s, u"jazz, swing"_s}));

        // Failing stations only on request.
        QTest::mouseClick(child("chkBroken"), Qt::LeftButton);
        QTest::mouseClick(child("cmdSearch"), Qt::LeftButton);
        QTRY_COMPARE(names(results), (QStringList{u"Nefunkční jazz"_s, u"Jazz Praha"_s}));
        QVERIFY(QDir().mkpath(QStringLiteral(SCREENSHOT_DIR)));
        QVERIFY(dialog.grab().save(QStringLiteral(SCREENSHOT_DIR) + u"/find-stations.png"_s));

        // A country chosen from the keyboard, with the directory's counts, narrows the search.
        auto* country = dialog.findChild<QComboBox*>(u"cboCountry"_s);
        country->setFocus();
        QTest::keyClicks(country, u"S"_s);
        QCOMPARE(country->currentText(), u"Slovakia (1)"_s);
        search({});
        QTRY_COMPARE(names(results), QStringList{u"Bratislava Live"_s});
        country->setFocus();
        QTest::keyClick(country, Qt::Key_Home);
        search(u"jazz"_s);
        QTRY_COMPARE(results->topLevelItemCount(), 2);
        QVERIFY(directory.clicks.isEmpty());

        // A double click, as the platform delivers it, plays the resolved stream on the main
        // player and counts a click.
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, row(u"Jazz Praha"_s));
        QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, row(u"Jazz Praha"_s));
        QTest::mouseRelease(results->viewport(), Qt::LeftButton, {}, row(u"Jazz Praha"_s));
        QCOMPARE(window.wmp().URL(), icecast.streamUrl());
        QTRY_COMPARE_WITH_TIMEOUT(window.wmp().playState(), int(Player::Playing), 15000);
        QTRY_COMPARE(directory.clicks, QStringList{u"u-jazz"_s});
        QTest::mouseClick(child("cmdStop"), Qt::LeftButton);
        QTRY_VERIFY(window.wmp().playState() != Player::Playing);

        // Added once, with the resolved address, in the list's code page; the main list shows it.
        add(u"Jazz Praha"_s);
        QCOMPARE(status->text(), u"Stanice „Jazz Praha“ byla přidána do seznamu."_s);
        QTRY_COMPARE(directory.clicks.size(), 2);
        add(u"Jazz Praha"_s);
        QCOMPARE(prompts.asked, QStringList{u"exclamation: Stanice s touto URL již existuje!"_s});
        search({});
        QTRY_COMPARE(results->topLevelItemCount(), 7);
        // Names the list cannot hold are refused with the reason.
        for (const auto& [name, why] : {std::pair{u"Радио Москва"_s, u"Windows-1250"_s},
                                        std::pair{u"Rock</stationname>"_s, u"</stationname>"_s}}) {
            add(name);
            QVERIFY2(prompts.asked.size() == 1 && prompts.asked[0].contains(why), qPrintable(name));
        }
        add(u"Český rozhlas Dvojka – Žďár"_s);
        QCOMPARE(folder.read(u"czech.ksl"_s),
                 alfa + StationBytes("Jazz Praha", icecast.streamUrl().toUtf8()) +
                     StationBytes("\xC8"
                                  "esk\xFD rozhlas Dvojka \x96 \x8E\xEF\xE1r",
                                  "http://127.0.0.1:1/u-dvojka") +
                     "\r\n");
        QCOMPARE(names(window.ListView1()).size(), 3);
        QTest::keyClick(results, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(tst_frmFindStations)
#include "tst_frmFindStations.moc"
