#include "app/PlaylistFetcher.h"

#include "app/StreamAddress.h"
#include "app/XmlPlaylist.h"
#include "base/CappedFetch.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
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
    delete std::exchange(m_fetch, nullptr); // aborts it without a callback
    m_pending.clear();
    m_streams.clear();
    m_read.clear();
    ++m_generation;
}

// Takes the entries in order: streams are collected, XML playlists read and their entries put
// in their place.
void PlaylistFetcher::next()
{
    while (!m_pending.isEmpty() && !m_fetch) {
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

        m_fetch = new CappedFetch(
            *m_network, QNetworkRequest(QUrl(item.address)), MaxBytes, TimeoutMs,
            [this, item](const CappedFetch::Result& result) {
                m_fetch = nullptr;
                if (result.ok())
                    expand({result.url.toString(), item.depth}, result.body);
                next();
            },
            this);
    }
    if (m_pending.isEmpty() && !m_fetch) {
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
