// Finding stations in the directory, driven as the user does it: typing, Enter, clicks and
// double clicks, against a local stand-in for the directory and the real player on a local
// Icecast station.
#include "support/DirectoryServer.h"
#include "support/IcecastServer.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolder.h"

#include "app/MpvPlayer.h"
#include "base/ProcessState.h"
#include "app/frmFindStations.h"
#include "app/frmMain.h"
#include "directory/DirectoryClient.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The main window with the real player over a temporary list, and the find dialog over the
// stand-in directory at `behaviour`.
struct Finder
{
    TestFolder folder;
    ScriptedPrompts prompts;
    DirectoryServer directory;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<frmFindStations> dialog;

    explicit Finder(const QString& behaviour, const QString& streamUrl = {})
    {
        folder.write(u"czech.ksl"_s, StationBytes("Alfa", "http://127.0.0.1:1/alfa") + "\r\n");
        directory.streamUrl = streamUrl;
        const QString base = behaviour.startsWith(u"http"_s) ? behaviour : directory.url(behaviour);
        SaveSetting(folder.settings(), SettingsKeys::DirectoryUrl, base);
        window = std::make_unique<frmMain>(frmMainServices{
            folder.settings(), prompts, folder.path(), std::make_unique<MpvPlayer>(u"null"_s)});
        window->show();
        dialog = std::make_unique<frmFindStations>(
            window->wmp(), prompts, folder.settings(), [this] { window->LoadStationList(); },
            window.get());
        dialog->client().setTimeoutMs(400);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }
    template <typename T> T* child(const QString& name) const
    {
        return dialog->findChild<T*>(name);
    }
    QTreeWidget* results() const { return child<QTreeWidget>(u"lstResults"_s); }
    QString status() const { return child<QLabel>(u"lblStatus"_s)->text(); }
    QStringList names() const
    {
        QStringList n;
        for (int i = 0; i < results()->topLevelItemCount(); ++i)
            n.append(results()->topLevelItem(i)->text(0));
        return n;
    }
    // Types a name over the old one and presses Enter.
    void search(const QString& name) const
    {
        QLineEdit* field = child<QLineEdit>(u"txtName"_s);
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, name);
        QTest::keyClick(field, Qt::Key_Return);
    }
    void click(const QString& button) const
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    QPoint rowCentre(const QString& name) const
    {
        const auto item = results()->findItems(name, Qt::MatchExactly).value(0);
        return results()->visualItemRect(item).center();
    }
    void choose(const QString& name) const
    {
        QTest::mouseClick(results()->viewport(), Qt::LeftButton, {}, rowCentre(name));
    }
    QStringList mainList() const
    {
        QStringList n;
        for (int i = 0; i < window->ListView1()->topLevelItemCount(); ++i)
            n.append(window->ListView1()->topLevelItem(i)->text(0));
        n.sort();
        return n;
    }
};

} // namespace

class tst_frmFindStations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void searchPlayAndAdd()
    {
        IcecastServer icecast;
        QVERIFY2(icecast.start(), qPrintable(icecast.error()));
        Finder f(u"ok"_s, icecast.streamUrl());
        QCOMPARE(f.dialog->windowTitle(), u"Hledat rozhlasové stanice"_s);
        QVERIFY(f.directory.requests.isEmpty()); // nothing is sent before the user searches

        f.search(u"jazz"_s);
        QCOMPARE(f.status(), u"Hledám…"_s);
        QTRY_COMPARE(f.names(), QStringList{u"Jazz Praha"_s});
        QCOMPARE(f.status(), u"Nalezena 1 stanice."_s);
        const QTreeWidgetItem* row = f.results()->topLevelItem(0);
        QCOMPARE((QStringList{row->text(1), row->text(2), row->text(3)}),
                 (QStringList{u"Česko"_s, u"MP3 128 kbps"_s, u"jazz, swing"_s}));
        // The country choice now lists the directory's countries with their counts.
        QTRY_COMPARE(f.child<QComboBox>(u"cboCountry"_s)->count(), 4);

        // Failing stations only on request.
        QTest::mouseClick(f.child<QCheckBox>(u"chkBroken"_s), Qt::LeftButton);
        f.click(u"cmdSearch"_s);
        QTRY_COMPARE(f.names(), (QStringList{u"Nefunkční jazz"_s, u"Jazz Praha"_s}));
        QVERIFY(QDir().mkpath(QStringLiteral(SCREENSHOT_DIR)));
        QVERIFY(f.dialog->grab().save(QStringLiteral(SCREENSHOT_DIR) + u"/find-stations.png"_s));
        QVERIFY(f.directory.clicks.isEmpty());

        // A country chosen from the keyboard narrows the search.
        auto* country = f.child<QComboBox>(u"cboCountry"_s);
        country->setFocus();
        QTest::keyClicks(country, u"S"_s);
        QCOMPARE(country->currentText(), u"Slovakia (1)"_s);
        f.search(QString());
        QTRY_COMPARE(f.names(), QStringList{u"Bratislava Live"_s});
        f.search(u"jazz"_s);
        country->setFocus();
        QTest::keyClick(country, Qt::Key_Home);
        f.click(u"cmdSearch"_s);
        QTRY_COMPARE(f.names(), (QStringList{u"Nefunkční jazz"_s, u"Jazz Praha"_s}));

        // A double click plays the resolved stream on the main player and counts a click.
        // As the platform delivers it: press, release, double click, release.
        const QPoint jazz = f.rowCentre(u"Jazz Praha"_s);
        QTest::mouseClick(f.results()->viewport(), Qt::LeftButton, {}, jazz);
        QTest::mouseDClick(f.results()->viewport(), Qt::LeftButton, {}, jazz);
        QTest::mouseRelease(f.results()->viewport(), Qt::LeftButton, {}, jazz);
        QCOMPARE(f.window->wmp().URL(), icecast.streamUrl());
        QTRY_COMPARE_WITH_TIMEOUT(f.window->wmp().playState(), int(Player::Playing), 15000);
        QTRY_COMPARE(f.directory.clicks, QStringList{u"u-jazz"_s});
        f.click(u"cmdStop"_s);
        QTRY_VERIFY(f.window->wmp().playState() != Player::Playing);

        // Added with the resolved address, black, visible, not bold; the main list shows it.
        f.choose(u"Jazz Praha"_s);
        f.click(u"cmdAdd"_s);
        QCOMPARE(f.status(), u"Stanice „Jazz Praha“ byla přidána do seznamu."_s);
        QCOMPARE(f.mainList(), (QStringList{u"Alfa"_s, u"Jazz Praha"_s}));
        const QByteArray added = StationBytes("Alfa", "http://127.0.0.1:1/alfa") +
                                 StationBytes("Jazz Praha", icecast.streamUrl().toUtf8()) + "\r\n";
        QCOMPARE(f.folder.read(u"czech.ksl"_s), added);
        QTRY_COMPARE(f.directory.clicks.size(), 2);

        // Once is enough.
        f.click(u"cmdAdd"_s);
        QCOMPARE(f.prompts.asked, QStringList{u"exclamation: Stanice s touto URL již existuje!"_s});
        QCOMPARE(f.folder.read(u"czech.ksl"_s), added);

        QTest::keyClick(f.results(), Qt::Key_Escape);
        QVERIFY(!f.dialog->isVisible());
    }

    void namesTheListCannotHold()
    {
        Finder f(u"czech"_s);
        f.search(QString());
        QTRY_COMPARE(f.names().size(), 3);
        const QString file = QString::fromLatin1(f.folder.read(u"czech.ksl"_s));
        const struct
        {
            QString name, message;
        } cases[] = {
            {u"Радио Москва"_s, u"Windows-1250"_s},
            {u"Rock</stationname>"_s, u"</stationname>"_s},
        };
        for (const auto& c : cases) {
            f.prompts.asked.clear();
            f.choose(c.name);
            f.click(u"cmdAdd"_s);
            QVERIFY2(f.prompts.asked.size() == 1 && f.prompts.asked[0].contains(c.message),
                     qPrintable(c.name));
        }
        QCOMPARE(QString::fromLatin1(f.folder.read(u"czech.ksl"_s)), file);
        // Czech letters and the dash are stored in the list's own code page.
        f.choose(u"Český rozhlas Dvojka – Žďár"_s);
        f.click(u"cmdAdd"_s);
        QVERIFY(f.folder.read(u"czech.ksl"_s)
                    .contains("<stationname>\xC8"
                              "esk\xFD rozhlas Dvojka \x96 \x8E\xEF\xE1r<"));
        QVERIFY(f.mainList().contains(u"Český rozhlas Dvojka – Žďár"_s));
    }

    void slowOfflineAndSilentDirectory()
    {
        // A second search replaces a slow first one, whose answer is dropped.
        Finder slow(u"ok"_s);
        slow.directory.delays[u"Morava"_s] = 600;
        slow.search(u"Morava"_s);
        slow.search(u"Bratislava"_s);
        QTRY_COMPARE(slow.names(), QStringList{u"Bratislava Live"_s});
        QTest::qWait(900);
        QCOMPARE(slow.names(), QStringList{u"Bratislava Live"_s});

        const struct
        {
            QString base, status;
        } cases[] = {
            {u"http://127.0.0.1:1/"_s,
             u"Adresář stanic není dostupný. Zkontrolujte připojení k síti."_s},
            {u"silent"_s, u"Adresář stanic neodpověděl do 10 s. Zkuste to prosím později."_s},
        };
        for (const auto& c : cases) {
            Finder f(c.base);
            f.search(u"jazz"_s);
            QTRY_COMPARE(f.status(), c.status);
            QVERIFY(f.names().isEmpty());
        }
    }
};

QTEST_MAIN(tst_frmFindStations)
#include "tst_frmFindStations.moc"
