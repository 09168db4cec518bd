#pragma once

#include "base/Player.h"

#include <QStringList>

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
    void setURL(const QString& u) override;
    void play() override;
    void stop() override;
    int playState() const override { return state; }
    QString status() const override { return statusText; }
    int volume() const override { return volumeValue; }
    void setVolume(int v) override;
    bool mute() const override { return muted; }
    void setMute(bool on) override;
    int bitRate() const override { return bits; }

    // Moves to a play state and raises PlayStateChange, as the real player would.
    void raiseState(int newState);
    // Sets the status text (and bit rate) and raises StatusChange.
    void raiseStatus(const QString& text, int bitRate = 0);
};
