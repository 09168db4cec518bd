#include "DirectoryServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 Chunk = 256 * 1024;
constexpr qint64 EndlessLimit = 64 * 1024 * 1024;

QByteArray head(int status, const QByteArray& reason, qint64 length, const QByteArray& extra = {})
{
    QByteArray h = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason +
                   "\r\nContent-Type: application/json; charset=utf-8\r\nConnection: close\r\n" +
                   extra;
    if (length >= 0)
        h += "Content-Length: " + QByteArray::number(length) + "\r\n";
    return h + "\r\n";
}

QJsonObject station(const QString& uuid, const QString& name, const QString& url,
                    const QString& resolved, const QString& code, const QString& codec, int bitrate,
                    int hls, int ok, int clicks, const QString& tags)
{
    return QJsonObject{{u"changeuuid"_s, uuid + u"-c"_s},
                       {u"stationuuid"_s, uuid},
                       {u"name"_s, name},
                       {u"url"_s, url},
                       {u"url_resolved"_s, resolved},
                       {u"homepage"_s, u""_s},
                       {u"country"_s, code == u"CZ"_s ? u"Czechia"_s : u"Slovakia"_s},
                       {u"countrycode"_s, code},
                       {u"codec"_s, codec},
                       {u"bitrate"_s, bitrate},
                       {u"hls"_s, hls},
                       {u"lastcheckok"_s, ok},
                       {u"clickcount"_s, clicks},
                       {u"tags"_s, tags}};
}

// Stations that nobody plays point at a closed loopback port.
const QString Nowhere = u"http://127.0.0.1:1/"_s;

} // namespace

DirectoryServer::DirectoryServer()
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server.listen(QHostAddress::LocalHost);
}

DirectoryServer::~DirectoryServer() = default;

QString DirectoryServer::url(const QString& behaviour) const
{
    return u"http://127.0.0.1:%1/%2"_s.arg(m_server.serverPort()).arg(behaviour);
}

void DirectoryServer::readRequest(QTcpSocket* socket)
{
    if (socket->property("answered").toBool())
        return;
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    if (!buffer.contains("\r\n\r\n"))
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> lines = buffer.left(buffer.indexOf("\r\n\r\n")).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    for (const QByteArray& line : lines) {
        if (line.toLower().startsWith("user-agent:"))
            userAgents.append(QString::fromUtf8(line.mid(11).trimmed()));
    }
    const QUrl target(QString::fromUtf8(requestLine.value(1)));
    requests.append(target.toString());
    QString path = target.path();
    const QString behaviour = path.section(u'/', 1, 1);
    const QString call = path.section(u'/', 2);
    answer(socket, behaviour, call, QUrlQuery(target));
}

void DirectoryServer::answer(QTcpSocket* socket, const QString& behaviour, const QString& call,
                             const QUrlQuery& query)
{
    if (call.startsWith(u"json/url/"_s)) {
        clicks.append(call.mid(9));
        const QByteArray body = R"({"ok":true,"message":"retrieved station url"})";
        socket->write(head(200, "OK", body.size()) + body);
        socket->disconnectFromHost();
        return;
    }
    if (call == u"json/countries"_s) {
        const QByteArray body =
            R"([{"name":"Slovakia","iso_3166_1":"SK","stationcount":1},)"
            R"({"name":"Czechia","iso_3166_1":"CZ","stationcount":3},)"
            R"({"name":"Austria","iso_3166_1":"AT","stationcount":"12"},)"
            R"({"name":"Nowhere","iso_3166_1":"","stationcount":4},{"name":7}])";
        socket->write(head(200, "OK", body.size()) + body);
        socket->disconnectFromHost();
        return;
    }
    if (behaviour == u"silent"_s)
        return;
    if (behaviour == u"error"_s) {
        const QByteArray body = R"({"error":"database gone"})";
        socket->write(head(500, "Internal Server Error", body.size()) + body);
        socket->disconnectFromHost();
        return;
    }
    if (behaviour == u"redirect"_s) {
        const QByteArray location =
            "/ok/" + call.toUtf8() + '?' + query.query(QUrl::FullyEncoded).toUtf8();
        socket->write(head(302, "Found", 0, "Location: " + location + "\r\n"));
        socket->disconnectFromHost();
        return;
    }
    if (behaviour == u"huge"_s || behaviour == u"declared"_s) {
        // Sent as the client takes it, so that a client that stops reading stops the answer.
        const bool declared = behaviour == u"declared"_s;
        socket->write(head(200, "OK", declared ? 5 * 1024 * 1024 : -1) + '[');
        auto* sent = new qint64(0);
        const QByteArray filler = QByteArray(Chunk - 1, ' ') + '\n';
        connect(socket, &QTcpSocket::bytesWritten, socket, [socket, sent, filler] {
            if (*sent >= EndlessLimit || socket->bytesToWrite() > 4 * Chunk)
                return;
            *sent += socket->write(filler);
        });
        connect(socket, &QObject::destroyed, [sent] { delete sent; });
        return;
    }
    const QByteArray body = stations(behaviour, query);
    if (behaviour == u"cut"_s) {
        socket->write(head(200, "OK", body.size()) + body.left(body.size() / 2));
        socket->disconnectFromHost();
        return;
    }
    const int delay = delays.value(query.queryItemValue(u"name"_s, QUrl::FullyDecoded), 0);
    const QByteArray whole = head(200, "OK", body.size()) + body;
    QTimer::singleShot(delay, socket, [socket, whole] {
        socket->write(whole);
        socket->disconnectFromHost();
    });
}

QByteArray DirectoryServer::stations(const QString& behaviour, const QUrlQuery& query) const
{
    QJsonArray list;
    if (behaviour == u"odd"_s) {
        const QByteArray odd = R"([
            {"stationuuid":7,"name":"Bez polí","url":"http://127.0.0.1:1/a"},
            {"name":" Čísla jako text ","url":"http://127.0.0.1:1/b","bitrate":"192",
             "clickcount":"77","codec":"mp3","lastcheckok":"1","hls":"0"},
            {"name":["pole"],"url":"http://127.0.0.1:1/c"},
            {"name":"Bez URL","url":"","url_resolved":null},
            {"name":"Záporné","url":"http://127.0.0.1:1/d","bitrate":-5,"clickcount":null,
             "tags":{"a":1},"codec":false,"lastcheckok":true},
            {"name":"Nefunkční","url":"http://127.0.0.1:1/f","lastcheckok":0,"clickcount":9},
            {"name":"Obří čísla","url":"http://127.0.0.1:1/e","bitrate":1e300,"clickcount":1e300},
            42, "text", null, []
        ])";
        return odd;
    }
    if (behaviour == u"czech"_s) {
        list = {station(u"u-dvojka"_s, u"Český rozhlas Dvojka – Žďár"_s, Nowhere + u"dvojka"_s,
                        Nowhere + u"dvojka.mp3"_s, u"CZ"_s, u"MP3"_s, 128, 0, 1, 30,
                        u"mluvené slovo"_s),
                station(u"u-ru"_s, u"Радио Москва"_s, Nowhere + u"ru"_s, {}, u"CZ"_s, u"MP3"_s, 64,
                        0, 1, 20, u"news"_s),
                station(u"u-tag"_s, u"Rock</stationname>"_s, Nowhere + u"rock"_s, {}, u"CZ"_s,
                        u"OGG"_s, 0, 0, 1, 10, {})};
    } else if (behaviour == u"large"_s) {
        const QString padding(400, u'x');
        for (int i = 0; i < 6000; ++i) {
            list.append(station(u"u-%1"_s.arg(i), u"Stanice %1"_s.arg(i),
                                Nowhere + QString::number(i), {}, u"CZ"_s, u"MP3"_s, 128, 0, 1,
                                (i * 7919) % 6000, padding));
        }
    } else {
        const QJsonArray all = {station(u"u-morava"_s, u"Rádio Morava"_s, Nowhere + u"morava"_s, {},
                                        u"CZ"_s, u"AAC"_s, 64, 0, 1, 900, u"pop,hity"_s),
                                station(u"u-jazz"_s, u"Jazz Praha"_s, Nowhere + u"jazz.m3u"_s,
                                        streamUrl, u"CZ"_s, u"MP3"_s, 128, 0, 1, 50,
                                        u"jazz,swing"_s),
                                station(u"u-hls"_s, u"Bratislava Live"_s, Nowhere + u"live.m3u8"_s,
                                        {}, u"SK"_s, u"AAC"_s, 0, 1, 1, 10, u"news"_s),
                                station(u"u-broken"_s, u"Nefunkční jazz"_s, Nowhere + u"broken"_s,
                                        {}, u"CZ"_s, u"MP3"_s, 96, 0, 0, 5000, u"jazz"_s)};
        const QString name = query.queryItemValue(u"name"_s, QUrl::FullyDecoded);
        const QString code = query.queryItemValue(u"countrycode"_s, QUrl::FullyDecoded);
        const QString tag = query.queryItemValue(u"tag"_s, QUrl::FullyDecoded);
        const bool hideBroken = query.queryItemValue(u"hidebroken"_s) == u"true"_s;
        for (const QJsonValue& v : all) {
            const QJsonObject s = v.toObject();
            if (!s[u"name"_s].toString().contains(name, Qt::CaseInsensitive) ||
                (!code.isEmpty() && s[u"countrycode"_s].toString() != code) ||
                !s[u"tags"_s].toString().contains(tag, Qt::CaseInsensitive) ||
                (hideBroken && s[u"lastcheckok"_s].toInt() == 0))
                continue;
            list.append(s);
        }
    }
    return QJsonDocument(list).toJson(QJsonDocument::Compact);
}
