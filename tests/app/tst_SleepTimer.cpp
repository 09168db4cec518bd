// The sleep timer on a clock the test sets: the minutes left, the fade's factor, restarting,
// cancelling and expiring once.
#include "app/SleepTimer.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 Minute = 60'000;

} // namespace

class tst_SleepTimer : public QObject
{
    Q_OBJECT

    qint64 m_now = 0;
    std::unique_ptr<SleepTimer> m_timer;
    // What it told, in order: "f0.5" a factor, "m14" minutes, "expired".
    QStringList m_told;

    // Moves the clock to `at` and lets the timer read it; what it told meanwhile.
    QStringList at(qint64 ms)
    {
        m_told.clear();
        m_now = ms;
        m_timer->update();
        return m_told;
    }
    QTimer* tick() const { return m_timer->findChild<QTimer*>(); }

private Q_SLOTS:
    void init()
    {
        m_now = 1'000'000; // any origin: only differences count
        m_told.clear();
        m_timer = std::make_unique<SleepTimer>(nullptr, [this] { return m_now; });
        connect(m_timer.get(), &SleepTimer::volumeFactorChanged, this,
                [this](double factor) { m_told << u"f"_s + QString::number(factor); });
        connect(m_timer.get(), &SleepTimer::remainingMinutesChanged, this,
                [this](int minutes) { m_told << u"m"_s + QString::number(minutes); });
        connect(m_timer.get(), &SleepTimer::expired, this, [this] { m_told << u"expired"_s; });
    }

    void countsDownAndFadesOverTheLastHalfMinute()
    {
        // At rest: full volume, no minutes, no tick.
        QVERIFY(!m_timer->isRunning());
        QCOMPARE(m_timer->volumeFactor(), 1.0);
        QCOMPARE(m_timer->remainingMinutes(), 0);
        QVERIFY(!tick()->isActive());

        const qint64 start = m_now;
        m_timer->start(15);
        QCOMPARE(m_told, QStringList{u"m15"_s});
        QVERIFY(m_timer->isRunning());
        QVERIFY(tick()->isActive());
        QCOMPARE(tick()->interval(), 250);
        QCOMPARE(m_timer->remainingMs(), 15 * Minute);

        // The minutes are rounded up: 15 until a whole minute has gone, 1 in the last one.
        QCOMPARE(at(start + 1), QStringList());
        QCOMPARE(m_timer->remainingMinutes(), 15);
        QCOMPARE(at(start + Minute - 1), QStringList());
        QCOMPARE(at(start + Minute), QStringList{u"m14"_s});
        QCOMPARE(at(start + Minute + 1), QStringList());
        QCOMPARE(at(start + 14 * Minute - 1), QStringList{u"m2"_s});
        QCOMPARE(at(start + 14 * Minute), QStringList{u"m1"_s});

        // Full volume until the last 30 seconds, then linearly down to silence.
        const qint64 end = start + 15 * Minute;
        QCOMPARE(at(end - 30'000), QStringList());
        QCOMPARE(m_timer->volumeFactor(), 1.0);
        for (const auto& [left, factor] : {std::pair{29'997, 0.9999},
                                           {22'500, 0.75},
                                           {15'000, 0.5},
                                           {3'000, 0.1},
                                           {1, 1 / 30'000.0}}) {
            QCOMPARE(at(end - left), QStringList{u"f"_s + QString::number(factor)});
            QCOMPARE(m_timer->volumeFactor(), factor);
            QCOMPARE(m_timer->remainingMinutes(), 1);
        }
        // Time up: silent, then expired, then at rest again; once only.
        QCOMPARE(at(end + 100), (QStringList{u"f0"_s, u"expired"_s, u"f1"_s, u"m0"_s}));
        QVERIFY(!m_timer->isRunning() && !tick()->isActive());
        QCOMPARE(m_timer->remainingMs(), 0);
        QCOMPARE(m_timer->volumeFactor(), 1.0);
        QCOMPARE(at(end + 10 * Minute), QStringList());
    }

    void restartsAndCancels()
    {
        const qint64 start = m_now;
        m_timer->start(15);
        at(start + 15 * Minute - 10'000);
        QCOMPARE(m_timer->volumeFactor(), 1 / 3.0);
        // Started again in the fade: full volume and the whole time again, from now.
        m_told.clear();
        m_timer->start(30);
        QCOMPARE(m_told, (QStringList{u"f1"_s, u"m30"_s}));
        QCOMPARE(m_timer->remainingMs(), 30 * Minute);
        QCOMPARE(at(start + 15 * Minute), QStringList());
        // The same choice again restarts it too.
        at(m_now + 20 * Minute);
        QCOMPARE(m_timer->remainingMinutes(), 10);
        m_told.clear();
        m_timer->start(30);
        QCOMPARE(m_told, QStringList{u"m30"_s});

        // Cancelled in the fade: full volume, no minutes, and it never expires.
        at(m_now + 30 * Minute - 5'000);
        m_told.clear();
        m_timer->cancel();
        QCOMPARE(m_told, (QStringList{u"f1"_s, u"m0"_s}));
        QVERIFY(!m_timer->isRunning() && !tick()->isActive());
        QCOMPARE(at(m_now + 60 * Minute), QStringList());
        m_timer->cancel();
        QCOMPARE(m_told, QStringList());

        // No minutes cancel as well.
        m_timer->start(60);
        m_told.clear();
        m_timer->start(0);
        QCOMPARE(m_told, QStringList{u"m0"_s});
        QVERIFY(!m_timer->isRunning());
    }

    // The tick reads the clock by itself; a new clock keeps the time left; a timer started
    // again when it expires goes on.
    void ticksOnItsOwn()
    {
        m_timer->start(90);
        m_now += 90 * Minute - 15'000;
        QTRY_COMPARE(m_timer->volumeFactor(), 0.5);
        QCOMPARE(m_timer->remainingMinutes(), 1);

        qint64 other = 5;
        m_timer->setClock([&other] { return other; });
        QCOMPARE(m_timer->remainingMs(), 15'000);
        other += 15'000;
        QTRY_VERIFY(!m_timer->isRunning());
        QCOMPARE(m_told.count(u"expired"_s), 1);

        connect(m_timer.get(), &SleepTimer::expired, this, [this] { m_timer->start(15); });
        m_timer->start(30);
        m_told.clear();
        other += 30 * Minute;
        m_timer->update();
        QCOMPARE(m_told, (QStringList{u"f0"_s, u"expired"_s, u"f1"_s, u"m15"_s}));
        QVERIFY(m_timer->isRunning() && tick()->isActive());
        m_timer->setClock({});
        QVERIFY(m_timer->remainingMs() > 15 * Minute - 1000);
    }
};

QTEST_GUILESS_MAIN(tst_SleepTimer)
#include "tst_SleepTimer.moc"
