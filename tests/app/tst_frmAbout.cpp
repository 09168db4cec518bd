#include "app/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

class tst_frmAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contents()
    {
        frmAbout dialog;
        QCOMPARE(dialog.windowTitle(), u"O programu Hollowmere skylistener..."_s);
        QCOMPARE(dialog.Label1()->text(), u" Ver.: 0.1.12 beta"_s);
        QCOMPARE(dialog.Image1()->toolTip(), u"Využívá knihovny mpv"_s);
        QVERIFY(!dialog.Image1()->pixmap().isNull());
        QCOMPARE(dialog.Command1()->text(), u"&OK"_s);
        QCOMPARE(dialog.size(), QSize(356, 132));

        // The labels with the maker's notice and address sit on the picture, inside the dialog.
        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        QCOMPARE(labels.size(), 4);
        for (const QLabel* label : labels) {
            QVERIFY(dialog.rect().contains(label->geometry()));
        }

        // The background picture is painted: its blue rule under the product name.
        const QImage shot = dialog.grab().toImage();
        const QColor rule = shot.pixelColor(150, 41);
        QVERIFY(rule.blue() > rule.red() + 40);
        QCOMPARE(shot.pixelColor(200, 10), QColor(Qt::white));
        if (const QString preview = qEnvironmentVariable("SL_PICTURE_PREVIEW");
            !preview.isEmpty()) {
            QVERIFY(shot.save(preview + u"/frmAbout.png"_s));
        }
    }

    void closing()
    {
        frmAbout dialog;
        dialog.open();
        QTest::mouseClick(dialog.Command1(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());

        dialog.open();
        QTest::keyClick(dialog.Command1(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());

        dialog.open();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
