// The about box: its picture is painted under the labels, and OK or Escape closes it.
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
        QVERIFY(!dialog.Image1()->pixmap().isNull());
        QCOMPARE(dialog.size(), QSize(356, 132)); // the background picture's size
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            QVERIFY(dialog.rect().contains(label->geometry()));
        // The background picture is painted: its blue rule under the product name.
        const QImage shot = dialog.grab().toImage();
        const QColor rule = shot.pixelColor(150, 41);
        QVERIFY(rule.blue() > rule.red() + 40);
        QCOMPARE(shot.pixelColor(200, 10), QColor(Qt::white));

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
