#include "app/MprisService.h"

#include "base/Player.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString PlayerInterface = u"org.mpris.MediaPlayer2.Player"_s;
const QString NoTrack = u"/org/mpris/MediaPlayer2/TrackList/NoTrack"_s;

QString objectPath()
{
    return QString::fromLatin1(MprisService::ObjectPath);
}

} // namespace

// org.mpris.MediaPlayer2: who the player is, and the window's raise and exit.
class MprisRootAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

public:
    explicit MprisRootAdaptor(MprisService* service)
        : QDBusAbstractAdaptor(service)
        , m_service(*service)
    {}

    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return u"skylistener"_s; }
    QString DesktopEntry() const { return m_service.desktopEntry(); }
    QStringList SupportedUriSchemes() const { return {}; }
    QStringList SupportedMimeTypes() const { return {}; }

public Q_SLOTS:
    void Raise() { m_service.Raise(); }
    void Quit() { m_service.Quit(); }

private:
    MprisService& m_service;
};

// org.mpris.MediaPlayer2.Player: play state, now playing, volume and the transport commands.
// A live stream has no position, no rate but 1 and no next or previous track.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ No)
    Q_PROPERTY(bool CanGoPrevious READ No)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPlay)
    Q_PROPERTY(bool CanSeek READ No)
    Q_PROPERTY(bool CanControl READ Yes)

public:
    explicit MprisPlayerAdaptor(MprisService* service)
        : QDBusAbstractAdaptor(service)
        , m_service(*service)
    {}

    QString PlaybackStatus() const { return m_service.PlaybackStatus(); }
    double Rate() const { return 1.0; }
    QVariantMap Metadata() const { return m_service.Metadata(); }
    double Volume() const { return m_service.Volume(); }
    void setVolume(double volume) { m_service.setVolume(volume); }
    qlonglong Position() const { return 0; }
    bool CanPlay() const { return m_service.CanPlay(); }
    bool No() const { return false; }
    bool Yes() const { return true; }

public Q_SLOTS:
    void Play() { m_service.Play(); }
    void Pause() { m_service.Stop(); }
    void PlayPause() { m_service.PlayPause(); }
    void Stop() { m_service.Stop(); }
    void Next() {}
    void Previous() {}
    void Seek(qlonglong) {}
    void SetPosition(const QDBusObjectPath&, qlonglong) {}
    void OpenUri(const QString&) {}

Q_SIGNALS:
    void Seeked(qlonglong Position);

private:
    MprisService& m_service;
};

QString MprisService::BusName()
{
    return u"org.mpris.MediaPlayer2.skylistener"_s;
}

MprisService::MprisService(Player& player, MprisWindow window, const QString& desktopEntry,
                           QObject* parent)
    : QObject(parent)
    , m_player(player)
    , m_window(std::move(window))
    , m_desktopEntry(desktopEntry)
{
    m_announced = snapshot();
    connect(&m_player, &Player::PlayStateChange, this, &MprisService::Refresh);
    connect(&m_player, &Player::StatusChange, this, &MprisService::Refresh);
    connect(&m_player, &Player::StreamTitleChange, this, &MprisService::Refresh);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    if (!bus.registerObject(objectPath(), this, QDBusConnection::ExportAdaptors))
        return;
    // A second running copy is told apart by its process id, as MPRIS asks.
    QString name = BusName();
    if (!bus.registerService(name)) {
        name += u".instance%1"_s.arg(QCoreApplication::applicationPid());
        if (!bus.registerService(name)) {
            bus.unregisterObject(objectPath());
            return;
        }
    }
    m_serviceName = name;
}

MprisService::~MprisService()
{
    if (!isRegistered())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(m_serviceName);
    bus.unregisterObject(objectPath());
}

MprisService::Snapshot MprisService::snapshot() const
{
    Snapshot now;
    now.url = m_player.URL();
    now.playbackStatus = m_player.playState() == Player::Playing ? u"Playing"_s : u"Stopped"_s;
    // The song is news only while it is heard.
    now.title = m_player.playState() == Player::Playing ? m_player.streamTitle() : QString();
    now.station = m_window.stationName ? m_window.stationName() : QString();
    now.volume = Volume();
    now.canPlay = !now.url.isEmpty();
    return now;
}

QString MprisService::PlaybackStatus() const
{
    return m_player.playState() == Player::Playing ? u"Playing"_s : u"Stopped"_s;
}

QVariantMap MprisService::Metadata() const
{
    const Snapshot now = snapshot();
    if (now.url.isEmpty())
        return {{u"mpris:trackid"_s, QVariant::fromValue(QDBusObjectPath(NoTrack))}};

    // Each stream and song is a track of its own; the hash only has to tell them apart.
    const size_t track = qHash(now.url + u'\n' + now.title, size_t(0));
    QVariantMap metadata{
        {u"mpris:trackid"_s,
         QVariant::fromValue(QDBusObjectPath(u"/org/skylistener/track/t%1"_s.arg(track, 0, 16)))},
        {u"xesam:url"_s, now.url},
    };
    // Until the stream sends a title the station stands in for it; a stream in no list shows
    // its address.
    QString title = now.title;
    if (title.isEmpty())
        title = now.station.isEmpty() ? now.url : now.station;
    metadata.insert(u"xesam:title"_s, title);
    if (!now.station.isEmpty())
        metadata.insert(u"xesam:album"_s, now.station);
    return metadata;
}

double MprisService::Volume() const
{
    const int volume = m_window.volume ? m_window.volume() : m_player.volume();
    return std::clamp(volume, 0, 100) / 100.0;
}

bool MprisService::CanPlay() const
{
    return !m_player.URL().isEmpty();
}

void MprisService::Play()
{
    m_player.play();
}

void MprisService::Stop()
{
    m_player.stop();
}

void MprisService::PlayPause()
{
    if (m_player.playState() == Player::Playing)
        m_player.stop();
    else
        m_player.play();
}

void MprisService::setVolume(double volume)
{
    if (!std::isfinite(volume))
        return;
    const int percent = int(std::lround(std::clamp(volume, 0.0, 1.0) * 100));
    if (m_window.setVolume)
        m_window.setVolume(percent);
    else
        m_player.setVolume(percent);
    Refresh();
}

void MprisService::Raise()
{
    if (m_window.raise)
        m_window.raise();
}

void MprisService::Quit()
{
    if (m_window.quit)
        m_window.quit();
}

void MprisService::Refresh()
{
    const Snapshot now = snapshot();
    QVariantMap changed;
    if (now.playbackStatus != m_announced.playbackStatus)
        changed.insert(u"PlaybackStatus"_s, now.playbackStatus);
    if (now.url != m_announced.url || now.title != m_announced.title ||
        now.station != m_announced.station)
        changed.insert(u"Metadata"_s, Metadata());
    if (now.volume != m_announced.volume)
        changed.insert(u"Volume"_s, now.volume);
    if (now.canPlay != m_announced.canPlay) {
        changed.insert(u"CanPlay"_s, now.canPlay);
        changed.insert(u"CanPause"_s, now.canPlay);
    }
    m_announced = now;
    if (!changed.isEmpty())
        announce(PlayerInterface, changed);
}

void MprisService::announce(const QString& interface, const QVariantMap& changed)
{
    if (!isRegistered())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        objectPath(), u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s);
    signal << interface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

#include "MprisService.moc"
