// The media service over a private session bus; a second connection plays the desktop's panel.
#include "FakePlayer.h"
#include "ScriptedPrompts.h"
#include "TestFolder.h"
#include "app/MprisService.h"
#include "app/frmMain.h"
#include "controls/ucSlider.h"

#include <QtDBus>
#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

namespace {

const QString PlayerInterface = u"org.mpris.MediaPlayer2.Player"_s;
const QString Properties = u"org.freedesktop.DBus.Properties"_s;
const QString Path = QString::fromLatin1(MprisService::ObjectPath);
const QString NoTrack = u"/org/mpris/MediaPlayer2/TrackList/NoTrack"_s;

// The main window with one listed station and a fake player.
struct Window
{
    TestFolder folder;
    ScriptedPrompts prompts;
    FakePlayer* player = new FakePlayer;
    std::unique_ptr<frmMain> form;
    Window()
    {
        folder.write(u"czech.ksl"_s, StationBytes("Alfa", "http://a") + "\r\n");
        form = std::make_unique<frmMain>(frmMainServices{folder.settings(), prompts, folder.path(),
                                                         std::unique_ptr<FakePlayer>(player)});
        form->show();
    }
};

} // namespace

class tst_MprisService : public QObject
{
    Q_OBJECT

    QDBusConnection m_panel{u"none"_s};
    QVariantMap m_announced; // the Player properties last announced, with the metadata's keys

    // Calls without blocking: the service answers on this very thread.
    QDBusMessage call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {})
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(MprisService::BusName(), Path, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = m_panel.asyncCall(message);
        (void)QTest::qWaitFor([&] { return pending.isFinished(); });
        return pending.reply();
    }
    QVariant property(const QString& name, const QString& interface = PlayerInterface)
    {
        const QDBusMessage reply = call(Properties, u"Get"_s, {interface, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    QVariantMap metadata() { return qdbus_cast<QVariantMap>(property(u"Metadata"_s)); }

public Q_SLOTS:
    void PropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface != PlayerInterface)
            return;
        m_announced.insert(changed);
        m_announced.insert(qdbus_cast<QVariantMap>(changed.value(u"Metadata"_s)));
    }

private Q_SLOTS:
    void initTestCase() // the tests on the bus run under dbus-run-session (see the CMake file)
    {
        if (!QDBusConnection::sessionBus().isConnected())
            return;
        m_panel = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"panel"_s);
        QVERIFY(m_panel.connect(MprisService::BusName(), Path, Properties, u"PropertiesChanged"_s,
                                this, SLOT(PropertiesChanged(QString, QVariantMap, QStringList))));
    }

    // Run on its own with no bus to be found (see the CMake file).
    void runsWithoutSessionBus()
    {
        if (QDBusConnection::sessionBus().isConnected())
            QSKIP("a session bus is present");
        Window window;
        window.player->setURL(u"http://a"_s);
        window.player->raiseState(Player::Playing);
        QCOMPARE(window.form->windowTitle(), u"[Alfa] - skylistener"_s);
        window.form->ucSlider1()->setValue(40);
        QCOMPARE(window.player->volumeValue, 40);
        QVERIFY(window.form->close());
    }

    void theMainWindowIsOnTheBus()
    {
        Window w;
        FakePlayer& player = *w.player;
        // Nothing chosen yet: nothing to play, and no track.
        QCOMPARE(property(u"PlaybackStatus"_s).toString(), u"Stopped"_s);
        QCOMPARE(property(u"CanPlay"_s), QVariant(false));
        QCOMPARE(property(u"CanQuit"_s, u"org.mpris.MediaPlayer2"_s), QVariant(true));
        QCOMPARE(metadata().value(u"mpris:trackid"_s).value<QDBusObjectPath>().path(), NoTrack);

        // The title is the stream's while it plays, else the listed station's name, or the address
        // of a stream in no list, which has no album. Each stream and song is a track of its own.
        const std::tuple<QString, Player::PlayState, QString, QString, QString> steps[] = {
            {u"http://a"_s, Player::Playing, {}, u"Alfa"_s, u"Alfa"_s},
            {u"http://b"_s, Player::Playing, {}, u"http://b"_s, {}},
            {u"http://a"_s, Player::Playing, u"A – B"_s, u"A – B"_s, u"Alfa"_s},
            {u"http://a"_s, Player::Playing, u"C: Live"_s, u"C: Live"_s, u"Alfa"_s},
            {u"http://a"_s, Player::Playing, {}, u"Alfa"_s, u"Alfa"_s},
            {u"http://a"_s, Player::Stopped, u"x"_s, u"Alfa"_s, u"Alfa"_s}};
        QStringList tracks;
        for (const auto& [url, state, streamTitle, title, album] : steps) {
            player.setURL(url);
            player.raiseState(state);
            if (streamTitle != player.title) // each change raised once, as the player does
                player.raiseTitle(streamTitle);
            const QVariantMap meta = metadata();
            QCOMPARE(meta.value(u"xesam:title"_s).toString(), title);
            QCOMPARE(meta.value(u"xesam:album"_s), album.isEmpty() ? QVariant() : QVariant(album));
            QTRY_COMPARE(m_announced.value(u"PlaybackStatus"_s).toString(),
                         state == Player::Playing ? u"Playing"_s : u"Stopped"_s);
            QTRY_COMPARE(m_announced.value(u"xesam:title"_s).toString(), title);
            QTRY_COMPARE(m_announced.value(u"xesam:url"_s).toString(), url);
            tracks.append(meta.value(u"mpris:trackid"_s).value<QDBusObjectPath>().path());
        }
        QCOMPARE(property(u"CanPause"_s), QVariant(true));
        QVERIFY(!tracks.contains(NoTrack));
        QCOMPARE(tracks.at(4), tracks.at(0));
        QCOMPARE(QSet<QString>(tracks.begin(), tracks.end()).size(), 4);

        // PlayPause toggles; a radio cannot pause, so Pause stops.
        const std::tuple<Player::PlayState, QString, QString> commands[] = {
            {Player::Stopped, u"PlayPause"_s, u"play"_s},
            {Player::Playing, u"PlayPause"_s, u"stop"_s},
            {Player::Playing, u"Pause"_s, u"stop"_s},
            {Player::Playing, u"Play"_s, u"play"_s},
            {Player::Playing, u"Stop"_s, u"stop"_s}};
        for (const auto& [state, method, expected] : commands) {
            player.raiseState(state);
            player.calls.clear();
            call(PlayerInterface, method);
            QCOMPARE(player.calls, QStringList{expected});
        }

        // The bus's volume, held to the range, moves slider and player; the slider's is announced.
        player.volumesAsked.clear();
        for (const double volume : {1.7, -0.2, 0.3})
            call(Properties, u"Set"_s,
                 {PlayerInterface, u"Volume"_s, QVariant::fromValue(QDBusVariant(volume))});
        QCOMPARE(player.volumesAsked, (QList{100, 0, 30}));
        QCOMPARE(w.form->ucSlider1()->Value(), 30);
        w.form->ucSlider1()->setValue(75);
        QCOMPARE(property(u"Volume"_s).toDouble(), 0.75);
        QTRY_COMPARE(m_announced.value(u"Volume"_s).toDouble(), 0.75);

        // Raise brings a minimised window back.
        w.form->showMinimized();
        QTRY_VERIFY(w.form->isMinimized());
        call(u"org.mpris.MediaPlayer2"_s, u"Raise"_s);
        QTRY_VERIFY(!w.form->isMinimized() && w.form->isVisible());
    }
};

QTEST_MAIN(tst_MprisService)
#include "tst_MprisService.moc"
