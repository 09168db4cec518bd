#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>

#include <memory>

class CappedFetch;
class QNetworkAccessManager;

// Resolves an ASX or XSPF playlist into the streams it names, for the player to try in order.
// A playlist on the network is fetched with QNetworkAccessManager (at most 1 MiB, 10 s, as
// CappedFetch keeps them); nested XML playlists are followed to a depth of three and each is read
// once, so a playlist that names itself ends. Other entries, .pls and .m3u included, are left to
// mpv.
class PlaylistFetcher final : public QObject
{
    Q_OBJECT

public:
    explicit PlaylistFetcher(QObject* parent = nullptr);
    ~PlaylistFetcher() override;

    // Starts resolving `address`; a resolution under way is dropped without a signal.
    void resolve(const QString& address);
    // Drops the resolution under way; no signal follows.
    void cancel();

    static constexpr qint64 MaxBytes = 1024 * 1024;
    static constexpr int TimeoutMs = 10000;
    static constexpr int MaxDepth = 3;

Q_SIGNALS:
    // The streams in the order to try them; empty when the playlist named none.
    void resolved(const QStringList& streams);

private:
    struct Pending
    {
        QString address;
        int depth;
    };

    void next();
    void expand(const Pending& playlist, const QByteArray& data);

    std::unique_ptr<QNetworkAccessManager> m_network;
    CappedFetch* m_fetch = nullptr; // a child while it runs
    QList<Pending> m_pending;
    QStringList m_streams;
    QSet<QString> m_read;
    quint64 m_generation = 0;
};
