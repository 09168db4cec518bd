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
    void onlyOkWithAnAddressPlaysIt()
    {
        FakePlayer player;
        frmURL dialog(player);
        // The text is empty at every opening; Enter in it works the default button. OK with no
        // text and every other way out leave the player alone.
        const struct
        {
            QString text;
            std::function<void()> close;
            QStringList calls;
        } cases[] = {
            {u"  http://127.0.0.1:8000/a b "_s,
             [&] { QTest::mouseClick(dialog.cmdOK(), Qt::LeftButton); },
             {u"setURL   http://127.0.0.1:8000/a b "_s, u"play"_s}},
            {u"x"_s,
             [&] { QTest::keyClick(dialog.txtText1(), Qt::Key_Return); },
             {u"setURL x"_s, u"play"_s}},
            {QString(), [&] { QTest::mouseClick(dialog.cmdOK(), Qt::LeftButton); }, {}},
            {u"http://a/"_s, [&] { QTest::mouseClick(dialog.cmdClose(), Qt::LeftButton); }, {}},
            {u"http://a/"_s, [&] { QTest::keyClick(dialog.txtText1(), Qt::Key_Escape); }, {}},
            {u"http://a/"_s, [&] { QTest::keyClick(dialog.cmdOK(), Qt::Key_Escape); }, {}},
        };
        for (const auto& [text, close, calls] : cases) {
            player.calls.clear();
            dialog.open();
            QVERIFY(dialog.txtText1()->text().isEmpty());
            QTest::keyClicks(dialog.txtText1(), text);
            close();
            QVERIFY(!dialog.isVisible());
            QCOMPARE(player.calls, calls);
        }
    }
};

QTEST_MAIN(tst_frmURL)
#include "tst_frmURL.moc"
