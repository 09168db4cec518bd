#include "controls/SliderValue.h"

SliderValue::SliderValue(QObject* parent)
    : QObject(parent)
{}

ControlError SliderValue::setMax(int n)
{
    if (n <= m_min)
        return ControlError::InvalidPropertyValue;
    m_max = n;
    m_span = qint64(m_max) - m_min;
    return ControlError::None;
}

ControlError SliderValue::setMin(int n)
{
    if (n >= m_max)
        return ControlError::InvalidPropertyValue;
    m_min = n;
    // The value follows the new lower end before the span catches up, so the thumb is placed
    // with the span of the moment, as for any other Value write.
    setValue(n);
    m_span = qint64(m_max) - m_min;
    return ControlError::None;
}

ControlError SliderValue::setValue(int v)
{
    if (v < m_min || v > m_max)
        return ControlError::InvalidPropertyValue;
    m_value = v;
    if (v == m_lastNotified)
        return ControlError::None;
    Q_EMIT valueMoved();
    m_lastNotified = v;
    Q_EMIT Change();
    // A Change handler that wrote another value has announced that change completely, ends
    // included; this one must not announce an end the value no longer stands at.
    if (m_value != v)
        return ControlError::None;
    if (m_value == m_max)
        Q_EMIT ArrivedLast();
    if (m_value == m_min)
        Q_EMIT ArrivedFirst();
    return ControlError::None;
}

void SliderValue::load(int min, int max, int value)
{
    m_min = min;
    m_max = max;
    m_value = value;
    m_span = qint64(m_max) - m_min;
    m_lastNotified = value;
}
