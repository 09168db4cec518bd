#pragma once

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

// A stand-in for the station directory on 127.0.0.1, answering its search, country list and
// click calls in the directory's JSON shape. The first segment of the path names how it
// behaves (see answer()), so a base address picks the behaviour: url(u"ok"_s) is
// "http://127.0.0.1:PORT/ok".
class DirectoryServer : public QTcpServer
{
public:
    // Where Jazz Praha streams from (its url_resolved).
    QString streamUrl = QStringLiteral("http://127.0.0.1:1/none.mp3");
    // A search whose name is a key here is answered after that many milliseconds.
    QHash<QString, int> delays;
    // What was asked ("path?query"), with which user agents, and the station ids clicked.
    QStringList requests, userAgents, clicks;

    DirectoryServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        listen(QHostAddress::LocalHost);
    }
    QString url(const QString& behaviour) const
    {
        return u"http://127.0.0.1:%1/%2"_s.arg(serverPort()).arg(behaviour);
    }

private:
    // The head's "%1" is the body's length.
    static void send(QTcpSocket* socket, const QByteArray& status, const QByteArray& body,
                     QByteArray head = "Content-Length: %1\r\n", bool close = true)
    {
        head.replace("%1", QByteArray::number(body.size()));
        socket->write("HTTP/1.1 " + status + "\r\nConnection: close\r\n" + head + "\r\n" + body);
        if (close)
            socket->disconnectFromHost();
    }

    void answer(QTcpSocket* socket)
    {
        const QByteArray request = socket->peek(1 << 16);
        if (!request.contains("\r\n\r\n"))
            return;
        socket->readAll();
        userAgents.append(QRegularExpression(u"(?im)^user-agent: *(.*?)\r?$"_s)
                              .match(QString::fromUtf8(request))
                              .captured(1));
        const QUrl target(QString::fromUtf8(request.split(' ').value(1)));
        requests.append(target.toString());
        const QUrlQuery query(target);
        const QString behaviour = target.path().section(u'/', 1, 1);
        const QString call = target.path().section(u'/', 2);
        if (call.startsWith(u"json/url/"_s)) {
            clicks.append(call.mid(9));
            send(socket, "200 OK", R"({"ok":true})");
        } else if (call == u"json/countries"_s) {
            send(socket, "200 OK",
                 R"([{"name":"Slovakia","iso_3166_1":"SK","stationcount":1},)"
                 R"({"name":"Czechia","iso_3166_1":"CZ","stationcount":3},)"
                 R"({"name":"Austria","iso_3166_1":"AT","stationcount":"12"},)"
                 R"({"name":"Nowhere","iso_3166_1":"","stationcount":4},{"name":7}])");
        } else if (behaviour == u"error"_s) {
            send(socket, "500 Internal Server Error", R"({"error":"database gone"})");
        } else if (behaviour == u"redirect"_s) {
            send(socket, "302 Found", {},
                 "Location: " + request.split(' ').value(1).replace("/redirect/", "/ok/") +
                     "\r\nContent-Length: 0\r\n");
        } else if (behaviour == u"huge"_s) { // 5 MiB without a length
            send(socket, "200 OK", '[' + QByteArray(5 << 20, ' '), {});
        } else if (behaviour == u"declared"_s) { // 5 MiB announced, nothing sent
            send(socket, "200 OK", "[", "Content-Length: 5242880\r\n", false);
        } else if (behaviour == u"cut"_s) { // stops in the middle
            const QByteArray body = stations(u"ok"_s, query);
            send(socket, "200 OK", body.left(body.size() / 2),
                 "Content-Length: " + QByteArray::number(body.size()) + "\r\n");
        } else if (behaviour != u"silent"_s) { // "ok", "odd" (fields missing or wrong), "large"
            const QByteArray body = stations(behaviour, query);
            QTimer::singleShot(delays.value(query.queryItemValue(u"name"_s, QUrl::FullyDecoded)),
                               socket, [socket, body] { send(socket, "200 OK", body); });
        }
    }

    QByteArray stations(const QString& behaviour, const QUrlQuery& query) const
    {
        if (behaviour == u"odd"_s) {
            return R"([
                {"stationuuid":7,"name":"Bez polí","url":"http://127.0.0.1:1/a"},
                {"name":" Čísla jako text ","url":"http://127.0.0.1:1/b","bitrate":"192",
                 "clickcount":"77","codec":"mp3","lastcheckok":"1","hls":"0"},
                {"name":["pole"],"url":"http://127.0.0.1:1/c"},
                {"name":"Bez URL","url":"","url_resolved":null},
                {"name":"Záporné","url":"http://127.0.0.1:1/d","bitrate":-5,"clickcount":null,
                 "tags":{"a":1},"codec":false,"lastcheckok":true},
                {"name":"Nefunkční","url":"http://127.0.0.1:1/f","lastcheckok":0,"clickcount":9},
                {"name":"Obří čísla","url":"http://127.0.0.1:1/e","bitrate":1e300,
                 "clickcount":1e300},
                42, "text", null, []
            ])";
        }
        // id|name|country|codec|bitrate|hls|last check ok|clicks|tags, on a closed port; Jazz
        // Praha resolves to streamUrl.
        QStringList rows = {u"u-morava|Rádio Morava|CZ|AAC|64|0|1|900|pop"_s,
                            u"u-jazz|Jazz Praha|CZ|MP3|128|0|1|50|jazz,swing"_s,
                            u"u-hls|Bratislava Live|SK|AAC|0|1|1|10|news"_s,
                            u"u-broken|Nefunkční jazz|CZ|MP3|96|0|0|5000|jazz"_s,
                            u"u-dvojka|Český rozhlas Dvojka – Žďár|CZ|MP3|128|0|1|30|"_s,
                            u"u-ru|Радио Москва|CZ|MP3|64|0|1|20|"_s,
                            u"u-tag|Rock</stationname>|CZ|OGG|0|0|1|8|"_s};
        if (behaviour == u"large"_s) {
            rows.clear();
            for (int i = 0; i < 6000; ++i) // named after their click counts
                rows.append(u"u-%1|Stanice %1|CZ||0|0|1|%1|"_s.arg(i * 7919 % 6000) +
                            QString(400, u'x'));
        }
        const QString name = query.queryItemValue(u"name"_s, QUrl::FullyDecoded);
        const QString code = query.queryItemValue(u"countrycode"_s);
        QJsonArray list;
        for (const QString& row : rows) {
            const QStringList f = row.split(u'|');
            QJsonObject s = QJsonDocument::fromJson(
                                uR"({"stationuuid":"%1","name":"%2","url":"http://127.0.0.1:1/%1",
                         "countrycode":"%3","codec":"%4","bitrate":%5,"hls":%6,"lastcheckok":%7,
                         "clickcount":%8,"tags":"%9"})"_s
                                    .arg(f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8])
                                    .toUtf8())
                                .object();
            if (f[0] == u"u-jazz"_s)
                s[u"url_resolved"_s] = streamUrl;
            if (f[1].contains(name, Qt::CaseInsensitive) && (code.isEmpty() || f[2] == code))
                list.append(s);
        }
        return QJsonDocument(list).toJson(QJsonDocument::Compact);
    }
};
