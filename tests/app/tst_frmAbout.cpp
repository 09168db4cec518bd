// The about box: the release's version and the program's icon, and OK or Escape closes it.
#include "app/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

class tst_frmAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contentsAndClosing()
    {
        frmAbout dialog;
        const QLabel* version = dialog.findChild<QLabel*>(u"Label1"_s);
        QVERIFY(version);
        QCOMPARE(version->text(),
                 u" Ver.: "_s + QLatin1StringView(SKYLISTENER_VERSION) + u" beta"_s);
        QVERIFY(!dialog.Image1()->pixmap().isNull());

        dialog.open();
        QTest::mouseClick(dialog.Command1(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        dialog.open();
        QTest::keyClick(dialog.Command1(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
