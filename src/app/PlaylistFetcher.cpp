#include "app/PlaylistFetcher.h"

#include "app/StreamAddress.h"
#include "app/XmlPlaylist.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Where the relative entries of a playlist start from.
QUrl baseOf(const QString& address)
{
    if (StreamAddress::isNetwork(address) || StreamAddress::schemeOf(address) == u"file"_s)
        return QUrl(address);
    return QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath());
}

} // namespace

PlaylistFetcher::PlaylistFetcher(QObject* parent)
    : QObject(parent)
    , m_network(std::make_unique<QNetworkAccessManager>())
{}

PlaylistFetcher::~PlaylistFetcher()
{
    cancel();
}

void PlaylistFetcher::resolve(const QString& address)
{
    cancel();
    m_pending = {{address, 0}};
    // Always answer later, never from within the caller; a later resolve() or cancel() makes
    // this start stale.
    QTimer::singleShot(0, this, [this, generation = m_generation] {
        if (generation == m_generation)
            next();
    });
}

void PlaylistFetcher::cancel()
{
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    m_pending.clear();
    m_streams.clear();
    m_read.clear();
    ++m_generation;
}

// Takes the entries in order: streams are collected, XML playlists read and their entries put
// in their place.
void PlaylistFetcher::next()
{
    while (!m_pending.isEmpty() && !m_reply) {
        const Pending item = m_pending.takeFirst();
        if (!XmlPlaylist::isXmlPlaylist(item.address)) {
            m_streams.append(item.address);
            continue;
        }
        if (item.depth >= MaxDepth || m_read.contains(item.address))
            continue;
        m_read.insert(item.address);

        if (!StreamAddress::isNetwork(item.address)) {
            QFile file(baseOf(item.address).toLocalFile());
            if (file.open(QIODevice::ReadOnly) && file.size() <= MaxBytes)
                expand(item, file.read(MaxBytes));
            continue;
        }

        QNetworkRequest request{QUrl(item.address)};
        request.setTransferTimeout(TimeoutMs);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        m_reply = m_network->get(request);
        connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received) {
            if (received > MaxBytes)
                m_reply->abort();
        });
        connect(m_reply, &QNetworkReply::finished, this, [this, item] {
            QNetworkReply* reply = m_reply;
            m_reply = nullptr;
            reply->deleteLater();
            const bool complete =
                reply->error() == QNetworkReply::NoError && reply->bytesAvailable() <= MaxBytes;
            if (complete)
                expand({reply->url().toString(), item.depth}, reply->read(MaxBytes));
            next();
        });
    }
    if (m_pending.isEmpty() && !m_reply) {
        const QStringList streams = m_streams;
        m_streams.clear();
        m_read.clear();
        Q_EMIT resolved(streams);
    }
}

void PlaylistFetcher::expand(const Pending& playlist, const QByteArray& data)
{
    const QStringList entries = XmlPlaylist::entries(data, baseOf(playlist.address));
    for (qsizetype i = entries.size() - 1; i >= 0; --i)
        m_pending.prepend({entries.at(i), playlist.depth + 1});
}
