#pragma once

#include "directory/DirectoryAnswer.h"
#include "directory/VoteRecord.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QDnsLookup;
class QNetworkAccessManager;

// Asks the community station directory for stations and countries. Nothing is sent before the
// first call. The servers come from the directory's DNS service record, in random order, with its
// round-robin name as the last resort; a server that fails is left for the next one. The setting
// "DirectoryUrl" (one or more base addresses separated by blanks) replaces them, for a mirror of
// one's own and for tests. Every answer is refused beyond 4 MiB and every request gives up after
// the timeout, however many servers it tries; failures come as Czech messages. A new search drops
// the one under way.
class DirectoryClient : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultTimeoutMs = 10000;

    // `userAgent`: the program's name and version. `baseAddresses`: empty to use the
    // directory's own servers.
    DirectoryClient(QString userAgent, const QString& baseAddresses, QObject* parent = nullptr);
    ~DirectoryClient() override;

    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

    // Answers with searchFinished or searchFailed, unless a later search or cancel() comes first.
    void search(const Directory::SearchQuery& query);
    void cancel();
    bool searching() const { return bool(m_search); }

    // Answers with countriesFinished; a failure leaves the choice as it is and says nothing.
    void fetchCountries();

    // Tells the directory that the user played or added the station.
    void click(const QString& uuid);

    // Gives the station the user's vote; answers with voteAnswered or voteFailed. Sends nothing
    // and is false when the votes say it is too soon, or without a station id.
    bool vote(const QString& uuid);
    // Where the votes are kept: the program's record unless replaced.
    void setVotes(std::shared_ptr<VoteRecord> votes) { m_votes = std::move(votes); }

Q_SIGNALS:
    void searchFinished(const QList<Directory::Station>& stations);
    void searchFailed(const QString& message);
    void countriesFinished(const QList<Directory::Country>& countries);
    // `accepted` false: the directory refused the vote, saying `message`.
    void voteAnswered(const QString& uuid, bool accepted, const QString& message);
    void voteFailed(const QString& uuid, const QString& message);

private:
    class Fetch;
    using UrlFor = std::function<QUrl(const QUrl& base)>;
    using Done = std::function<void(const QByteArray& answer)>;
    using Failed = std::function<void(const QString& message)>;

    // Runs `then` once the server list is known.
    void withServers(std::function<void()> then);
    Fetch* start(UrlFor urlFor, Done done, Failed failed, QDeadlineTimer deadline);

    QString m_userAgent;
    int m_timeoutMs = DefaultTimeoutMs;
    QStringList m_servers;
    // The server that answered last is asked first.
    qsizetype m_current = 0;
    std::unique_ptr<QNetworkAccessManager> m_network;
    QDnsLookup* m_lookup = nullptr;
    QList<std::function<void()>> m_waiting;
    Fetch* m_search = nullptr;
    quint64 m_searchGeneration = 0;
    std::shared_ptr<VoteRecord> m_votes = VoteRecord::program();
};
