#include "app/PlaybackRules.h"

#include "app/StatusText.h"
#include "app/StreamAddress.h"
#include "base/Player.h"

#include <mpv/client.h>

#include <algorithm>
#include <iterator>

namespace PlaybackRules {

namespace {

QString errorText(int mpvError)
{
    switch (mpvError) {
    case MPV_ERROR_LOADING_FAILED:
        return StatusText::OpenFailed();
    case MPV_ERROR_UNKNOWN_FORMAT:
        return StatusText::UnknownFormat();
    case MPV_ERROR_NOTHING_TO_PLAY:
        return StatusText::NoAudio();
    case MPV_ERROR_AO_INIT_FAILED:
        return StatusText::AudioOutputFailed();
    case MPV_ERROR_UNSUPPORTED:
        return StatusText::UnsupportedFormat();
    default:
        return StatusText::PlaybackFailed(QString::fromUtf8(mpv_error_string(mpvError)));
    }
}

Outcome error(const QString& text)
{
    return {Next::Error, {Player::Error, text}};
}

} // namespace

Shown connecting(int retries)
{
    if (retries > 0)
        return {Player::Reconnecting, StatusText::Reconnecting()};
    return {Player::Connecting, StatusText::Connecting()};
}

Shown progress(const Progress& now)
{
    if (!now.loaded)
        return connecting(now.retries);
    if (!now.coreIdle)
        return {Player::Playing, StatusText::PlayingWithTitle(now.title)};
    if (now.pausedForCache && now.bufferPercent >= 0)
        return {Player::Buffering, StatusText::LoadingPercent(now.bufferPercent)};
    return {Player::Buffering, StatusText::Loading()};
}

Outcome afterEnd(const End& end)
{
    const bool failed = end.reason != EndReason::EndOfFile;
    // A station that played is live: whatever ended it, it is awaited until it is back, also
    // when its playlist names an entry we refuse beside the one that played.
    const bool live = end.network && (end.hasPlayed || end.retries > 0);
    if (!end.refusal.isEmpty() && !live)
        return error(end.refusal);
    // Trying again changes nothing about the certificate.
    if (!end.certificate.isEmpty())
        return error(end.certificate);
    if (live) {
        const int pause = retryPause(end.retries);
        return {Next::Retry, {Player::Reconnecting, StatusText::ReconnectingIn(pause)}, pause};
    }
    if (end.reason == EndReason::NothingListed && !end.hasPlayed)
        return error(StatusText::PlaylistEmpty());
    if (!failed && !end.network)
        return {Next::Stop, {Player::Stopped, StatusText::Stopped()}};
    if (!failed || end.hasPlayed)
        return error(StatusText::ConnectionLost());
    return error(errorText(end.mpvError));
}

int retryPause(int retries)
{
    return RetryPauses[std::clamp(retries, 0, int(std::size(RetryPauses)) - 1)];
}

QString entryRefusedText(const QString& entry, bool networkOnly, int depth)
{
    if (QString refused = StreamAddress::entryRefusedText(entry, networkOnly); !refused.isEmpty())
        return refused;
    return depth > MaxNesting ? StatusText::PlaylistTooDeep() : QString();
}

QString certificateText(QByteArrayView logPrefix, QByteArrayView line)
{
    if (logPrefix != "ffmpeg")
        return {};
    if (line.contains("Peer certificate failed verification") ||
        line.contains("Unable to verify peer certificate"))
        return StatusText::CertificateUntrusted();
    if (line.contains("The certificate's owner does not match hostname"))
        return StatusText::CertificateWrongHost();
    return {};
}

} // namespace PlaybackRules
