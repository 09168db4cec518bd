#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

class Player;

// What the media service needs from the main window: the name of the listed station being
// played, the volume as the slider shows it, and the window's own raise and exit sequences.
// Every callback may be left empty; the service then does without it.
struct MprisWindow
{
    std::function<QString()> stationName;
    std::function<int()> volume;
    std::function<void(int volume)> setVolume;
    std::function<void()> raise;
    std::function<void()> quit;
};

// The player as the desktop sees it: media keys, the media panels of desktop shells and
// command-line tools reach the program through the session bus under
// org.mpris.MediaPlayer2.skylistener. The service mirrors the player's play state, the stream's
// now-playing text and the volume, and turns the desktop's requests into player calls and
// window callbacks. A radio cannot pause, so Pause stops. Without a session bus it stays
// unregistered and the program runs as before.
class MprisService : public QObject
{
    Q_OBJECT

public:
    // The object path and the well-known name every MPRIS player uses.
    static constexpr const char* ObjectPath = "/org/mpris/MediaPlayer2";
    static QString BusName();

    MprisService(Player& player, MprisWindow window, const QString& desktopEntry,
                 QObject* parent = nullptr);
    ~MprisService() override;

    // Whether the service owns its bus name; a second running copy takes a name of its own.
    bool isRegistered() const { return !m_serviceName.isEmpty(); }
    QString serviceName() const { return m_serviceName; }
    QString desktopEntry() const { return m_desktopEntry; }

    // The state the desktop reads.
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    double Volume() const;
    bool CanPlay() const;

    // The desktop's requests.
    void Play();
    void Stop();
    void PlayPause();
    void setVolume(double volume);
    void Raise();
    void Quit();

    // Reads the state again and announces to the bus whatever changed since the last time; the
    // window calls it when the volume slider moves.
    void Refresh();

private:
    struct Snapshot
    {
        QString playbackStatus;
        QString url;
        QString title;
        QString station;
        double volume = 0;
        bool canPlay = false;
    };
    Snapshot snapshot() const;
    void announce(const QString& interface, const QVariantMap& changed);

    Player& m_player;
    MprisWindow m_window;
    QString m_desktopEntry;
    QString m_serviceName;
    Snapshot m_announced;
};
