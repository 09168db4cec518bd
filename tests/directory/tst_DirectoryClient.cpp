// The directory client against a local stand-in: what it asks, what it reads, how it fails.
#include "support/DirectoryServer.h"

#include "directory/DirectoryClient.h"

#include <QtTest>

using Directory::Station;

class tst_DirectoryClient : public QObject
{
    Q_OBJECT

    const QString UserAgent = u"skylistener/0.1.12"_s;
    QList<Station> m_found;

    // Runs one search; the stations found as "name: format|...", or "! message".
    QString searchFor(DirectoryClient& client, const Directory::SearchQuery& query)
    {
        QSignalSpy done(&client, &DirectoryClient::searchFinished);
        QSignalSpy failed(&client, &DirectoryClient::searchFailed);
        client.search(query);
        (void)QTest::qWaitFor([&] { return done.size() + failed.size() > 0; }, 15000);
        if (done.isEmpty())
            return u"! "_s + failed.value(0).value(0).toString();
        QStringList shown;
        for (const Station& s : m_found = done.at(0).at(0).value<QList<Station>>())
            shown.append(
                s.name + u": "_s +
                (Directory::CodecText(s) + u' ' + Directory::BitrateText(s.bitrate)).trimmed());
        return shown.join(u'|');
    }

private Q_SLOTS:
    void answers()
    {
        // Popular first; Czech and foreign letters, and tags, as they stand.
        const QString ok = u"Rádio Morava: AAC 64 kbps|Jazz Praha: MP3 128 kbps|Český rozhlas "
                           u"Dvojka – Žďár: MP3 128 kbps|Радио Москва: MP3 64 kbps|Bratislava "
                           u"Live: HLS|Rock</stationname>: OGG"_s;
        const QString later = u" Zkuste to prosím později."_s;
        const QString tooLarge =
            u"! Odpověď adresáře stanic je větší než 4 MiB, proto nebyla načtena."_s;
        QTcpServer badRequest; // answers every request with a bare 400
        QVERIFY(badRequest.listen(QHostAddress::LocalHost));
        connect(&badRequest, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* socket = badRequest.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                socket->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
            });
        });
        // "$" stands for the stand-in's address; after a dead server the next is asked.
        const std::pair<QString, QString> cases[] = {
            {u"$ok"_s, ok},
            {u"$full"_s, QString()},
            {u"$redirect"_s, ok},
            {u"http://127.0.0.1:1/x $ok"_s, ok},
            {u"$odd"_s,
             u"Obří čísla: 100000 kbps|Čísla jako text: MP3 192 kbps|Bez polí: |Záporné: "_s},
            {u"$cut"_s, u"! Adresář stanic poslal neúplnou nebo poškozenou odpověď."_s},
            {u"http://127.0.0.1:%1/"_s.arg(badRequest.serverPort()),
             u"! Adresář stanic odpověděl chybou (HTTP 400)."_s + later},
            {u"$huge"_s, tooLarge},
            {u"$declared"_s, tooLarge},
            {u"$silent"_s, u"! Adresář stanic neodpověděl do 1 s."_s + later},
            // One time limit for all servers, shared so that each gets its turn.
            {u"$silent $silent $silent"_s, u"! Adresář stanic neodpověděl do 4 s."_s + later},
            {u"$silent $ok"_s, ok},
            // Only web addresses with a host, whatever else a stranger entered.
            {u"$hostile"_s,
             u"<img src=\"/dev/zero\"><b>Markup FM</b>: <B>MP3</B>|Nul\0FM: |Secure: "_s},
            {u"http://127.0.0.1:1/"_s,
             u"! Adresář stanic není dostupný. Zkontrolujte připojení k síti."_s}};
        for (const auto& [base, expected] : cases) {
            DirectoryServer server;
            DirectoryClient client(UserAgent, QString(base).replace(u'$', server.url({})));
            client.setTimeoutMs(base == u"$silent"_s             ? 300
                                : base.startsWith(u"$silent "_s) ? 4000
                                                                 : 5000);
            QCOMPARE(searchFor(client, {}), expected);
        }
    }

    void requestsAndClicks()
    {
        DirectoryServer server;
        DirectoryClient client(UserAgent, server.url(u"ok"_s) + u"/"_s);
        QCOMPARE(searchFor(client, {u"jazz a&b"_s, u"CZ"_s, u"swing"_s}), QString());
        QCOMPARE(server.requests[0].section(u' ', 1, 1),
                 u"/ok/json/stations/search?name=jazz%20a%26b&countrycode=CZ&tag=swing"
                 u"&order=clickcount&reverse=true&limit=200&hidebroken=true"_s);
        QVERIFY(server.requests[0].contains(u"\r\nUser-Agent: "_s + UserAgent + u"\r\n"_s));
        // Failing stations only when asked.
        QCOMPARE(searchFor(client, {.name = u"jazz"_s, .includeBroken = true}),
                 u"Nefunkční jazz: MP3 96 kbps|Jazz Praha: MP3 128 kbps"_s);
        QCOMPARE(searchFor(client, {u"jazz"_s}), u"Jazz Praha: MP3 128 kbps"_s);
        QCOMPARE(m_found.at(0).streamUrl(), server.streamUrl);
        client.click(m_found.at(0).uuid);
        QTRY_COMPARE(server.clicks, QStringList{u"u-jazz"_s});
        // A vote that reached no server counts for nothing: the user may vote again at once.
        DirectoryClient offline(UserAgent, u"http://127.0.0.1:1/"_s);
        offline.setVotes(std::make_shared<VoteRecord>());
        QSignalSpy voteFailed(&offline, &DirectoryClient::voteFailed);
        QVERIFY(offline.vote(u"u-jazz"_s) && !offline.vote(u"u-jazz"_s));
        QTRY_COMPARE(voteFailed.size(), 1);
        QVERIFY(offline.vote(u"u-jazz"_s));
        // A server that sends more than asked for: the most played 200.
        DirectoryClient many(UserAgent, server.url(u"many"_s));
        (void)searchFor(many, {});
        QCOMPARE(m_found.size(), 200);
        QVERIFY(m_found.front().name == u"S249"_s && m_found.back().name == u"S50"_s);

        // Only countries with a two-letter code and stations; counts may come as text. Czech
        // users get their country first, also before the list is known; others "all" first.
        QSignalSpy countries(&client, &DirectoryClient::countriesFinished);
        client.fetchCountries();
        QTRY_COMPARE(countries.size(), 1);
        const auto choices = [&](QLocale::Language language, bool known = true) {
            QStringList texts;
            for (const auto& c : Directory::CountryChoices(
                     known ? countries.at(0).at(0).value<QList<Directory::Country>>()
                           : QList<Directory::Country>(),
                     QLocale(language)))
                texts.append(c.code + u':' + c.text);
            return texts.join(u'|');
        };
        QCOMPARE(choices(QLocale::Czech),
                 u"CZ:Česko (3)|:Všechny země|AT:Austria (12)|SK:Slovakia (1)"_s);
        QCOMPARE(choices(QLocale::English),
                 u":Všechny země|AT:Austria (12)|CZ:Česko (3)|SK:Slovakia (1)"_s);
        QCOMPARE(choices(QLocale::Czech, false), u"CZ:Česko|:Všechny země"_s);
        // A flood of codes: each A-Z code once, and no more than there are countries.
        DirectoryClient hostile(UserAgent, server.url(u"hostile"_s));
        QSignalSpy flood(&hostile, &DirectoryClient::countriesFinished);
        hostile.fetchCountries();
        QVERIFY(flood.wait(10000));
        QStringList codes;
        for (const auto& c : flood.at(0).at(0).value<QList<Directory::Country>>())
            codes.append(c.code);
        QVERIFY(codes.size() == 300 && codes.removeDuplicates() == 0 &&
                codes.filter(QRegularExpression(u"^[A-Z]{2}$"_s)).size() == 300);
        // Czech plurals of the number found.
        QCOMPARE(Directory::FoundText(0) + Directory::FoundText(4) + Directory::FoundText(5),
                 u"Nenalezena žádná stanice.Nalezeny 4 stanice.Nalezeno 5 stanic."_s);
    }
};

QTEST_GUILESS_MAIN(tst_DirectoryClient)
#include "tst_DirectoryClient.moc"
