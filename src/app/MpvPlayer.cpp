#include "app/MpvPlayer.h"

#include "app/StatusText.h"
#include "app/StreamAddress.h"
#include "app/StreamTitle.h"
#include "app/XmlPlaylist.h"

#include <QMetaObject>

#include <mpv/client.h>

#include <algorithm>
#include <clocale>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

enum Observed : std::uint64_t
{
    CoreIdle = 1,
    PausedForCache,
    BufferingState,
    AudioBitRate,
    Metadata,
};

constexpr std::uint64_t LoadHook = 1;

// The string pairs of an mpv map, such as the stream's metadata.
QList<std::pair<QByteArray, QByteArray>> stringsOf(const mpv_node& node)
{
    QList<std::pair<QByteArray, QByteArray>> strings;
    if (node.format != MPV_FORMAT_NODE_MAP)
        return strings;
    for (int i = 0; i < node.u.list->num; ++i) {
        const mpv_node& value = node.u.list->values[i];
        if (value.format == MPV_FORMAT_STRING)
            strings.append({QByteArray(node.u.list->keys[i]), QByteArray(value.u.string)});
    }
    return strings;
}

} // namespace

MpvPlayer::MpvPlayer(const QString& audioOutput, QObject* parent)
    : Player(parent)
{
    connect(&m_fetcher, &PlaylistFetcher::resolved, this, &MpvPlayer::playResolved);
    // Ticks once a second during a pause so that the status can count down to the next try.
    m_retryTimer.setInterval(1000);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] {
        if (--m_retryLeft > 0)
            apply({Player::Reconnecting, StatusText::ReconnectingIn(m_retryLeft)});
        else
            openStream(true);
    });

    // mpv parses and prints numbers with the C library and refuses to start otherwise.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv) {
        m_status = StatusText::PlayerUnavailable();
        m_state = Player::Error;
        return;
    }

    const auto option = [this](const char* name, const QByteArray& value) {
        mpv_set_option_string(m_mpv, name, value.constData());
    };
    // A radio player: no video, no user configuration or scripts, no terminal, no key
    // bindings, nothing remembered between runs.
    option("idle", "yes");
    option("vid", "no");
    option("config", "no");
    option("ytdl", "no");
    option("load-scripts", "no");
    option("osc", "no");
    option("load-stats-overlay", "no");
    option("load-osd-console", "no");
    option("load-auto-profiles", "no");
    option("input-default-bindings", "no");
    option("input-terminal", "no");
    option("terminal", "no");
    option("resume-playback", "no");
    option("audio-display", "no");
    option("load-unsafe-playlists", "no");
    // Nothing beside the stream itself is read from disk: no subtitles, covers or audio files
    // found next to it, no per-file or per-folder configuration.
    option("sub-auto", "no");
    option("audio-file-auto", "no");
    option("cover-art-auto", "no");
    option("use-filedir-conf", "no");
    option("save-position-on-quit", "no");
    option("audio-client-name", "skylistener");
    if (!audioOutput.isEmpty())
        option("ao", audioOutput.toUtf8());
    // A server that accepts and then says nothing must not keep us connecting for a minute.
    option("network-timeout", "15");
    // Hours of listening must not pile up memory. Some back buffer must stay: without it mpv
    // drops the titles the stream sends.
    option("demuxer-max-bytes", "4MiB");
    option("demuxer-max-back-bytes", "1MiB");
    // A station that sends no burst of old data on connect delivers its stream in real time, so
    // every byte read before the first sound is time the listener waits. ffmpeg would analyse
    // several seconds of it by default; a tenth of a second tells a radio stream's format. An
    // MP3 stream that starts mid-frame scores just below mpv's default probe score until many
    // frames have come in, which without a known content type took seconds. The cache keeps
    // mpv's defaults, so a slow link still fills it before playing on after a stall.
    option("demuxer-lavf-analyzeduration", "0.1");
    option("demuxer-lavf-probescore", "25");
    // mpv leaves certificates unchecked unless told; ffmpeg then checks them against the system's
    // trusted authorities, or those of tls-ca-file.
    option("tls-verify", "yes");
    // No ffmpeg reconnect options (stream-lavf-o reconnect=1…): against a server that sends
    // a short answer and hangs up they reconnect forever without a pause, and the player never
    // reports the failure. A broken stream is our own retry's job.

    // On request mpv writes everything it does to a file, for finding out why a station fails.
    if (const QByteArray log = qgetenv("SKYLISTENER_MPV_LOG"); !log.isEmpty()) {
        option("log-file", log);
        option("msg-level", "all=debug");
    }

    if (mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        m_status = StatusText::PlayerUnavailable();
        m_state = Player::Error;
        return;
    }

    mpv_observe_property(m_mpv, CoreIdle, "core-idle", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, PausedForCache, "paused-for-cache", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, BufferingState, "cache-buffering-state", MPV_FORMAT_INT64);
    mpv_observe_property(m_mpv, AudioBitRate, "audio-bitrate", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, Metadata, "metadata", MPV_FORMAT_NODE);
    // Every entry passes our check before it opens, also the ones a playlist brings.
    mpv_hook_add(m_mpv, LoadHook, "on_load", 0);
    // ffmpeg's errors, for what the end of a file does not tell: why a certificate failed.
    mpv_request_log_messages(m_mpv, "error");

    setVolume(m_volume);
    setMute(m_mute);

    // Called on mpv's threads, where mpv's API must not be used: only queue a drain.
    mpv_set_wakeup_callback(
        m_mpv,
        [](void* context) {
            auto* self = static_cast<MpvPlayer*>(context);
            if (!self->m_drainQueued.exchange(true))
                QMetaObject::invokeMethod(self, &MpvPlayer::drainEvents, Qt::QueuedConnection);
        },
        this);
}

MpvPlayer::~MpvPlayer()
{
    if (!m_mpv)
        return;
    // After this returns mpv calls into us no more; a drain already queued dies with us.
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    mpv_terminate_destroy(m_mpv);
}

void MpvPlayer::setURL(const QString& url)
{
    const int raised = m_stateEvents;
    m_url = url;
    if (url.isEmpty())
        stop();
    else
        openStream(false);
    // A new stream is news even when its state number is the old one's (connecting while the
    // previous station was still connecting, or refused after a refused one): whoever shows
    // which station plays must hear of it.
    if (m_stateEvents == raised)
        Q_EMIT PlayStateChange(m_state);
}

void MpvPlayer::play()
{
    if (m_url.isEmpty())
        return;
    // During a pause between reconnection attempts play() tries at once and keeps retrying.
    if (m_retryTimer.isActive())
        openStream(true);
    else if (!m_active)
        openStream(false);
}

void MpvPlayer::stop()
{
    stopStream();
    // A player that never had anything to play has nothing to report.
    if (m_state != Player::Undefined || !m_url.isEmpty())
        apply({Player::Stopped, StatusText::Stopped()});
}

void MpvPlayer::setVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 100);
    if (!m_mpv)
        return;
    double value = m_volume;
    mpv_set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &value);
    if (mpv_get_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &value) >= 0)
        m_volume = std::clamp(static_cast<int>(std::lround(value)), 0, 100);
}

void MpvPlayer::setMute(bool on)
{
    m_mute = on;
    if (!m_mpv)
        return;
    int flag = on ? 1 : 0;
    mpv_set_property(m_mpv, "mute", MPV_FORMAT_FLAG, &flag);
    if (mpv_get_property(m_mpv, "mute", MPV_FORMAT_FLAG, &flag) >= 0)
        m_mute = flag != 0;
}

void MpvPlayer::setCertificateAuthorities(const QString& pemFile)
{
    if (m_mpv)
        mpv_set_property_string(m_mpv, "tls-ca-file", pemFile.toUtf8().constData());
}

QString MpvPlayer::streamCodec() const
{
    if (!m_mpv || !m_loaded)
        return {};
    char* codec = mpv_get_property_string(m_mpv, "audio-codec-name");
    const QString name = codec ? QString::fromUtf8(codec) : QString();
    mpv_free(codec);
    return name;
}

void MpvPlayer::setRecordFile(const QString& path)
{
    m_recording = !path.isEmpty();
    // mpv ends the file it wrote (its trailer written) before it starts the next one.
    if (m_mpv)
        mpv_set_property_string(m_mpv, "stream-record", path.toUtf8().constData());
}

void MpvPlayer::openStream(bool retry)
{
    m_retryTimer.stop();
    if (!retry) {
        m_retries = 0;
        m_hasPlayed = false;
    }
    stopStream();

    if (const QString refused = StreamAddress::refusedText(m_url); !refused.isEmpty()) {
        apply({Player::Error, refused});
        return;
    }
    if (!m_mpv) {
        apply({Player::Error, StatusText::PlayerUnavailable()});
        return;
    }

    m_active = true;
    if (XmlPlaylist::isXmlPlaylist(m_url)) {
        // mpv does not read these: they are resolved first and their streams played in order.
        m_fetcher.resolve(m_url);
        applyConnecting();
        return;
    }
    loadStreams({m_url});
}

void MpvPlayer::playResolved(const QStringList& streams)
{
    if (!m_active)
        return;
    if (streams.isEmpty())
        finishStream(PlaybackRules::EndReason::NothingListed, MPV_ERROR_LOADING_FAILED);
    else
        loadStreams(streams);
}

// Hands the streams to mpv as its playlist: it plays the first and moves on to the next when
// one fails. Entries of a playlist from the network are marked so that they open no files.
void MpvPlayer::loadStreams(const QStringList& streams)
{
    const bool remote = StreamAddress::isNetwork(m_url);
    m_entries.clear();
    m_remoteEntries.clear();
    m_lastEntry = -1;
    for (const QString& stream : streams) {
        const QByteArray address = StreamAddress::mpvAddress(stream);
        const char* command[] = {"loadfile", address.constData(),
                                 m_entries.isEmpty() ? "replace" : "append", nullptr};
        mpv_node result;
        if (mpv_command_ret(m_mpv, command, &result) < 0)
            continue;
        std::int64_t entry = -1;
        if (result.format == MPV_FORMAT_NODE_MAP) {
            for (int i = 0; i < result.u.list->num; ++i) {
                if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                    result.u.list->values[i].format == MPV_FORMAT_INT64)
                    entry = result.u.list->values[i].u.int64;
            }
        }
        mpv_free_node_contents(&result);
        m_entries.insert(entry, 0);
        m_lastEntry = std::max(m_lastEntry, entry);
        if (remote)
            m_remoteEntries.insert(entry);
    }
    if (m_entries.isEmpty()) {
        stopStream();
        apply({Player::Error, StatusText::OpenFailed()});
        return;
    }
    applyConnecting();
}

// Forgets the current stream without touching the state the caller reports next.
void MpvPlayer::stopStream()
{
    m_retryTimer.stop();
    m_fetcher.cancel();
    if (m_mpv && m_active) {
        const char* command[] = {"stop", nullptr};
        mpv_command(m_mpv, command);
    }
    m_entries.clear();
    m_remoteEntries.clear();
    m_lastEntry = -1;
    m_active = false;
    m_loaded = false;
    m_pausedForCache = false;
    m_bufferPercent = -1;
    m_refusal.clear();
    m_certificateError.clear();
    m_ending = false;
    setStreamTitle(QString());
    m_bitRate = 0;
}

void MpvPlayer::drainEvents()
{
    m_drainQueued = false;
    if (!m_mpv)
        return;
    for (;;) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
    if (m_ending) {
        m_ending = false;
        finishStream(m_endReason, m_endError);
    }
}

void MpvPlayer::handleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE: {
        const auto* start = static_cast<const mpv_event_start_file*>(event.data);
        m_startedEntry = start->playlist_entry_id;
        if (m_active && m_entries.contains(m_startedEntry))
            applyConnecting();
        break;
    }
    case MPV_EVENT_FILE_LOADED:
        if (m_active && m_entries.contains(m_startedEntry)) {
            m_loaded = true;
            // The file may already be playing; don't wait for the next change to say so.
            int idle = 1;
            if (mpv_get_property(m_mpv, "core-idle", MPV_FORMAT_FLAG, &idle) >= 0)
                m_coreIdle = idle != 0;
            refreshPlayback();
        }
        break;
    case MPV_EVENT_END_FILE:
        handleEndFile(event);
        break;
    case MPV_EVENT_HOOK:
        handleLoadHook(event);
        break;
    case MPV_EVENT_LOG_MESSAGE:
        handleLogMessage(event);
        break;
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        const bool known = property->format != MPV_FORMAT_NONE && property->data;
        switch (event.reply_userdata) {
        case CoreIdle:
            m_coreIdle = !known || *static_cast<const int*>(property->data) != 0;
            break;
        case PausedForCache:
            m_pausedForCache = known && *static_cast<const int*>(property->data) != 0;
            break;
        case BufferingState:
            m_bufferPercent =
                known ? static_cast<int>(*static_cast<const std::int64_t*>(property->data)) : -1;
            break;
        case AudioBitRate:
            if (m_active && m_loaded)
                setBitRate(known ? static_cast<int>(
                                       std::lround(*static_cast<const double*>(property->data)))
                                 : 0);
            return;
        case Metadata:
            setStreamTitle(known ? StreamTitle::fromMetadata(
                                       stringsOf(*static_cast<const mpv_node*>(property->data)))
                                 : QString());
            break;
        default:
            return;
        }
        refreshPlayback();
        break;
    }
    default:
        break;
    }
}

void MpvPlayer::handleEndFile(const mpv_event& event)
{
    const auto* end = static_cast<const mpv_event_end_file*>(event.data);
    const std::int64_t entry = end->playlist_entry_id;
    if (!m_active || !m_entries.contains(entry))
        return;
    m_loaded = false;
    switch (end->reason) {
    case MPV_END_FILE_REASON_REDIRECT:
        // A playlist: its entries take its place.
        if (end->playlist_insert_num_entries <= 0) {
            if (entry == m_lastEntry)
                endLater(PlaybackRules::EndReason::Failed, MPV_ERROR_NOTHING_TO_PLAY);
            return;
        }
        // mpv puts them where the playlist stood, so the last of them is last only when the
        // playlist was.
        for (int i = 0; i < end->playlist_insert_num_entries; ++i) {
            const std::int64_t inserted = end->playlist_insert_id + i;
            m_entries.insert(inserted, m_entries.value(entry) + 1);
            if (m_remoteEntries.contains(entry))
                m_remoteEntries.insert(inserted);
        }
        if (entry == m_lastEntry)
            m_lastEntry = end->playlist_insert_id + end->playlist_insert_num_entries - 1;
        return;
    case MPV_END_FILE_REASON_EOF:
    case MPV_END_FILE_REASON_ERROR:
        // mpv tries the next entry of a playlist by itself; only the last one decides.
        if (entry != m_lastEntry)
            return;
        endLater(end->reason == MPV_END_FILE_REASON_EOF ? PlaybackRules::EndReason::EndOfFile
                                                        : PlaybackRules::EndReason::Failed,
                 end->error);
        return;
    default:
        // Stopped or replaced by us: whoever did it has already said what comes next.
        return;
    }
}

void MpvPlayer::handleLoadHook(const mpv_event& event)
{
    const auto* hook = static_cast<const mpv_event_hook*>(event.data);
    char* name = mpv_get_property_string(m_mpv, "stream-open-filename");
    const QString address = name ? QString::fromUtf8(name) : QString();
    mpv_free(name);

    const QString refused = PlaybackRules::entryRefusedText(
        address, m_remoteEntries.contains(m_startedEntry), m_entries.value(m_startedEntry));
    if (!refused.isEmpty()) {
        m_refusal = refused;
        // An empty name fails to open, which ends the entry with an error.
        mpv_set_property_string(m_mpv, "stream-open-filename", "");
    }
    mpv_hook_continue(m_mpv, hook->id);
}

void MpvPlayer::handleLogMessage(const mpv_event& event)
{
    const auto* message = static_cast<const mpv_event_log_message*>(event.data);
    // The recorder's errors: its file could not be opened or written (a full disk, a folder
    // gone). mpv records no more; whoever asked for the recording must hear of it.
    if (m_recording && (qstrcmp(message->prefix, "recorder") == 0 ||
                        qstrcmp(message->text, "Disabling recording.\n") == 0)) {
        setRecordFile(QString());
        Q_EMIT RecordFailed();
        return;
    }
    if (!m_active || !m_certificateError.isEmpty())
        return;
    m_certificateError = PlaybackRules::certificateText(message->prefix, message->text);
}

void MpvPlayer::endLater(PlaybackRules::EndReason reason, int mpvError)
{
    m_ending = true;
    m_endReason = reason;
    m_endError = mpvError;
}

void MpvPlayer::finishStream(PlaybackRules::EndReason reason, int mpvError)
{
    const PlaybackRules::Outcome outcome = PlaybackRules::afterEnd({
        .network = StreamAddress::isNetwork(m_url),
        .hasPlayed = m_hasPlayed,
        .retries = m_retries,
        .reason = reason,
        .mpvError = mpvError,
        .refusal = m_refusal,
        .certificate = m_certificateError,
    });
    stopStream();
    if (outcome.next == PlaybackRules::Next::Retry) {
        m_retryLeft = outcome.pause;
        ++m_retries;
        m_retryTimer.start();
    }
    apply(outcome.shown);
}

void MpvPlayer::applyConnecting()
{
    apply(PlaybackRules::connecting(m_retries));
}

// Derives state and status from what mpv last reported about the stream being played.
void MpvPlayer::refreshPlayback()
{
    // Once the last entry has ended only finishStream() says what comes next.
    if (!m_active || m_ending)
        return;
    const PlaybackRules::Shown shown = PlaybackRules::progress({
        .loaded = m_loaded,
        .coreIdle = m_coreIdle,
        .pausedForCache = m_pausedForCache,
        .bufferPercent = m_bufferPercent,
        .retries = m_retries,
        .title = m_title,
    });
    if (shown.state == Player::Playing) {
        m_hasPlayed = true;
        m_retries = 0;
        // A playlist entry that failed before this one explains nothing any more.
        m_refusal.clear();
        m_certificateError.clear();
    }
    apply(shown);
}

void MpvPlayer::setStreamTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    Q_EMIT StreamTitleChange();
}

// audio-bitrate changes many times a second by a few bits; only a change the user can see
// (a whole kbps) is worth a StatusChange.
void MpvPlayer::setBitRate(int bitsPerSecond)
{
    const bool visible = std::lround(bitsPerSecond / 1000.0) != std::lround(m_bitRate / 1000.0);
    m_bitRate = bitsPerSecond;
    if (visible)
        Q_EMIT StatusChange();
}

void MpvPlayer::apply(const PlaybackRules::Shown& shown)
{
    const auto& [state, status] = shown;
    const bool stateChanged = state != m_state;
    const bool statusChanged = status != m_status;
    if (state != Player::Playing && state != Player::Buffering)
        m_bitRate = 0;
    m_state = state;
    m_status = status;
    if (stateChanged) {
        ++m_stateEvents;
        Q_EMIT PlayStateChange(state);
    }
    if (statusChanged)
        Q_EMIT StatusChange();
}
