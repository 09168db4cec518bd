// What the player shows and does as a stream opens, plays and ends; which addresses reach mpv;
// how a station's title reads. No mpv and no server: plain values in and out.
#include "app/PlaybackRules.h"
#include "app/StreamAddress.h"
#include "app/StreamTitle.h"
#include "base/Player.h"
#include "stations/Cp1250.h"

#include <QtTest>

#include <mpv/client.h>

using namespace Qt::StringLiterals;
using namespace PlaybackRules;

class tst_playbackrules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void whatFollowsTheEndAndWhatIsShown()
    {
        const QString refused = u"Chyba: nepodporovaný typ adresy (file)"_s;
        const QString untrusted = u"Chyba: certifikát serveru není důvěryhodný"_s;
        const auto retry = [](int pause) {
            return Outcome{
                Next::Retry,
                {Player::Reconnecting, u"Obnovování spojení… (další pokus za %1 s)"_s.arg(pause)},
                pause};
        };
        const auto error = [](const QString& text) {
            return Outcome{Next::Error, {Player::Error, text}};
        };
        const Outcome stopped{Next::Stop, {Player::Stopped, u"Zastaveno"_s}};
        const std::pair<End, Outcome> ends[] = {
            // A station that played is awaited with growing pauses, whatever ended it.
            {{.network = true, .hasPlayed = true, .reason = EndReason::EndOfFile}, retry(1)},
            {{.network = true, .retries = 1, .mpvError = MPV_ERROR_LOADING_FAILED}, retry(2)},
            {{.network = true, .retries = 4, .reason = EndReason::NothingListed}, retry(16)},
            {{.network = true, .retries = 40}, retry(30)},
            // An entry we refuse beside the one that played stops no retry; a certificate does.
            {{.network = true, .retries = 1, .refusal = refused}, retry(2)},
            {{.network = true, .retries = 2, .certificate = untrusted}, error(untrusted)},
            {{.network = true, .refusal = refused, .certificate = untrusted}, error(refused)},
            // A station that never played ends with its error, at once.
            {{.network = true, .reason = EndReason::EndOfFile},
             error(u"Chyba: spojení se stanicí bylo přerušeno"_s)},
            {{.network = true, .reason = EndReason::NothingListed},
             error(u"Chyba: seznam stanic nenabízí žádné vysílání"_s)},
            {{.network = true, .mpvError = MPV_ERROR_LOADING_FAILED},
             error(u"Chyba: stanici se nepodařilo otevřít"_s)},
            {{.mpvError = MPV_ERROR_UNKNOWN_FORMAT}, error(u"Chyba: neznámý formát vysílání"_s)},
            {{.mpvError = MPV_ERROR_NOTHING_TO_PLAY}, error(u"Chyba: vysílání neobsahuje zvuk"_s)},
            {{.mpvError = MPV_ERROR_AO_INIT_FAILED},
             error(u"Chyba: zvukový výstup se nepodařilo otevřít"_s)},
            {{.mpvError = MPV_ERROR_UNSUPPORTED}, error(u"Chyba: nepodporovaný formát"_s)},
            {{.mpvError = MPV_ERROR_GENERIC},
             error(u"Chyba: přehrávání selhalo (%1)"_s.arg(
                 QString::fromUtf8(mpv_error_string(MPV_ERROR_GENERIC))))},
            // A file or a local playlist plays to its end and stops; one that breaks is an error.
            {{.reason = EndReason::EndOfFile}, stopped},
            {{.hasPlayed = true, .reason = EndReason::NothingListed},
             error(u"Chyba: spojení se stanicí bylo přerušeno"_s)},
        };
        for (const auto& [end, outcome] : ends) {
            const Outcome got = afterEnd(end);
            QVERIFY2(got == outcome, qPrintable(got.shown.status));
        }

        const std::pair<Progress, Shown> cases[] = {
            {{}, {Player::Connecting, u"Připojování…"_s}},
            {{.coreIdle = false, .retries = 2}, {Player::Reconnecting, u"Obnovování spojení…"_s}},
            {{.loaded = true, .coreIdle = false, .retries = 3}, {Player::Playing, u"Přehrávání"_s}},
            {{.loaded = true, .coreIdle = false, .title = u"A – B"_s},
             {Player::Playing, u"Přehrávání: A – B"_s}},
            {{.loaded = true, .pausedForCache = true, .bufferPercent = 0},
             {Player::Buffering, u"Načítání 0 %"_s}},
            {{.loaded = true, .pausedForCache = true}, {Player::Buffering, u"Načítání…"_s}},
            {{.loaded = true, .bufferPercent = 40}, {Player::Buffering, u"Načítání…"_s}},
        };
        for (const auto& [now, shown] : cases)
            QVERIFY2(progress(now) == shown, qPrintable(progress(now).status));
    }

    void addressesTitlesAndCertificates()
    {
        const struct
        {
            QString address;
            QString refused, entry, networkEntry; // the station's, a local and a network entry's
        } addresses[] = {
            {u"http://a/b.mp3"_s, {}, {}, {}},
            {u"RTSPS://a"_s, {}, {}, {}},
            {u"/tmp/a.mp3"_s, {}, {}, u"(file)"_s},
            {u"--script=x.lua"_s, {}, {}, u"(file)"_s},
            {u"C:\\a.mp3"_s, {}, {}, u"(file)"_s},
            {u"file:///tmp/a.mp3"_s, {}, {}, u"(file)"_s},
            {u"Lavfi://sine"_s, u"(lavfi)"_s, u"(lavfi)"_s, u"(lavfi)"_s},
            {u"av://lavfi:sine"_s, u"(av)"_s, u"(av)"_s, u"(av)"_s},
            {u"lavfi:sine"_s, u"(lavfi)"_s, u"(lavfi)"_s, u"(lavfi)"_s},
            {u"http://a/\tb"_s, u"Chyba: adresa obsahuje neplatné znaky"_s, u"(?)"_s, u"(?)"_s},
            {u"http://a/"_s + QString(8192, u'a'), u"Chyba: adresa je příliš dlouhá"_s, u"(?)"_s,
             u"(?)"_s},
        };
        const auto text = [](const QString& got) {
            const QString prefix = u"Chyba: nepodporovaný typ adresy "_s;
            return got.startsWith(prefix) ? got.mid(prefix.size()) : got;
        };
        for (const auto& [address, refused, entry, networkEntry] : addresses) {
            QCOMPARE(text(StreamAddress::refusedText(address)), refused);
            QCOMPARE(text(entryRefusedText(address, false, MaxNesting)), entry);
            QCOMPARE(text(entryRefusedText(address, true, 1)), networkEntry);
            QCOMPARE(StreamAddress::isRadioAddress(address), refused.isEmpty());
        }
        QCOMPARE(entryRefusedText(u"http://a/"_s, true, MaxNesting + 1),
                 u"Chyba: příliš mnoho vnořených seznamů stanic"_s);
        // Paths reach mpv absolute, so that none reads as an option; URLs as they stand.
        QCOMPARE(StreamAddress::mpvAddress(u"-"_s), QDir::current().filePath(u"-"_s).toUtf8());
        QCOMPARE(StreamAddress::mpvAddress(u"http://a/ b"_s), "http://a/ b");

        const QString czech = u"Žluťoučký kůň úpěl ďábelské ódy"_s;
        using Tags = QList<std::pair<QByteArray, QByteArray>>;
        const std::pair<Tags, QString> cases[] = {
            {{{"icy-title", czech.toUtf8()}}, czech},
            {{{"icy-title", Cp1250::encode(czech) + "\r\n- Live"}}, czech + u" - Live"_s},
            {{{"Title", " A\t\x7f B "}, {"ICY-Title", "Icy"}, {"title", "C"}}, u"Icy"_s},
            {{{"TITLE", "Tag"}, {"artist", "X"}}, u"Tag"_s},
            {{{"icy-title", "\x01 "}}, {}},
        };
        for (const auto& [tags, title] : cases)
            QCOMPARE(StreamTitle::fromMetadata(tags), title);

        const std::tuple<const char*, const char*, QString> lines[] = {
            {"ffmpeg", "tls: Peer certificate failed verification",
             u"Chyba: certifikát serveru není důvěryhodný"_s},
            {"ffmpeg", "Unable to verify peer certificate",
             u"Chyba: certifikát serveru není důvěryhodný"_s},
            {"ffmpeg", "The certificate's owner does not match hostname 'a'",
             u"Chyba: certifikát serveru nepatří této adrese"_s},
            {"cplayer", "Peer certificate failed verification", {}},
            {"ffmpeg", "Connection refused", {}},
        };
        for (const auto& [prefix, line, text] : lines)
            QCOMPARE(certificateText(prefix, line), text);
    }
};

QTEST_APPLESS_MAIN(tst_playbackrules)
#include "tst_playbackrules.moc"
