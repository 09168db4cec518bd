#pragma once

#include "controls/ControlError.h"

#include <QObject>

// The slider's value model: Min, Max and Value with the rules their writes follow, and the
// notifications a change raises. A write that breaks a rule returns
// ControlError::InvalidPropertyValue and changes nothing. A change is announced only when the
// new value differs from the last announced one; the last announced value is updated before
// Change is raised, so a Change handler may write Value again and cause a nested, complete
// change.
class SliderValue : public QObject
{
    Q_OBJECT

public:
    explicit SliderValue(QObject* parent = nullptr);

    int Min() const { return m_min; }
    int Max() const { return m_max; }
    int Value() const { return m_value; }
    // Max − Min as of the last Min or Max write or load; zero or negative only after a load.
    qint64 span() const { return m_span; }
    int lastNotified() const { return m_lastNotified; }

    // Fails when n <= Min; leaves Value where it is, even above the new Max.
    ControlError setMax(int n);
    // Fails when n >= Max; otherwise moves Value to n with all the effects of a Value write.
    ControlError setMin(int n);
    // Fails outside Min..Max.
    ControlError setValue(int v);

    // Takes stored values as they are, unchecked and without notification.
    void load(int min, int max, int value);

Q_SIGNALS:
    // A new value is about to be announced: the control places its thumb and redraws.
    void valueMoved();
    void Change();
    void ArrivedLast();
    void ArrivedFirst();

private:
    int m_min = 0;
    int m_max = 10;
    int m_value = 0;
    qint64 m_span = 10;
    int m_lastNotified = 0;
};
