#pragma once

#include <QtNetwork>

using namespace Qt::StringLiterals;

// A stand-in for the station directory on 127.0.0.1 answering searches, the country list, clicks
// and votes in the directory's JSON shape. The path's first segment picks how it behaves (see
// answer()): url(u"ok"_s) is "http://127.0.0.1:PORT/ok". A search for Morava takes 600 ms.
class DirectoryServer : public QTcpServer
{
public:
    // Where Jazz Praha streams from (its url_resolved).
    QString streamUrl = u"http://127.0.0.1:1/none.mp3"_s;
    // The requests' heads, ids clicked, searches answered (also to clients gone) and ids voted
    // for: a second vote is refused, as the directory does within ten minutes, with markup.
    QStringList requests, clicks, answered, votes;
    QString behaviour; // when set, how it behaves whatever the address asks for

    DirectoryServer() { listen(QHostAddress::LocalHost); }
    QString url(const QString& how) const
    {
        return u"http://127.0.0.1:%1/%2"_s.arg(serverPort()).arg(how);
    }

private:
    void incomingConnection(qintptr handle) override
    {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(handle);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
    // Answers without a length unless told, and closes.
    void answer(QTcpSocket* socket)
    {
        const QByteArray request = socket->peek(1 << 16);
        if (!request.contains("\r\n\r\n"))
            return;
        requests.append(QString::fromUtf8(socket->readAll()));
        const QUrl target(QString::fromUtf8(request.split(' ').value(1)));
        const QUrlQuery query(target);
        const QString how = behaviour.isEmpty() ? target.path().section(u'/', 1, 1) : behaviour;
        const QString call = target.path().section(u'/', 2);
        const QString name = query.queryItemValue(u"name"_s, QUrl::FullyDecoded);
        QByteArray status = "200 OK", head;
        QByteArray body = stations(how, name, query.queryItemValue(u"countrycode"_s));
        if (call.startsWith(u"json/url/"_s)) {
            clicks.append(call.mid(9));
        } else if (call.startsWith(u"json/vote/"_s)) {
            body = votes.contains(call.mid(10))
                       ? R"({"ok":false,"message":"you are voting <b>too often</b>"})"
                       : R"({"ok":true,"message":"voted for station successfully"})";
            votes.append(call.mid(10));
        } else if (call == u"json/countries"_s && how == u"hostile"_s) {
            // 80,000 entries, every two-letter code many times, and codes of other letters.
            body = "[";
            for (int i = 0; i < 80000; ++i)
                body += R"({"iso_3166_1":")" +
                        (i % 7 ? QByteArray(1, char('A' + i % 26)) + char('A' + i / 26 % 26)
                               : QByteArray("\u010cR")) +
                        R"(","stationcount":1},)";
            body.back() = ']';
        } else if (call == u"json/countries"_s) { // codes and counts good and bad
            body = R"([{"name":"Slovakia","iso_3166_1":"SK","stationcount":1},{"name":"Czechia",)"
                   R"("iso_3166_1":"CZ","stationcount":3},{"name":"Austria","iso_3166_1":"AT",)"
                   R"("stationcount":"12"},{"name":"X","iso_3166_1":"X1","stationcount":4},)"
                   R"({"name":"Zero","iso_3166_1":"ZZ","stationcount":0}])";
        } else if (how == u"error"_s) {
            status = "500 Internal Server Error";
        } else if (how == u"huge"_s) { // 5 MiB
            body = '[' + QByteArray(5 << 20, ' ');
        } else if (how == u"declared"_s || how == u"cut"_s) { // one byte of 5 MiB, half the list
            const qsizetype length = how == u"cut"_s ? body.size() : 5 << 20;
            head = "Content-Length: " + QByteArray::number(length) + "\r\n";
            body.truncate(how == u"cut"_s ? length / 2 : 1);
        } else if (how == u"full"_s) { // exactly the largest answer taken
            body = '[' + QByteArray((4 << 20) - 2, ' ') + ']';
            head = "Content-Length: 4194304\r\n";
        } else if (how == u"redirect"_s) {
            status = "302 Found";
            head =
                "Location: " + request.split(' ').value(1).replace("/redirect/", "/ok/") + "\r\n";
        } else if (how == u"silent"_s) {
            return;
        }
        QTimer::singleShot(name == u"Morava"_s ? 600 : 0, this, [=, this, s = QPointer(socket)] {
            answered.append(name);
            if (s) {
                s->write("HTTP/1.1 " + status + "\r\nConnection: close\r\n" + head + "\r\n" + body);
                s->disconnectFromHost();
            }
        });
    }

    QByteArray stations(const QString& behaviour, const QString& name, const QString& code) const
    {
        if (behaviour == u"hostile"_s) { // anyone can enter a station into the directory
            return R"json([{"name":"<img src=\"/dev/zero\"><b>Markup FM</b>","url":"http://127.0.0.1:1/m?a=1&b=<i>",
                  "tags":"<i>jazz</i>","codec":"<b>MP3</b>","countrycode":"CZ","clickcount":9},
                {"name":"Tab\tsplit","url":"http://127.0.0.1:1/x</station\turl></radio\tstation><radio\tstation><station\tname>Fake"},
                {"name":"CR LF","url":"http://127.0.0.1:1/a\r\nb"},
                {"name":"Nul\u0000FM","url":"http://127.0.0.1:1/nul","clickcount":5},
                {"name":"File","url":"file:///etc/passwd"},
                {"name":"Path","url":"/etc/passwd"},
                {"name":"Script","url":"javascript:alert(1)"},
                {"name":"Share","url":"\\\\host\\share\\x.mp3"},
                {"name":"No host","url":"http:///x.mp3"},
                {"name":"Resolved file","url":"http://127.0.0.1:1/r","url_resolved":"file:///etc/passwd"},
                {"name":"Secure","url":"HTTPS://127.0.0.1:1/s?a=1&b=2","clickcount":1}])json";
        }
        if (behaviour == u"odd"_s) {
            return R"([{"stationuuid":7,"name":"Bez polí","url":"http://127.0.0.1:1/a"}, 42, "text",
                {"name":" Čísla jako text ","url":"http://127.0.0.1:1/b","bitrate":"192",
                 "clickcount":"77","codec":"mp3","lastcheckok":"1","hls":"0"}, null, [],
                {"name":["pole"],"url":"http://127.0.0.1:1/c"},{"name":"Bez URL","url":""},
                {"name":"Záporné","url":"http://127.0.0.1:1/d","bitrate":-5,"clickcount":null,
                 "tags":{"a":1},"codec":false,"lastcheckok":true},{"name":"Obří čísla",
                 "url":"http://127.0.0.1:1/e","bitrate":1e300,"clickcount":1e300}])";
        }
        // id|name|country|codec|bitrate|hls|last check ok|clicks|tags|resolved address; each
        // streams from a closed port but Jazz Praha, which resolves to streamUrl.
        QStringList rows = {u"u-morava|Rádio Morava|CZ|AAC|64|0|1|900|pop|"_s,
                            u"u-jazz|Jazz Praha|CZ|MP3|128|0|1|50|jazz,swing|"_s + streamUrl,
                            u"u-hls|Bratislava Live|SK|AAC|0|1|1|10|news|"_s,
                            u"u-broken|Nefunkční jazz|CZ|MP3|96|0|0|5000|jazz|"_s,
                            u"u-dvojka|Český rozhlas Dvojka – Žďár|CZ|MP3|128|0|1|30||"_s,
                            u"u-ru|Радио Москва|CZ|MP3|64|0|1|20||"_s,
                            u"u-tag|Rock</stationname>|CZ|OGG|0|0|1|8||"_s};
        if (behaviour == u"many"_s) { // more than asked for, the least played first
            rows.clear();
            for (int i = 0; i < 250; ++i)
                rows.append(u"%1|S%1|CZ|MP3|0|0|1|%1||"_s.arg(i));
        }
        QStringList list;
        for (const QString& row : rows) {
            const QStringList f = row.split(u'|');
            if (f[1].contains(name, Qt::CaseInsensitive) && (code.isEmpty() || f[2] == code))
                list.append(uR"({"stationuuid":"%1","name":"%2","url":"http://127.0.0.1:1/%1",
                    "countrycode":"%3","codec":"%4","bitrate":%5,"hls":%6,"lastcheckok":%7,
                    "clickcount":%8,"tags":"%9","url_resolved":"%10"})"_s.arg(
                    f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]));
        }
        return (u'[' + list.join(u',') + u']').toUtf8();
    }
};
