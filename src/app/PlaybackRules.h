#pragma once

#include <QByteArrayView>
#include <QString>

// What the player makes of what happens to a stream: what it shows while the stream opens and
// plays, and what follows when it ends (another attempt after a pause, an error, or a stop).
// Plain values in, plain values out; MpvPlayer feeds them from mpv's events and carries out the
// result.
namespace PlaybackRules {

// Pauses before reopening a station that broke off, in seconds; the last one repeats for as long
// as the user lets the station play.
inline constexpr int RetryPauses[] = {1, 2, 4, 8, 16, 30};

// Playlists within playlists beyond this depth are refused; a playlist that names itself would
// otherwise open itself for ever.
inline constexpr int MaxNesting = 3;

// What the player shows: its state (a Player::PlayState) and its status line.
struct Shown
{
    int state = 0;
    QString status = {};
    bool operator==(const Shown&) const = default;
};

// What is known of the stream being opened or played.
struct Progress
{
    bool loaded = false;  // mpv has opened it (else it is still connecting)
    bool coreIdle = true; // no sound comes out
    bool pausedForCache = false;
    int bufferPercent = -1; // how far the cache has filled, -1 when unknown
    int retries = 0;        // attempts to reopen the station since it last played
    QString title = {};
};

// Connecting, or reconnecting while a station that broke off is being reopened.
Shown connecting(int retries);
Shown progress(const Progress& now);

enum class EndReason
{
    EndOfFile,     // the last entry ended at its end
    Failed,        // the last entry failed with `mpvError`
    NothingListed, // the station's ASX or XSPF playlist named no stream
};

// How the stream's last entry ended and what came before.
struct End
{
    bool network = false;   // the station's own address leads to the network
    bool hasPlayed = false; // it played since it was chosen
    int retries = 0;
    EndReason reason = EndReason::Failed;
    int mpvError = 0;         // an mpv_error
    QString refusal = {};     // why our check refused an entry, if it did
    QString certificate = {}; // why the station's certificate was refused, if it was
};

enum class Next
{
    Retry, // open the station again after `pause` seconds
    Error,
    Stop,
};

struct Outcome
{
    Next next = Next::Error;
    Shown shown;
    int pause = 0;
    bool operator==(const Outcome&) const = default;
};

Outcome afterEnd(const End& end);

// The pause before attempt number `retries` + 1.
int retryPause(int retries);

// Why an entry, `depth` playlists deep, may not be opened, or empty.
QString entryRefusedText(const QString& entry, bool networkOnly, int depth);

// Why a station's certificate was refused, from a line of ffmpeg's log (its TLS is GnuTLS on
// Debian), or empty.
QString certificateText(QByteArrayView logPrefix, QByteArrayView line);

} // namespace PlaybackRules
