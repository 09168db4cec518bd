#include "app/frmURL.h"

#include "support/FakePlayer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// A player whose URL cannot be set; everything else is recorded.
class RefusingPlayer final : public Player
{
public:
    QStringList calls;

    QString URL() const override { return {}; }
    void setURL(const QString&) override { throw std::runtime_error("refused"); }
    void play() override { calls.append(u"play"_s); }
    void stop() override {}
    int playState() const override { return Stopped; }
    QString status() const override { return {}; }
    int volume() const override { return 50; }
    void setVolume(int) override {}
    bool mute() const override { return false; }
    void setMute(bool) override {}
    int bitRate() const override { return 0; }
};

} // namespace

class tst_frmURL : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts()
    {
        FakePlayer player;
        frmURL dialog(player);
        QCOMPARE(dialog.windowTitle(), u"Vložit URL stanice pro přehrávání"_s);
        QCOMPARE(dialog.cmdOK()->text(), u"OK"_s);
        QVERIFY(dialog.cmdOK()->isDefault());
        QCOMPARE(dialog.cmdClose()->text(), u"Zavřít"_s);
        QVERIFY(dialog.findChild<QLabel*>() != nullptr);
        QCOMPARE(dialog.findChild<QLabel*>()->text(), u"Vložte URL stanice:"_s);
    }

    void okPlaysTheAddressAsTyped()
    {
        FakePlayer player;
        frmURL dialog(player);
        dialog.open();
        QTest::keyClicks(dialog.txtText1(), u"  http://127.0.0.1:8000/a b "_s);
        QTest::mouseClick(dialog.cmdOK(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(player.calls, (QStringList{u"setURL   http://127.0.0.1:8000/a b "_s, u"play"_s}));

        // Enter in the text box works the default button.
        FakePlayer second;
        frmURL again(second);
        again.open();
        QTest::keyClicks(again.txtText1(), u"x"_s);
        QTest::keyClick(again.txtText1(), Qt::Key_Return);
        QVERIFY(!again.isVisible());
        QCOMPARE(second.calls, (QStringList{u"setURL x"_s, u"play"_s}));
    }

    void closingWithoutAnAddressLeavesThePlayerAlone()
    {
        FakePlayer player;
        frmURL dialog(player);

        dialog.open();
        QTest::mouseClick(dialog.cmdOK(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());

        dialog.open();
        QTest::keyClicks(dialog.txtText1(), u"http://a/"_s);
        QTest::mouseClick(dialog.cmdClose(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));

        // Esc from the text box and from a button.
        dialog.open();
        QTest::keyClicks(dialog.txtText1(), u"http://a/"_s);
        QTest::keyClick(dialog.txtText1(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        dialog.open();
        QTest::keyClick(dialog.cmdOK(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());

        QVERIFY(player.calls.isEmpty());
    }

    void textIsEmptyAtEveryOpening()
    {
        FakePlayer player;
        frmURL dialog(player);
        dialog.open();
        QVERIFY(dialog.txtText1()->text().isEmpty());
        QTest::keyClicks(dialog.txtText1(), u"http://a/"_s);
        QTest::keyClick(dialog.txtText1(), Qt::Key_Escape);
        dialog.open();
        QVERIFY(dialog.txtText1()->text().isEmpty());
        QTest::keyClicks(dialog.txtText1(), u"http://b/"_s);
        QTest::mouseClick(dialog.cmdOK(), Qt::LeftButton);
        dialog.open();
        QVERIFY(dialog.txtText1()->text().isEmpty());
        dialog.reject();
    }

    void focusSelectsTheWholeText()
    {
        FakePlayer player;
        frmURL dialog(player);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.txtText1()->setText(u"http://a/"_s);
        dialog.cmdClose()->setFocus();
        QVERIFY(!dialog.txtText1()->hasSelectedText());
        QTest::mouseClick(dialog.txtText1(), Qt::LeftButton, {}, QPoint(4, 4));
        QCoreApplication::processEvents();
        QCOMPARE(dialog.txtText1()->selectedText(), u"http://a/"_s);
        dialog.reject();
    }

    void playerFailureStillPlaysAndCloses()
    {
        RefusingPlayer player;
        frmURL dialog(player);
        dialog.open();
        QTest::keyClicks(dialog.txtText1(), u"bad"_s);
        QTest::mouseClick(dialog.cmdOK(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(player.calls, QStringList{u"play"_s});
    }
};

QTEST_MAIN(tst_frmURL)
#include "tst_frmURL.moc"
