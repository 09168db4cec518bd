#include "app/MpvPlayer.h"

#include "app/StreamAddress.h"
#include "app/XmlPlaylist.h"

#include "stations/Cp1250.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QStringDecoder>

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

// Pauses before reopening a stream that broke off, in seconds; the last one repeats for as long
// as the user lets the station play.
constexpr int RetryPauses[] = {1, 2, 4, 8, 16, 30};

// Playlists within playlists beyond this depth are refused; a playlist that names itself would
// otherwise open itself for ever.
constexpr int MaxNesting = 3;

// Longer addresses are no radio station; they only feed mpv and ffmpeg needless work.
constexpr qsizetype MaxAddressLength = 8192;

using StreamAddress::schemeOf;

bool isNetworkAddress(const QString& url)
{
    return StreamAddress::isNetwork(url);
}

// What mpv is given: URLs as they stand, paths made absolute so that "-" or a name that looks
// like an option is always a file.
QByteArray mpvAddress(const QString& url)
{
    if (!schemeOf(url).isEmpty())
        return url.toUtf8();
    return QFileInfo(url).absoluteFilePath().toUtf8();
}

QString errorText(int mpvError)
{
    switch (mpvError) {
    case MPV_ERROR_LOADING_FAILED:
        return u"Chyba: stanici se nepodařilo otevřít"_s;
    case MPV_ERROR_UNKNOWN_FORMAT:
        return u"Chyba: neznámý formát vysílání"_s;
    case MPV_ERROR_NOTHING_TO_PLAY:
        return u"Chyba: vysílání neobsahuje zvuk"_s;
    case MPV_ERROR_AO_INIT_FAILED:
        return u"Chyba: zvukový výstup se nepodařilo otevřít"_s;
    case MPV_ERROR_UNSUPPORTED:
        return u"Chyba: nepodporovaný formát"_s;
    default:
        return u"Chyba: přehrávání selhalo (%1)"_s.arg(
            QString::fromUtf8(mpv_error_string(mpvError)));
    }
}

// Why a station's certificate was refused, from what ffmpeg logs about it (its TLS is GnuTLS
// on Debian), or empty.
QString certificateText(const mpv_event_log_message& message)
{
    if (qstrcmp(message.prefix, "ffmpeg") != 0)
        return {};
    const QByteArrayView text(message.text);
    if (text.contains("Peer certificate failed verification") ||
        text.contains("Unable to verify peer certificate"))
        return u"Chyba: certifikát serveru není důvěryhodný"_s;
    if (text.contains("The certificate's owner does not match hostname"))
        return u"Chyba: certifikát serveru nepatří této adrese"_s;
    return {};
}

QString refusedText(const QString& scheme)
{
    return u"Chyba: nepodporovaný typ adresy (%1)"_s.arg(scheme);
}

// Why an address cannot even be tried, or empty. A control character would end the C string
// mpv gets (NUL) or smuggle headers into the HTTP request (CR LF).
QString malformedText(const QString& url)
{
    if (url.size() > MaxAddressLength)
        return u"Chyba: adresa je příliš dlouhá"_s;
    for (const QChar c : url) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return u"Chyba: adresa obsahuje neplatné znaky"_s;
    }
    return {};
}

const QString ConnectingText = u"Připojování…"_s;
const QString ReconnectingText = u"Obnovování spojení…"_s;
const QString PlayingText = u"Přehrávání"_s;
const QString StoppedText = u"Zastaveno"_s;

// A title as the station sent it. mpv passes the bytes of an in-band title on unchanged; a
// station that sends them in Windows-1250, as Czech stations often do, is read so.
QString titleText(const char* bytes)
{
    const QByteArrayView raw(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(raw);
    if (utf8.hasError())
        text = Cp1250::decode(raw);
    // A line break or other control character has no place in one status line.
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    }
    return text.simplified();
}

// The stream title from mpv's metadata: the in-band ICY title first, then a tag title.
QString titleOf(const mpv_node& node)
{
    if (node.format != MPV_FORMAT_NODE_MAP)
        return {};
    QString title;
    for (int i = 0; i < node.u.list->num; ++i) {
        const mpv_node& value = node.u.list->values[i];
        if (value.format != MPV_FORMAT_STRING)
            continue;
        const QString key = QString::fromUtf8(node.u.list->keys[i]).toLower();
        if (key == u"icy-title"_s)
            return titleText(value.u.string);
        if (key == u"title"_s)
            title = titleText(value.u.string);
    }
    return title;
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
            apply(Player::Reconnecting, retryText());
        else
            openStream(true);
    });

    // mpv parses and prints numbers with the C library and refuses to start otherwise.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv) {
        m_status = u"Chyba: přehrávač se nepodařilo spustit"_s;
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
        m_status = u"Chyba: přehrávač se nepodařilo spustit"_s;
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

bool MpvPlayer::isRadioAddress(const QString& url, QString* scheme)
{
    if (!malformedText(url).isEmpty()) {
        if (scheme)
            *scheme = schemeOf(url).left(16);
        return false;
    }
    const QString found = schemeOf(url);
    if (found.isEmpty() || found == u"file"_s || isNetworkAddress(url))
        return true;
    if (scheme)
        *scheme = found;
    return false;
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
        apply(Player::Stopped, StoppedText);
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

void MpvPlayer::openStream(bool retry)
{
    m_retryTimer.stop();
    if (!retry) {
        m_retries = 0;
        m_hasPlayed = false;
    }
    stopStream();

    if (const QString malformed = malformedText(m_url); !malformed.isEmpty()) {
        apply(Player::Error, malformed);
        return;
    }
    QString scheme;
    if (!isRadioAddress(m_url, &scheme)) {
        apply(Player::Error, refusedText(scheme));
        return;
    }
    if (!m_mpv) {
        apply(Player::Error, u"Chyba: přehrávač se nepodařilo spustit"_s);
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
    if (!streams.isEmpty()) {
        loadStreams(streams);
    } else if (m_hasPlayed || m_retries > 0) {
        finishStream(false, MPV_ERROR_LOADING_FAILED);
    } else {
        stopStream();
        apply(Player::Error, u"Chyba: seznam stanic nenabízí žádné vysílání"_s);
    }
}

// Hands the streams to mpv as its playlist: it plays the first and moves on to the next when
// one fails. Entries of a playlist from the network are marked so that they open no files.
void MpvPlayer::loadStreams(const QStringList& streams)
{
    const bool remote = isNetworkAddress(m_url);
    m_entries.clear();
    m_remoteEntries.clear();
    m_lastEntry = -1;
    for (const QString& stream : streams) {
        const QByteArray address = mpvAddress(stream);
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
        apply(Player::Error, errorText(MPV_ERROR_LOADING_FAILED));
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
        finishStream(m_endedAtEof, m_endError);
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
            setStreamTitle(known ? titleOf(*static_cast<const mpv_node*>(property->data))
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
                endLater(false, MPV_ERROR_NOTHING_TO_PLAY);
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
        endLater(end->reason == MPV_END_FILE_REASON_EOF, end->error);
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

    QString scheme;
    bool allowed = isRadioAddress(address, &scheme);
    if (!malformedText(address).isEmpty())
        scheme = u"?"_s;
    // A playlist from the network may name only network streams, never files on this computer.
    if (allowed && m_remoteEntries.contains(m_startedEntry) && !isNetworkAddress(address)) {
        allowed = false;
        scheme = schemeOf(address).isEmpty() ? u"file"_s : schemeOf(address);
    }
    if (!allowed) {
        m_refusal = refusedText(scheme);
    } else if (m_entries.value(m_startedEntry) > MaxNesting) {
        allowed = false;
        m_refusal = u"Chyba: příliš mnoho vnořených seznamů stanic"_s;
    }
    if (!allowed) {
        // An empty name fails to open, which ends the entry with an error.
        mpv_set_property_string(m_mpv, "stream-open-filename", "");
    }
    mpv_hook_continue(m_mpv, hook->id);
}

void MpvPlayer::handleLogMessage(const mpv_event& event)
{
    const auto* message = static_cast<const mpv_event_log_message*>(event.data);
    if (!m_active || !m_certificateError.isEmpty())
        return;
    m_certificateError = certificateText(*message);
}

void MpvPlayer::endLater(bool endOfFile, int mpvError)
{
    m_ending = true;
    m_endedAtEof = endOfFile;
    m_endError = mpvError;
}

void MpvPlayer::finishStream(bool endOfFile, int mpvError)
{
    const QString refusal = m_refusal;
    const QString certificate = m_certificateError;
    const bool network = isNetworkAddress(m_url);
    stopStream();

    if (!refusal.isEmpty()) {
        apply(Player::Error, refusal);
    } else if (!certificate.isEmpty()) {
        // Trying again changes nothing about the certificate.
        apply(Player::Error, certificate);
    } else if (network && (m_hasPlayed || m_retries > 0)) {
        // A station that played is live: whatever ended it, it is awaited until it is back.
        retryLater();
    } else if (endOfFile && !network) {
        apply(Player::Stopped, StoppedText);
    } else if (endOfFile || m_hasPlayed) {
        apply(Player::Error, u"Chyba: spojení se stanicí bylo přerušeno"_s);
    } else {
        apply(Player::Error, errorText(mpvError));
    }
}

void MpvPlayer::retryLater()
{
    m_retryLeft = RetryPauses[std::min<std::size_t>(m_retries, std::size(RetryPauses) - 1)];
    ++m_retries;
    m_retryTimer.start();
    apply(Player::Reconnecting, retryText());
}

QString MpvPlayer::retryText() const
{
    return u"%1 (další pokus za %2 s)"_s.arg(ReconnectingText).arg(m_retryLeft);
}

void MpvPlayer::applyConnecting()
{
    if (m_retries > 0)
        apply(Player::Reconnecting, ReconnectingText);
    else
        apply(Player::Connecting, ConnectingText);
}

// Derives state and status from what mpv last reported about the stream being played.
void MpvPlayer::refreshPlayback()
{
    // Once the last entry has ended only finishStream() says what comes next.
    if (!m_active || m_ending)
        return;
    if (!m_loaded) {
        applyConnecting();
        return;
    }
    if (!m_coreIdle) {
        m_hasPlayed = true;
        m_retries = 0;
        // A playlist entry that failed before this one explains nothing any more.
        m_certificateError.clear();
        apply(Player::Playing, m_title.isEmpty() ? PlayingText : PlayingText + u": "_s + m_title);
    } else if (m_pausedForCache && m_bufferPercent >= 0) {
        apply(Player::Buffering, u"Načítání %1 %"_s.arg(m_bufferPercent));
    } else {
        apply(Player::Buffering, u"Načítání…"_s);
    }
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

void MpvPlayer::apply(int state, const QString& status)
{
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
