// The directory client against a local stand-in for the directory: what it asks, how it reads
// good, odd and broken answers, and how it fails.
#include "support/DirectoryServer.h"

#include "directory/DirectoryClient.h"

#include <QSignalSpy>
#include <QTest>

using Directory::Station;

namespace {

const QString UserAgent = u"skylistener/0.1.12"_s;

// Runs one search and returns "name: format" of each station found, or "! message".
QStringList searchFor(DirectoryClient& client, const Directory::SearchQuery& query,
                      QList<Station>& found)
{
    QSignalSpy done(&client, &DirectoryClient::searchFinished);
    QSignalSpy failed(&client, &DirectoryClient::searchFailed);
    client.search(query);
    if (!QTest::qWaitFor([&] { return done.size() + failed.size() > 0; }, 15000))
        return {u"! no answer"_s};
    if (!failed.isEmpty())
        return {u"! "_s + failed.at(0).at(0).toString()};
    QStringList shown;
    for (const Station& s : found = done.at(0).at(0).value<QList<Station>>())
        shown.append(s.name + u": "_s + Directory::FormatText(s));
    return shown;
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
        // Popular first; Czech and foreign letters, and tags, as they stand.
        const QStringList ok = {u"Rádio Morava: AAC 64 kbps"_s,
                                u"Jazz Praha: MP3 128 kbps"_s,
                                u"Český rozhlas Dvojka – Žďár: MP3 128 kbps"_s,
                                u"Радио Москва: MP3 64 kbps"_s,
                                u"Bratislava Live: HLS"_s,
                                u"Rock</stationname>: OGG"_s};
        QTest::newRow("failing left out") << u"ok"_s << false << ok;
        QTest::newRow("failing shown when asked")
            << u"ok"_s << true << QStringList{u"Nefunkční jazz: MP3 96 kbps"_s} + ok;
        QTest::newRow("redirect followed") << u"redirect"_s << false << ok;
        QStringList mostPlayed; // of 6000 stations in about 3 MB
        for (int clicks = 5999; clicks >= 6000 - Directory::MaxResults; --clicks)
            mostPlayed.append(u"Stanice %1: "_s.arg(clicks));
        QTest::newRow("large") << u"large"_s << false << mostPlayed;
        QTest::newRow("dead server, then the next") << u"http://127.0.0.1:1/x ok"_s << false << ok;
        QTest::newRow("odd fields")
            << u"odd"_s << false
            << QStringList{u"Obří čísla: 100000 kbps"_s, u"Čísla jako text: MP3 192 kbps"_s,
                           u"Bez polí: "_s, u"Záporné: "_s};
        const QStringList tooLarge{
            u"! Odpověď adresáře stanic je větší než 4 MiB, proto nebyla načtena."_s};
        QTest::newRow("cut off")
            << u"cut"_s << false
            << QStringList{u"! Adresář stanic poslal neúplnou nebo poškozenou odpověď."_s};
        QTest::newRow("HTTP 500")
            << u"error"_s << false
            << QStringList{
                   u"! Adresář stanic odpověděl chybou (HTTP 500). Zkuste to prosím později."_s};
        QTest::newRow("endless answer") << u"huge"_s << false << tooLarge;
        QTest::newRow("large length announced") << u"declared"_s << false << tooLarge;
        QTest::newRow("never answers")
            << u"silent"_s << false
            << QStringList{u"! Adresář stanic neodpověděl do 10 s. Zkuste to prosím později."_s};
        QTest::newRow("offline")
            << u"http://127.0.0.1:1/"_s << false
            << QStringList{u"! Adresář stanic není dostupný. Zkontrolujte připojení k síti."_s};
    }
    void answers()
    {
        QFETCH(QString, base);
        QFETCH(bool, includeBroken);
        QFETCH(QStringList, expected);
        DirectoryServer server;
        QStringList servers = base.split(u' ');
        for (QString& s : servers)
            s = s.startsWith(u"http"_s) ? s : server.url(s);
        DirectoryClient client(UserAgent, servers.join(u' '));
        client.setTimeoutMs(base == u"silent"_s ? 300 : 5000);
        QList<Station> found;
        QCOMPARE(searchFor(client, {.includeBroken = includeBroken}, found), expected);
        QVERIFY(server.clicks.isEmpty());
    }

    void requestsAndClicks()
    {
        DirectoryServer server;
        server.streamUrl = u"http://127.0.0.1:2/tone.mp3"_s;
        DirectoryClient client(UserAgent, server.url(u"ok"_s) + u"/"_s);
        QList<Station> found;
        QCOMPARE(searchFor(client, {u"jazz a&b"_s, u"CZ"_s, u"swing"_s}, found), QStringList());
        QCOMPARE(server.requests.value(0),
                 u"/ok/json/stations/search?name=jazz a%26b&countrycode=CZ&tag=swing"
                 u"&order=clickcount&reverse=true&limit=200&hidebroken=true"_s);
        QCOMPARE(server.userAgents, QStringList{UserAgent});
        QCOMPARE(searchFor(client, {u"jazz"_s}, found).size(), 1);
        QCOMPARE(found.at(0).streamUrl(), server.streamUrl);
        client.click(found.at(0).uuid);
        QTRY_COMPARE(server.clicks, QStringList{u"u-jazz"_s});

        // Only countries with a two-letter code and stations; counts may come as text.
        QSignalSpy countries(&client, &DirectoryClient::countriesFinished);
        client.fetchCountries();
        QTRY_COMPARE(countries.size(), 1);
        QStringList codes;
        for (const auto& c : countries.at(0).at(0).value<QList<Directory::Country>>())
            codes.append(c.code + QString::number(c.stationCount));
        QCOMPARE(codes, (QStringList{u"SK1"_s, u"CZ3"_s, u"AT12"_s}));
    }

    // Czech users get their country first and before the list is known; others "all" first.
    void countryChoices()
    {
        const QList<Directory::Country> countries = {
            {u"SK"_s, u"Slovakia"_s, 4}, {u"CZ"_s, u"Czechia"_s, 3}, {u"AT"_s, u"Austria"_s, 12}};
        const auto choices = [](const QList<Directory::Country>& list, QLocale::Language language) {
            QStringList texts;
            for (const auto& choice : Directory::CountryChoices(list, QLocale(language)))
                texts.append(choice.code + u':' + choice.text);
            return texts.join(u'|');
        };
        QCOMPARE(choices(countries, QLocale::Czech),
                 u"CZ:Česko (3)|:Všechny země|AT:Austria (12)|SK:Slovakia (4)"_s);
        QCOMPARE(choices(countries, QLocale::English),
                 u":Všechny země|AT:Austria (12)|CZ:Česko (3)|SK:Slovakia (4)"_s);
        QCOMPARE(choices({}, QLocale::Czech), u"CZ:Česko|:Všechny země"_s);
        QCOMPARE(choices({}, QLocale::English), u":Všechny země"_s);
    }
};

QTEST_GUILESS_MAIN(tst_DirectoryClient)
#include "tst_DirectoryClient.moc"
