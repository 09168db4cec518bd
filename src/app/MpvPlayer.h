#pragma once

#include "app/PlaybackRules.h"
#include "app/PlaylistFetcher.h"
#include "base/Player.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>

struct mpv_handle;
struct mpv_event;

// The program's player on libmpv. It plays radio streams (direct or through .pls/.m3u/.m3u8
// playlists, which mpv reads, or ASX/XSPF playlists, which it resolves itself; a failing entry
// gives way to the next) and refuses every other kind of address, reads no mpv configuration and
// shows nothing of its own. mpv reports on its own thread; those reports are drained on the GUI
// thread, so every signal is raised there. A stream that breaks off after it has played is
// opened again with growing pauses (1 s up to 30 s) until the user stops or picks another
// stream; an address that never played ends with its error. Addresses with control characters
// or of absurd length never reach mpv. An https station must show a certificate made out to its
// address by an authority the player trusts (the system's, unless told otherwise); one that does
// not is an error, never retried.
class MpvPlayer final : public Player
{
    Q_OBJECT

public:
    // `audioOutput` is mpv's audio output ("null" in tests); empty means mpv's own choice.
    explicit MpvPlayer(const QString& audioOutput = QString(), QObject* parent = nullptr);
    ~MpvPlayer() override;

    QString URL() const override { return m_url; }
    void setURL(const QString& url) override;

    void play() override;
    void stop() override;

    int playState() const override { return m_state; }
    QString status() const override { return m_status; }

    int volume() const override { return m_volume; }
    void setVolume(int volume) override;

    bool mute() const override { return m_mute; }
    void setMute(bool on) override;

    int bitRate() const override { return m_bitRate; }
    QString streamTitle() const override { return m_title; }
    QString streamCodec() const override;
    void setRecordFile(const QString& path) override;

    // https stations are checked against the certificate authorities in the PEM file `pemFile`
    // instead of the system's (for a private authority); empty returns to the system's.
    void setCertificateAuthorities(const QString& pemFile);

private:
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleEndFile(const mpv_event& event);
    void handleLoadHook(const mpv_event& event);
    void handleLogMessage(const mpv_event& event);

    // Starts `url` from scratch; `retry` keeps the count of reconnection attempts.
    void openStream(bool retry);
    void playResolved(const QStringList& streams);
    void loadStreams(const QStringList& streams);
    void stopStream();
    // Ends the stream after the drain in progress; see m_ending.
    void endLater(PlaybackRules::EndReason reason, int mpvError);
    // Stops the stream and does what its end leads to: another attempt, an error or a stop.
    void finishStream(PlaybackRules::EndReason reason, int mpvError);
    // Connecting, or reconnecting while a dropped stream is being reopened.
    void applyConnecting();
    void refreshPlayback();
    void setStreamTitle(const QString& title);
    void setBitRate(int bitsPerSecond);
    void apply(const PlaybackRules::Shown& shown);

    mpv_handle* m_mpv = nullptr;
    std::atomic<bool> m_drainQueued = false;

    QString m_url;
    int m_state = Player::Undefined;
    // Counts the PlayStateChange events raised, so that a new URL can tell whether it raised one.
    int m_stateEvents = 0;
    QString m_status;
    int m_volume = 50;
    bool m_mute = false;
    int m_bitRate = 0;

    // The playlist entries of the stream being played with their depth in nested playlists;
    // events about other entries are stale.
    QHash<std::int64_t, int> m_entries;
    std::int64_t m_lastEntry = -1;
    std::int64_t m_startedEntry = -1;
    // Entries that came out of a playlist fetched over the network may not open local files.
    QSet<std::int64_t> m_remoteEntries;
    bool m_active = false;
    bool m_loaded = false;
    bool m_coreIdle = true;
    bool m_pausedForCache = false;
    int m_bufferPercent = -1;
    QString m_refusal;          // why our check refused an entry
    QString m_certificateError; // why a station's certificate was not accepted
    // The end of the last entry, decided once the drain has read mpv's log too: mpv hands out
    // its events before the log lines written before them, and those tell why it failed.
    bool m_ending = false;
    PlaybackRules::EndReason m_endReason = PlaybackRules::EndReason::Failed;
    int m_endError = 0;
    QString m_title;
    bool m_recording = false;

    bool m_hasPlayed = false;
    int m_retries = 0;
    int m_retryLeft = 0; // seconds until the next attempt
    QTimer m_retryTimer;
    PlaylistFetcher m_fetcher;
};
