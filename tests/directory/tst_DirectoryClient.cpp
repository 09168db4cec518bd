// The directory client against a local stand-in for the directory: what it asks, how it reads
// good, odd and broken answers, and how it fails.
#include "support/DirectoryServer.h"

#include "directory/DirectoryClient.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using Directory::Station;

namespace {

const QString UserAgent = u"skylistener/0.1.12"_s;

// Runs one search and returns the names found, or the message as "! message".
QStringList searchFor(DirectoryClient& client, const Directory::SearchQuery& query,
                      QList<Station>* found = nullptr)
{
    QSignalSpy done(&client, &DirectoryClient::searchFinished);
    QSignalSpy failed(&client, &DirectoryClient::searchFailed);
    client.search(query);
    if (!QTest::qWaitFor([&] { return done.size() + failed.size() > 0; }, 15000))
        return {u"! no answer"_s};
    if (!failed.isEmpty())
        return {u"! "_s + failed.at(0).at(0).toString()};
    const auto stations = done.at(0).at(0).value<QList<Station>>();
    if (found)
        *found = stations;
    QStringList names;
    for (const Station& s : stations)
        names.append(s.name);
    return names;
}

} // namespace

class tst_DirectoryClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<bool>("includeBroken");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("formats");

        const QStringList ok = {u"Rádio Morava"_s, u"Jazz Praha"_s, u"Bratislava Live"_s};
        const QStringList okFormats = {u"AAC 64 kbps"_s, u"MP3 128 kbps"_s, u"HLS"_s};
        QTest::newRow("popular first, failing left out") << u"ok"_s << false << ok << okFormats;
        QTest::newRow("failing shown when asked")
            << u"ok"_s << true << (QStringList{u"Nefunkční jazz"_s} + ok)
            << (QStringList{u"MP3 96 kbps"_s} + okFormats);
        QTest::newRow("redirect followed") << u"redirect"_s << false << ok << okFormats;
        QTest::newRow("dead server, then the next")
            << u"http://127.0.0.1:1/x %1"_s << false << ok << okFormats;
        QTest::newRow("odd fields")
            << u"odd"_s << false
            << QStringList{u"Obří čísla"_s, u"Čísla jako text"_s, u"Bez polí"_s, u"Záporné"_s}
            << QStringList{u"100000 kbps"_s, u"MP3 192 kbps"_s, QString(), QString()};
        QTest::newRow("czech and foreign letters")
            << u"czech"_s << false
            << QStringList{u"Český rozhlas Dvojka – Žďár"_s, u"Радио Москва"_s,
                           u"Rock</stationname>"_s}
            << QStringList{u"MP3 128 kbps"_s, u"MP3 64 kbps"_s, u"OGG"_s};
        const auto failure = [](const QString& message) { return QStringList{u"! "_s + message}; };
        QTest::newRow("cut off") << u"cut"_s << false
                                 << failure(u"Adresář stanic poslal neúplnou nebo poškozenou "
                                            u"odpověď."_s)
                                 << QStringList();
        QTest::newRow("HTTP 500") << u"error"_s << false
                                  << failure(u"Adresář stanic odpověděl chybou (HTTP 500). "
                                             u"Zkuste to prosím později."_s)
                                  << QStringList();
        const QStringList tooLarge =
            failure(u"Odpověď adresáře stanic je větší než 4 MiB, proto nebyla načtena."_s);
        QTest::newRow("endless answer") << u"huge"_s << false << tooLarge << QStringList();
        QTest::newRow("large length announced")
            << u"declared"_s << false << tooLarge << QStringList();
        QTest::newRow("never answers")
            << u"silent"_s << false
            << failure(u"Adresář stanic neodpověděl do 10 s. Zkuste to prosím později."_s)
            << QStringList();
        QTest::newRow("offline") << u"http://127.0.0.1:1/"_s << false
                                 << failure(u"Adresář stanic není dostupný. Zkontrolujte "
                                            u"připojení k síti."_s)
                                 << QStringList();
    }

    void answers()
    {
        QFETCH(QString, base);
        QFETCH(bool, includeBroken);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, formats);
        DirectoryServer server;
        const QString address = !base.startsWith(u"http"_s) ? server.url(base)
                                : base.contains(u"%1"_s)    ? base.arg(server.url(u"ok"_s))
                                                            : base;
        DirectoryClient client(UserAgent, address);
        client.setTimeoutMs(base == u"silent"_s ? 300 : 5000);
        QList<Station> found;
        QCOMPARE(searchFor(client, {.includeBroken = includeBroken}, &found), expected);
        QStringList shown;
        for (const Station& s : found)
            shown.append(Directory::FormatText(s));
        QCOMPARE(shown, formats);
        QVERIFY(server.clicks.isEmpty());
    }

    void largeAnswerKeepsTheMostPlayed()
    {
        DirectoryServer server;
        DirectoryClient client(UserAgent, server.url(u"large"_s));
        QList<Station> found;
        QCOMPARE(searchFor(client, {}, &found).size(), Directory::MaxResults);
        for (qsizetype i = 0; i < found.size(); ++i)
            QCOMPARE(found.at(i).clickCount, 5999 - i);
    }

    void requestsAndClicks()
    {
        DirectoryServer server;
        server.streamUrl = u"http://127.0.0.1:2/tone.mp3"_s;
        DirectoryClient client(UserAgent, server.url(u"ok"_s) + u"/"_s);
        QList<Station> found;
        QCOMPARE(searchFor(client, {u"jazz a&b"_s, u"CZ"_s, u"swing"_s}, &found), QStringList());
        QCOMPARE(server.requests.value(0),
                 u"/ok/json/stations/search?name=jazz a%26b&countrycode=CZ&tag=swing"
                 u"&order=clickcount&reverse=true&limit=200&hidebroken=true"_s);
        QCOMPARE(server.userAgents, QStringList{UserAgent});
        QCOMPARE(searchFor(client, {u"jazz"_s}, &found), QStringList{u"Jazz Praha"_s});
        QCOMPARE(found.at(0).streamUrl(), server.streamUrl);
        QCOMPARE(found.at(0).uuid, u"u-jazz"_s);

        client.click(found.at(0).uuid);
        QTRY_COMPARE(server.clicks, QStringList{u"u-jazz"_s});

        QSignalSpy countries(&client, &DirectoryClient::countriesFinished);
        client.fetchCountries();
        QTRY_COMPARE(countries.size(), 1);
        const auto list = countries.at(0).at(0).value<QList<Directory::Country>>();
        QStringList codes;
        for (const auto& c : list)
            codes.append(c.code + QString::number(c.stationCount));
        QCOMPARE(codes, (QStringList{u"SK1"_s, u"CZ3"_s, u"AT12"_s}));
    }

    void newSearchDropsTheOldAnswer()
    {
        DirectoryServer server;
        server.delays[u"Morava"_s] = 400;
        DirectoryClient client(UserAgent, server.url(u"ok"_s));
        QSignalSpy done(&client, &DirectoryClient::searchFinished);
        client.search({u"Morava"_s});
        QTRY_COMPARE(server.requests.size(), 1);
        client.search({u"Bratislava"_s});
        QTRY_COMPARE(done.size(), 1);
        QTest::qWait(700);
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.at(0).at(0).value<QList<Station>>().value(0).name, u"Bratislava Live"_s);
    }

    void countryChoices()
    {
        const QList<Directory::Country> countries = {
            {u"SK"_s, u"Slovakia"_s, 4}, {u"CZ"_s, u"Czechia"_s, 3}, {u"AT"_s, u"Austria"_s, 12}};
        const auto texts = [](const QList<Directory::CountryChoice>& choices) {
            QStringList t;
            for (const auto& c : choices)
                t.append(c.code + u':' + c.text);
            return t;
        };
        const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
        const QLocale english(QLocale::English, QLocale::UnitedKingdom);
        QCOMPARE(texts(Directory::CountryChoices(countries, czech)),
                 (QStringList{u"CZ:Česko (3)"_s, u":Všechny země"_s, u"AT:Austria (12)"_s,
                              u"SK:Slovakia (4)"_s}));
        QCOMPARE(texts(Directory::CountryChoices(countries, english)),
                 (QStringList{u":Všechny země"_s, u"AT:Austria (12)"_s, u"CZ:Česko (3)"_s,
                              u"SK:Slovakia (4)"_s}));
        // Before the directory's list is known.
        QCOMPARE(texts(Directory::CountryChoices({}, czech)),
                 (QStringList{u"CZ:Česko"_s, u":Všechny země"_s}));
        QCOMPARE(texts(Directory::CountryChoices({}, english)), QStringList{u":Všechny země"_s});
    }
};

QTEST_GUILESS_MAIN(tst_DirectoryClient)
#include "tst_DirectoryClient.moc"
