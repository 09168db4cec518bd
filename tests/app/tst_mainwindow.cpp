// The main window's start-up, layout and exit, offscreen.
#include "FakePlayer.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/frmMain.h"
#include "base/ProcessState.h"
#include "base/WindowUnits.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class tst_MainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestFolder> m_folder;
    ScriptedPrompts m_prompts;

    std::unique_ptr<frmMain> startWindow()
    {
        auto window = std::make_unique<frmMain>(frmMainServices{
            m_folder->settings(), m_prompts, m_folder->path(), std::make_unique<FakePlayer>()});
        window->show();
        return window;
    }

private Q_SLOTS:
    void init() { m_folder = std::make_unique<TestFolder>(); }

    void firstStart()
    {
        m_folder->write(u"czech.ksl"_s, StationBytes("Zeta", "http://z", "255", "1", "1") +
                                            StationBytes("alfa", "http://a", "65280") +
                                            StationBytes("Skrytá", "http://h", "0", "0") +
                                            StationBytes("Beta", "http://b", "nic") + "\r\n");
        const auto window = startWindow();

        QCOMPARE(window->windowTitle(), u"skylistener v.0.1.12 beta"_s);
        QCOMPARE(PixelsToTwips(window->height()), 2730.0);
        QCOMPARE(PixelsToTwips(window->width()), 5145.0);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(qAbs(window->pos().x() - (screen.width() - window->width()) / 2) <= 1);
        QVERIFY(qAbs(window->pos().y() - (screen.height() - window->height()) / 2) <= 1);
        QCOMPARE(StationFilePath(), m_folder->filePath(u"czech.ksl"_s));

        // Sorted without regard to case, the hidden station left out, colour and bold as stored
        // ("nic" is black).
        QTreeWidget* list = window->ListView1();
        QString shown;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            shown += u"%1 %2 %3 %4;"_s
                         .arg(item->text(0), item->data(0, Qt::UserRole).toString(),
                              item->foreground(0).color().name())
                         .arg(item->font(0).bold());
        }
        QCOMPARE(shown,
                 u"alfa http://a #00ff00 0;Beta http://b #000000 0;Zeta http://z #ff0000 1;"_s);
        QCOMPARE(window->StatusPanel(2)->text(), u"0 kbps"_s);
        QCOMPARE(window->StatusPanel(3)->text(), u"Hlasitost 50%"_s);
        QVERIFY(window->ToolbarButton(u"Volume"_s)->isVisible());
        QVERIFY(!window->ToolbarButton(u"Nute"_s)->isVisible());
    }

    void restoresAndKeepsItsMinimumSize()
    {
        SaveSetting(m_folder->settings(), SettingsKeys::Left, u"1500"_s);
        SaveSetting(m_folder->settings(), SettingsKeys::Top, u"1200"_s);
        SaveSetting(m_folder->settings(), SettingsKeys::Height, u"900"_s);
        SaveSetting(m_folder->settings(), SettingsKeys::StationFile,
                    m_folder->filePath(u"none.ksl"_s));
        auto window = startWindow();
        QCOMPARE(window->pos(), QPoint(TwipsToPixels(1500), TwipsToPixels(1200)));
        // A stored height below the minimum is raised to it; the list of a missing file is empty.
        QCOMPARE(PixelsToTwips(window->height()), 1995.0);
        QCOMPARE(window->ListView1()->topLevelItemCount(), 0);

        window->resize(10, 10);
        QCOMPARE(PixelsToTwips(window->width()), 5145.0);
        QCOMPARE(PixelsToTwips(window->height()), 1995.0);
        // The name column fills what the status column leaves, which is at least its design width.
        window->resize(600, 400);
        QTreeWidget* list = window->ListView1();
        QTRY_COMPARE(list->columnWidth(0) + list->columnWidth(1) + TwipsToPixels(400),
                     list->width());
        QVERIFY(list->columnWidth(1) >= TwipsToPixels(1000));

        // A stored position off every screen comes back on the screen.
        SaveSetting(m_folder->settings(), SettingsKeys::Left, u"-900000"_s);
        SaveSetting(m_folder->settings(), SettingsKeys::Top, u"nonsense"_s);
        window = startWindow();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(area.intersects(window->frameGeometry()));
    }

    void exitStoresFiveKeys()
    {
        SaveSetting(m_folder->settings(), SettingsKeys::Volume, u"75"_s);
        auto window = startWindow();
        window->move(TwipsToPixels(3000), TwipsToPixels(1500));
        window->resize(window->width(), TwipsToPixels(4500));
        setStationFilePath(m_folder->filePath(u"rock.ksl"_s));
        QSignalSpy unloaded(window.get(), &frmMain::Unloaded);
        window->close();
        QCOMPARE(unloaded.count(), 1);

        const auto next = m_folder->reopenSettings();
        const std::pair<QString, QString> stored[] = {
            {SettingsKeys::Left, u"3000"_s},
            {SettingsKeys::Top, u"1500"_s},
            {SettingsKeys::Height, u"4500"_s},
            {SettingsKeys::Volume, u"75"_s},
            {SettingsKeys::StationFile, m_folder->filePath(u"rock.ksl"_s)}};
        for (const auto& [key, value] : stored)
            QCOMPARE(GetSetting(*next, key, u"?"_s), value);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
