#pragma once

#include "base/Player.h"

#include <QStringList>

// A scripted player: it records "setURL x", "play" and "stop" in `calls`, each volume asked for
// (before its own clamping) in `volumesAsked`, and raises its events only when the test says so.
class FakePlayer final : public Player
{
    Q_OBJECT

public:
    QStringList calls;
    QList<int> volumesAsked;
    QString url, statusText, title, codec = QStringLiteral("mp3"), recordFile;
    int state = Player::Undefined, volumeValue = 50, bits = 0;
    bool muted = false;

    QString URL() const override { return url; }
    void setURL(const QString& u) override { calls.append(QStringLiteral("setURL ") + (url = u)); }
    void play() override { calls.append(QStringLiteral("play")); }
    void stop() override { calls.append(QStringLiteral("stop")); }
    int playState() const override { return state; }
    QString status() const override { return statusText; }
    int volume() const override { return volumeValue; }
    void setVolume(int v) override { volumeValue = qBound(0, volumesAsked.emplaceBack(v), 100); }
    bool mute() const override { return muted; }
    void setMute(bool on) override { muted = on; }
    int bitRate() const override { return bits; }
    QString streamTitle() const override { return title; }
    QString streamCodec() const override { return codec; }
    void setRecordFile(const QString& path) override
    {
        calls.append(QStringLiteral("record ") + (recordFile = path));
    }

    // Moves to a play state, or sets the status text and bit rate, and raises the event.
    void raiseState(int newState) { Q_EMIT PlayStateChange(state = newState); }
    void raiseStatus(const QString& text, int bitRate = 0)
    {
        statusText = text;
        bits = bitRate;
        Q_EMIT StatusChange();
    }
    void raiseTitle(const QString& text)
    {
        title = text;
        Q_EMIT StreamTitleChange();
    }
};
