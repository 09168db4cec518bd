#include "FakePlayer.h"

#include <algorithm>

using namespace Qt::StringLiterals;

void FakePlayer::setURL(const QString& u)
{
    calls.append(u"setURL "_s + u);
    url = u;
}

void FakePlayer::play()
{
    calls.append(u"play"_s);
}

void FakePlayer::stop()
{
    calls.append(u"stop"_s);
}

void FakePlayer::setVolume(int v)
{
    calls.append(u"setVolume %1"_s.arg(v));
    volumeValue = std::clamp(v, 0, 100);
}

void FakePlayer::setMute(bool on)
{
    calls.append(u"setMute %1"_s.arg(on ? 1 : 0));
    muted = on;
}

void FakePlayer::raiseState(int newState)
{
    state = newState;
    Q_EMIT PlayStateChange(newState);
}

void FakePlayer::raiseStatus(const QString& text, int bitRate)
{
    statusText = text;
    bits = bitRate;
    Q_EMIT StatusChange();
}
