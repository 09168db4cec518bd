// The media service over a private session bus; a second connection plays the desktop's panel.
#include "FakePlayer.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MprisService.h"
#include "app/frmMain.h"
#include "controls/ucSlider.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString PlayerInterface = u"org.mpris.MediaPlayer2.Player"_s;
const QString RootInterface = u"org.mpris.MediaPlayer2"_s;
const QString PropertiesInterface = u"org.freedesktop.DBus.Properties"_s;

// Nested maps arrive as D-Bus arguments; plain values as they are.
QVariantMap asMap(const QVariant& value)
{
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

} // namespace

// Keeps the latest value of each Player property the panel hears announced.
class ChangeRecorder : public QObject
{
    Q_OBJECT

public:
    QVariantMap latest;
    QVariant last(const QString& name) const { return latest.value(name); }
    explicit ChangeRecorder(QDBusConnection& panel)
    {
        QVERIFY(panel.connect(MprisService::BusName(),
                              QString::fromLatin1(MprisService::ObjectPath), PropertiesInterface,
                              u"PropertiesChanged"_s, this,
                              SLOT(PropertiesChanged(QString, QVariantMap, QStringList))));
    }

public Q_SLOTS:
    void PropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface == PlayerInterface)
            latest.insert(changed);
    }
};

class tst_MprisService : public QObject
{
    Q_OBJECT

private:
    QDBusConnection m_panel{u"none"_s};

    // Calls without blocking: the service answers on this very thread.
    QDBusMessage call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            MprisService::BusName(), QString::fromLatin1(MprisService::ObjectPath), interface,
            method);
        message.setArguments(arguments);
        QDBusPendingCall pending = m_panel.asyncCall(message);
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }))
            return {};
        return pending.reply();
    }
    QVariant property(const QString& interface, const QString& name)
    {
        const QDBusMessage reply = call(PropertiesInterface, u"Get"_s, {interface, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return reply.arguments().first().value<QDBusVariant>().variant();
    }
    QVariantMap metadata() { return asMap(property(PlayerInterface, u"Metadata"_s)); }
    QString track() { return metadata().value(u"mpris:trackid"_s).value<QDBusObjectPath>().path(); }
    void setVolume(double volume)
    {
        const QDBusMessage reply =
            call(PropertiesInterface, u"Set"_s,
                 {PlayerInterface, u"Volume"_s, QVariant::fromValue(QDBusVariant(volume))});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    }
    // The main window with one listed station and a fake player.
    struct Window
    {
        TestFolder folder;
        ScriptedPrompts prompts;
        FakePlayer* player = nullptr;
        std::unique_ptr<frmMain> form;
        Window()
        {
            folder.write(u"czech.ksl"_s, StationBytes("Alfa", "http://a") + "\r\n");
            auto owned = std::make_unique<FakePlayer>();
            player = owned.get();
            form = std::make_unique<frmMain>(
                frmMainServices{folder.settings(), prompts, folder.path(), std::move(owned)});
            form->show();
            player->setURL(u"http://a"_s);
            player->raiseState(Player::Playing);
        }
    };
    bool nameOwned() const
    {
        return m_panel.interface()->isServiceRegistered(MprisService::BusName()).value();
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QDBusConnection::sessionBus().isConnected())
            m_panel = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"panel"_s);
    }
    void init()
    {
        const bool busTest = QByteArray(QTest::currentTestFunction()) != "runsWithoutSessionBus";
        if (busTest && !m_panel.isConnected())
            QSKIP("needs a session bus: run under dbus-run-session");
    }

    // Run on its own with no bus to be found (see the CMake file).
    void runsWithoutSessionBus()
    {
        if (QDBusConnection::sessionBus().isConnected())
            QSKIP("a session bus is present");
        Window window;
        QCOMPARE(window.form->windowTitle(), u"[Alfa] - skylistener"_s);
        window.form->ucSlider1()->setValue(40);
        QCOMPARE(window.player->volumeValue, 40);
        QVERIFY(window.form->close());
    }

    void nowPlayingTitleComesFromTheStatus()
    {
        const std::pair<QString, QString> cases[] = {
            {u"Přehrávání: Artist – Song"_s, u"Artist – Song"_s},
            {u"Přehrávání:   Song: Live  "_s, u"Song: Live"_s},
            {u"Přehrávání"_s, {}},
            {u"Přehrávání: "_s, {}},
            {u"Chyba: Přehrávání: x"_s, {}}};
        for (const auto& [status, title] : cases)
            QCOMPARE(MprisService::NowPlayingTitle(status), title);
    }

    void statusAndMetadataFollowThePlayer()
    {
        FakePlayer player;
        MprisWindow window;
        window.stationName = [&] { return player.url == u"http://a"_s ? u"Alfa"_s : QString(); };
        MprisService service(player, std::move(window), u"skylistener"_s);
        ChangeRecorder recorder(m_panel);
        // Nothing chosen yet: nothing to play, and no track.
        QCOMPARE(property(PlayerInterface, u"PlaybackStatus"_s).toString(), u"Stopped"_s);
        QCOMPARE(property(PlayerInterface, u"CanPlay"_s), QVariant(false));
        QCOMPARE(track(), u"/org/mpris/MediaPlayer2/TrackList/NoTrack"_s);

        // A listed station's name stands in for the title until the stream sends one and once
        // it stops; a stream in no list shows its address and has no album. Each stream and
        // song is a track of its own; the service stays on the bus when stopped.
        const struct
        {
            QString url;
            Player::PlayState state;
            QString status, playback, title, album;
        } steps[] = {
            {u"http://a"_s, Player::Playing, {}, u"Playing"_s, u"Alfa"_s, u"Alfa"_s},
            {u"http://a"_s, Player::Playing, u"Přehrávání: Artist – Song"_s, u"Playing"_s,
             u"Artist – Song"_s, u"Alfa"_s},
            {u"http://a"_s, Player::Stopped, u"Zastaveno"_s, u"Stopped"_s, u"Alfa"_s, u"Alfa"_s},
            {u"http://elsewhere"_s,
             Player::Playing,
             u"Zastaveno"_s,
             u"Playing"_s,
             u"http://elsewhere"_s,
             {}},
        };
        QStringList tracks;
        for (const auto& step : steps) {
            player.setURL(step.url);
            player.raiseState(step.state);
            player.raiseStatus(step.status);
            const QVariantMap meta = metadata();
            QCOMPARE(property(PlayerInterface, u"PlaybackStatus"_s).toString(), step.playback);
            QCOMPARE(meta.value(u"xesam:title"_s).toString(), step.title);
            QCOMPARE(meta.value(u"xesam:album"_s).toString(), step.album);
            QCOMPARE(meta.contains(u"xesam:album"_s), !step.album.isEmpty());
            QTRY_COMPARE(recorder.last(u"PlaybackStatus"_s).toString(), step.playback);
            QTRY_COMPARE(asMap(recorder.last(u"Metadata"_s)).value(u"xesam:title"_s).toString(),
                         step.title);
            QVERIFY(nameOwned());
            tracks.append(track());
        }
        QCOMPARE(property(PlayerInterface, u"CanPause"_s), QVariant(true));
        QVERIFY(!tracks.contains(u"/org/mpris/MediaPlayer2/TrackList/NoTrack"_s));
        QCOMPARE(tracks.at(2), tracks.at(0));
        QCOMPARE(QSet<QString>(tracks.begin(), tracks.end()).size(), 3);
    }

    void transportCommandsReachThePlayer()
    {
        FakePlayer player;
        MprisService service(player, {}, u"skylistener"_s);
        player.setURL(u"http://a"_s);
        player.calls.clear();

        // PlayPause toggles; a radio cannot pause, so Pause stops.
        const struct
        {
            Player::PlayState state;
            QString method;
            QString expected;
        } steps[] = {{Player::Stopped, u"PlayPause"_s, u"play"_s},
                     {Player::Playing, u"PlayPause"_s, u"stop"_s},
                     {Player::Stopped, u"PlayPause"_s, u"play"_s},
                     {Player::Playing, u"Pause"_s, u"stop"_s},
                     {Player::Playing, u"Play"_s, u"play"_s},
                     {Player::Playing, u"Stop"_s, u"stop"_s}};
        for (const auto& step : steps) {
            if (player.playState() != step.state)
                player.raiseState(step.state);
            player.calls.clear();
            call(PlayerInterface, step.method);
            QCOMPARE(player.calls, QStringList{step.expected});
        }

        // Out-of-range volumes are held to the range; without a window the player takes them.
        setVolume(1.7);
        QCOMPARE(player.volumeValue, 100);
        setVolume(-0.2);
        QCOMPARE(player.volumeValue, 0);
    }

    void theMainWindowIsOnTheBus()
    {
        Window w;
        auto& window = w.form;
        QVERIFY(nameOwned());
        ChangeRecorder recorder(m_panel);
        // The station name comes from the window's list.
        QCOMPARE(metadata().value(u"xesam:album"_s).toString(), u"Alfa"_s);

        // The volume from the bus moves the slider, and so the player and panel 3.
        setVolume(0.3);
        QCOMPARE(window->ucSlider1()->Value(), 30);
        QCOMPARE(w.player->volumeValue, 30);
        QCOMPARE(window->StatusPanel(3)->text(), u"Hlasitost 30%"_s);
        // The slider's own moves reach the bus.
        window->ucSlider1()->setValue(75);
        QCOMPARE(property(PlayerInterface, u"Volume"_s).toDouble(), 0.75);
        QTRY_COMPARE(recorder.last(u"Volume"_s).toDouble(), 0.75);

        // Raise brings a minimised window back.
        window->showMinimized();
        QTRY_VERIFY(window->isMinimized());
        call(RootInterface, u"Raise"_s);
        QTRY_VERIFY(!window->isMinimized());
        QVERIFY(window->isVisible());

        // Quit runs the exit sequence (storing the volume) and ends the running program even
        // from the tray; a guard ends a loop that would not end by itself.
        window->hide();
        QSignalSpy unloaded(window.get(), &frmMain::Unloaded);
        QDBusPendingCall pending{QDBusPendingCall::fromError(QDBusError())};
        QTimer::singleShot(0, this, [&] {
            pending = m_panel.asyncCall(QDBusMessage::createMethodCall(
                MprisService::BusName(), QString::fromLatin1(MprisService::ObjectPath),
                RootInterface, u"Quit"_s));
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, &QCoreApplication::quit);
        guard.start(10000);
        QApplication::exec();
        QCOMPARE(unloaded.size(), 1);
        QVERIFY(guard.isActive());
        QVERIFY(!window->isVisible());
        QCOMPARE(GetSetting(*w.folder.reopenSettings(), SettingsKeys::Volume, QString()), u"75"_s);

        window.reset();
        QVERIFY(!nameOwned());
    }
};

QTEST_MAIN(tst_MprisService)
#include "tst_MprisService.moc"
