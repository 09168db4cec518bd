#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// The sleep timer: started for some minutes, it counts them down on a clock of milliseconds
// (a steady clock unless another is given) and tells, on a tick while it runs, the minutes left,
// rounded up, and the factor for the player's volume: 1 until the last FadeMs, then falling
// linearly to 0 when the time is up. Then it raises expired(), once, and stands still: not
// running, the factor 1 and no minutes left. Starting again restarts it; cancel() stops it.
// Every change of the factor or the minutes raises its signal, also on start and cancel.
class SleepTimer : public QObject
{
    Q_OBJECT

public:
    // Milliseconds on a clock that never goes back; only differences count.
    using Clock = std::function<qint64()>;

    static constexpr qint64 FadeMs = 30'000;
    static constexpr int TickMs = 250;

    // No clock: the steady clock.
    explicit SleepTimer(QObject* parent = nullptr, Clock clock = {});
    ~SleepTimer() override;

    // Another clock (none: the steady clock); a timer that runs keeps the time it has left.
    void setClock(Clock clock);

    // Starts, or restarts, the count-down of `minutes` from now; 0 or less cancels.
    void start(int minutes);
    void cancel();

    bool isRunning() const { return m_running; }
    // Milliseconds left; 0 when it does not run.
    qint64 remainingMs() const;
    // The minutes left, rounded up (1 in the last minute); 0 when it does not run.
    int remainingMinutes() const { return m_minutes; }
    // What the player's volume is multiplied by, from 1 down to 0; 1 when it does not run.
    double volumeFactor() const { return m_factor; }

    // Reads the clock and tells what changed; the tick does the same every TickMs while it runs.
    void update();

Q_SIGNALS:
    void volumeFactorChanged(double factor);
    void remainingMinutesChanged(int minutes);
    // The time is up; the factor has fallen to 0 just before.
    void expired();

private:
    qint64 now() const;
    void setFactor(double factor);
    void setMinutes(int minutes);
    void reset();

    Clock m_clock;
    QTimer m_tick{this}; // a child, so that it is found
    bool m_running = false;
    qint64 m_deadline = 0;
    double m_factor = 1.0;
    int m_minutes = 0;
};
