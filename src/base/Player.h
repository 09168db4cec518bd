#pragma once

#include <QObject>
#include <QString>

// The media player the program drives: a URL to open, play and stop, volume and mute, the
// stream's title, and the events it raises. Assigning a URL opens and plays it by itself. Windows
// and tests depend on this interface only; MpvPlayer implements it on libmpv.
//
// State contract: playState() is PlayState::Playing (3) exactly while audio plays; every change
// of the play state raises PlayStateChange with the new state, so does every assignment of a URL
// (also when the state number stays the same), and every change of the status text raises
// StatusChange.
class Player : public QObject
{
    Q_OBJECT

public:
    // The play states; the program itself tells only Playing from the rest.
    enum PlayState
    {
        Undefined = 0,
        Stopped = 1,
        Paused = 2,
        Playing = 3,
        Buffering = 6,
        Connecting = 9, // opening the stream
        Reconnecting = 10,
        Error = 11,
    };
    Q_ENUM(PlayState)

    using QObject::QObject;
    ~Player() override = default;

    // The URL last assigned, exactly as given.
    virtual QString URL() const = 0;
    // Opens and plays the URL (the player starts by itself).
    virtual void setURL(const QString& url) = 0;

    // controls.play: starts or resumes the current URL; after a stop it opens the stream again.
    virtual void play() = 0;
    // controls.stop: stops playback; URL() still holds the stream.
    virtual void stop() = 0;

    virtual int playState() const = 0;
    // A human, Czech status text.
    virtual QString status() const = 0;

    // settings.volume: 0 to 100; the value read back is what the player accepted.
    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;

    // settings.mute
    virtual bool mute() const = 0;
    virtual void setMute(bool on) = 0;

    // network.bitRate: bits per second of the current stream, 0 when none.
    virtual int bitRate() const = 0;

    // The title the current stream sends (the song, usually), as one line; empty when it sends
    // none. Every change raises StreamTitleChange.
    virtual QString streamTitle() const = 0;

    // The audio codec of the stream that plays, as libavcodec names it ("mp3", "aac", "vorbis",
    // "opus"…); empty when nothing plays.
    virtual QString streamCodec() const = 0;
    // Writes the stream as it arrives, without re-encoding, into the file `path`, whose extension
    // picks the container; a new path ends the previous file, an empty one ends the recording.
    // A file that cannot be written raises RecordFailed and ends the recording; playback goes on.
    virtual void setRecordFile(const QString& path) = 0;

Q_SIGNALS:
    void PlayStateChange(int NewState);
    void StatusChange();
    void StreamTitleChange();
    void RecordFailed();
};
