#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QUrlQuery>

class QTcpSocket;

// A stand-in for the station directory on 127.0.0.1, answering its search, country list and
// click calls in the directory's JSON shape. The first segment of the path names how it
// behaves, so a base address picks the behaviour: url(u"ok"_s) is "http://127.0.0.1:PORT/ok".
//   ok       four stations (one failing its check), filtered by name, country, tag and broken
//   odd      missing fields, fields of the wrong type, entries that are no objects
//   czech    Czech names, names Windows-1250 cannot hold, a name with a station-file tag
//   large    about 3 MB: 6000 stations
//   cut      an answer that stops in the middle
//   error    HTTP 500
//   silent   accepts the request and never answers
//   redirect a 302 to the same call under "ok"
//   huge     an endless answer without a length (refused past 4 MiB)
//   declared a length of 5 MiB announced in the header
class DirectoryServer : public QObject
{
    Q_OBJECT

public:
    DirectoryServer();
    ~DirectoryServer() override;

    QString url(const QString& behaviour) const;

    // Where the first station of "ok" streams from (its url_resolved).
    QString streamUrl = QStringLiteral("http://127.0.0.1:1/none.mp3");
    // A search whose name is a key here is answered after that many milliseconds.
    QHash<QString, int> delays;

    // What was asked, as "path?query", and with which user agent.
    QStringList requests;
    QStringList userAgents;
    // The station ids of the click calls.
    QStringList clicks;

private:
    void readRequest(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QString& behaviour, const QString& call,
                const QUrlQuery& query);
    QByteArray stations(const QString& behaviour, const QUrlQuery& query) const;

    QTcpServer m_server;
};
