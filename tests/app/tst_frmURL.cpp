// The dialog that plays a typed address: what reaches the player, and what closes it.
#include "app/frmURL.h"

#include "support/FakePlayer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;

class tst_frmURL : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void okPlaysTheAddressAsTyped()
    {
        FakePlayer player;
        frmURL dialog(player);
        dialog.open();
        QTest::keyClicks(dialog.txtText1(), u"  http://127.0.0.1:8000/a b "_s);
        QTest::mouseClick(dialog.cmdOK(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(player.calls, (QStringList{u"setURL   http://127.0.0.1:8000/a b "_s, u"play"_s}));

        // The text is empty at every opening; Enter in it works the default button.
        dialog.open();
        QVERIFY(dialog.txtText1()->text().isEmpty());
        QTest::keyClicks(dialog.txtText1(), u"x"_s);
        QTest::keyClick(dialog.txtText1(), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(player.calls.mid(2), (QStringList{u"setURL x"_s, u"play"_s}));
    }

    void closingWithoutAnAddressLeavesThePlayerAlone()
    {
        FakePlayer player;
        frmURL dialog(player);
        const std::function<void()> closers[] = {
            [&] { QTest::mouseClick(dialog.cmdOK(), Qt::LeftButton); }, // with no text
            [&] { QTest::mouseClick(dialog.cmdClose(), Qt::LeftButton); },
            [&] { QTest::keyClick(dialog.txtText1(), Qt::Key_Escape); },
            [&] { QTest::keyClick(dialog.cmdOK(), Qt::Key_Escape); },
        };
        for (const auto& close : closers) {
            dialog.open();
            QVERIFY(dialog.txtText1()->text().isEmpty());
            if (&close != &closers[0])
                QTest::keyClicks(dialog.txtText1(), u"http://a/"_s);
            close();
            QVERIFY(!dialog.isVisible());
        }
        QVERIFY(player.calls.isEmpty());
    }
};

QTEST_MAIN(tst_frmURL)
#include "tst_frmURL.moc"
