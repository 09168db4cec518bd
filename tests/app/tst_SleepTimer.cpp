// The sleep timer on a clock the test sets: the minutes left, the fade's factor, restarting,
// cancelling and expiring once.
#include "app/SleepTimer.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class tst_SleepTimer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countsDownFadesAndExpiresOnce()
    {
        constexpr qint64 Minute = 60'000;
        qint64 now = 1'000'000; // any origin: only differences count
        SleepTimer timer(nullptr, [&now] { return now; });
        QStringList told; // "f0.5" a factor, "m14" minutes, "expired"
        connect(&timer, &SleepTimer::volumeFactorChanged, this,
                [&](double factor) { told << u"f"_s + QString::number(factor); });
        connect(&timer, &SleepTimer::remainingMinutesChanged, this,
                [&](int minutes) { told << u"m"_s + QString::number(minutes); });
        connect(&timer, &SleepTimer::expired, this, [&] { told << u"expired"_s; });
        const auto at = [&](qint64 ms) {
            told.clear();
            now = ms;
            timer.update();
            return std::exchange(told, {});
        };

        const qint64 start = now, end = start + 15 * Minute;
        timer.start(15);
        QCOMPARE(told, QStringList{u"m15"_s});
        // The minutes are rounded up: 15 until a whole minute has gone, 1 in the last one.
        QCOMPARE(at(start + Minute - 1), QStringList());
        QCOMPARE(at(start + Minute), QStringList{u"m14"_s});
        QCOMPARE(at(start + 14 * Minute), QStringList{u"m1"_s});
        // Full volume until the last 30 seconds, then linearly down to silence.
        QCOMPARE(at(end - 30'000), QStringList());
        for (const auto& [left, factor] : {std::pair{22'500, 0.75}, {3'000, 0.1}})
            QCOMPARE(at(end - left), QStringList{u"f"_s + QString::number(factor)});
        // Time up: silent, expired, then at rest; once only.
        QCOMPARE(at(end + 100), (QStringList{u"f0"_s, u"expired"_s, u"f1"_s, u"m0"_s}));
        QVERIFY(!timer.isRunning());
        QCOMPARE(at(end + 10 * Minute), QStringList());

        // Started again in the fade: full volume and the whole time again, from now; the tick
        // reads the clock by itself.
        timer.start(15);
        at(now + 15 * Minute - 10'000);
        timer.start(30);
        QCOMPARE(told, (QStringList{u"f1"_s, u"m30"_s}));
        now += 30 * Minute - 15'000;
        QTRY_COMPARE(timer.volumeFactor(), 0.5);
        // Cancelled in the fade: full volume, no minutes, and it never expires.
        told.clear();
        timer.cancel();
        QCOMPARE(told, (QStringList{u"f1"_s, u"m0"_s}));
        QCOMPARE(at(now + 60 * Minute), QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_SleepTimer)
#include "tst_SleepTimer.moc"
