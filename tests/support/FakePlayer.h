#pragma once

#include "base/Player.h"

#include <QStringList>

#include <algorithm>

// A scripted player for widget tests that need exact event orders. It records every call in
// `calls` ("setURL x", "play", "stop", "setVolume n", "setMute 0/1") and raises events only
// when the test says so.
class FakePlayer final : public Player
{
    Q_OBJECT

public:
    using Player::Player;

    QStringList calls;
    QString url;
    int state = Player::Undefined;
    QString statusText;
    int volumeValue = 50;
    bool muted = false;
    int bits = 0;

    QString URL() const override { return url; }
    void setURL(const QString& u) override { calls.append(QStringLiteral("setURL ") + (url = u)); }
    void play() override { calls.append(QStringLiteral("play")); }
    void stop() override { calls.append(QStringLiteral("stop")); }
    int playState() const override { return state; }
    QString status() const override { return statusText; }
    int volume() const override { return volumeValue; }
    void setVolume(int v) override
    {
        calls.append(QStringLiteral("setVolume %1").arg(v));
        volumeValue = std::clamp(v, 0, 100);
    }
    bool mute() const override { return muted; }
    void setMute(bool on) override
    {
        calls.append(QStringLiteral("setMute %1").arg(int(muted = on)));
    }
    int bitRate() const override { return bits; }

    // Moves to a play state (or sets the status text and bit rate) and raises the event, as the
    // real player would.
    void raiseState(int newState) { Q_EMIT PlayStateChange(state = newState); }
    void raiseStatus(const QString& text, int bitRate = 0)
    {
        statusText = text;
        bits = bitRate;
        Q_EMIT StatusChange();
    }
};
