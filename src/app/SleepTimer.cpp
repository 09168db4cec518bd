#include "app/SleepTimer.h"

#include <chrono>

namespace {

constexpr qint64 MinuteMs = 60'000;

qint64 steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

SleepTimer::SleepTimer(QObject* parent, Clock clock)
    : QObject(parent)
    , m_clock(clock ? std::move(clock) : Clock(steadyMilliseconds))
{
    m_tick.setObjectName(QStringLiteral("tick"));
    m_tick.setInterval(TickMs);
    connect(&m_tick, &QTimer::timeout, this, &SleepTimer::update);
}

SleepTimer::~SleepTimer() = default;

qint64 SleepTimer::now() const
{
    return m_clock();
}

void SleepTimer::setClock(Clock clock)
{
    const qint64 left = remainingMs();
    m_clock = clock ? std::move(clock) : Clock(steadyMilliseconds);
    if (m_running)
        m_deadline = now() + left;
}

qint64 SleepTimer::remainingMs() const
{
    return m_running ? qMax<qint64>(0, m_deadline - now()) : 0;
}

void SleepTimer::start(int minutes)
{
    if (minutes <= 0) {
        cancel();
        return;
    }
    m_deadline = now() + minutes * MinuteMs;
    m_running = true;
    m_tick.start();
    update();
}

void SleepTimer::cancel()
{
    if (m_running)
        reset();
}

void SleepTimer::update()
{
    if (!m_running)
        return;
    const qint64 left = m_deadline - now();
    if (left > 0) {
        setFactor(left >= FadeMs ? 1.0 : double(left) / FadeMs);
        setMinutes(int((left + MinuteMs - 1) / MinuteMs));
        return;
    }
    // Silent first, then the news; a handler that starts it again keeps its new count-down.
    m_running = false;
    m_tick.stop();
    setFactor(0.0);
    Q_EMIT expired();
    if (!m_running)
        reset();
}

void SleepTimer::reset()
{
    m_running = false;
    m_tick.stop();
    setFactor(1.0);
    setMinutes(0);
}

void SleepTimer::setFactor(double factor)
{
    if (factor == m_factor)
        return;
    m_factor = factor;
    Q_EMIT volumeFactorChanged(factor);
}

void SleepTimer::setMinutes(int minutes)
{
    if (minutes == m_minutes)
        return;
    m_minutes = minutes;
    Q_EMIT remainingMinutesChanged(minutes);
}
