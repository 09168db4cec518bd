#include "directory/DirectoryClient.h"

#include "base/CappedFetch.h"

#include <QDeadlineTimer>
#include <QDnsLookup>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString ServiceRecord = u"_api._tcp.radio-browser.info"_s;
// The directory's round-robin name: every server answers to it.
const QString RoundRobinServer = u"https://all.api.radio-browser.info"_s;

enum class Failure
{
    Offline,
    Timeout,
    Http,
    TooLarge,
    Broken
};

// A server that has not answered after this long is left for the next one, as long as the
// request's whole time allows.
constexpr qint64 LeastTimePerServerMs = 2000;

QString message(Failure failure, int status, int timeoutMs = DirectoryClient::DefaultTimeoutMs)
{
    switch (failure) {
    case Failure::Offline:
        return u"Adresář stanic není dostupný. Zkontrolujte připojení k síti."_s;
    case Failure::Timeout:
        return u"Adresář stanic neodpověděl do %1 s. Zkuste to prosím později."_s.arg(
            (timeoutMs + 999) / 1000);
    case Failure::Http:
        return u"Adresář stanic odpověděl chybou (HTTP %1). Zkuste to prosím později."_s.arg(
            status);
    case Failure::TooLarge:
        return u"Odpověď adresáře stanic je větší než 4 MiB, proto nebyla načtena."_s;
    case Failure::Broken:
        break;
    }
    return u"Adresář stanic poslal neúplnou nebo poškozenou odpověď."_s;
}

QString brokenAnswer()
{
    return message(Failure::Broken, 0);
}

} // namespace

// One request, tried on one server after another until one answers or its time is up: the
// timeout is for the whole request, shared among the servers not yet tried.
class DirectoryClient::Fetch : public QObject
{
public:
    Fetch(DirectoryClient& client, UrlFor urlFor, Done done, Failed failed, QDeadlineTimer deadline)
        : QObject(&client)
        , m_client(client)
        , m_urlFor(std::move(urlFor))
        , m_done(std::move(done))
        , m_failed(std::move(failed))
        , m_index(client.m_current)
        , m_deadline(deadline)
    {}

    void attempt()
    {
        const QString base = m_client.m_servers.at(m_index % m_client.m_servers.size());
        QNetworkRequest request(m_urlFor(QUrl(base)));
        request.setHeader(QNetworkRequest::UserAgentHeader, m_client.m_userAgent);
        request.setRawHeader("Accept", "application/json");
        const qint64 left = std::max<qint64>(m_deadline.remainingTime(), 0);
        const qint64 servers = std::max<qint64>(m_client.m_servers.size() - m_tried, 1);
        const int timeout = int(std::min(left, std::max(left / servers, LeastTimePerServerMs)));
        // A child: deleting this request aborts the attempt with it.
        new CappedFetch(
            *m_client.m_network, request, Directory::MaxAnswerBytes, timeout,
            [this](const CappedFetch::Result& result) { finished(result); }, this);
    }

private:
    void finished(const CappedFetch::Result& result)
    {
        Failure failure = Failure::Broken;
        if (result.tooLarge) {
            failure = Failure::TooLarge;
        } else if (result.timedOut) {
            failure = Failure::Timeout;
        } else if (result.ok()) {
            m_client.m_current = m_index % m_client.m_servers.size();
            deleteLater();
            m_done(result.body);
            return;
        } else if (result.httpStatus >= 400) {
            failure = Failure::Http;
        } else if (result.httpStatus == 0) {
            switch (result.error) {
            case QNetworkReply::TooManyRedirectsError:
            case QNetworkReply::InsecureRedirectError:
            case QNetworkReply::ProtocolFailure:
                failure = Failure::Broken;
                break;
            default:
                failure = Failure::Offline;
            }
        }
        // Another server may do better, except with an answer too large: all hold the same data.
        if (failure != Failure::TooLarge && ++m_tried < m_client.m_servers.size() &&
            !m_deadline.hasExpired()) {
            ++m_index;
            attempt();
            return;
        }
        deleteLater();
        m_failed(message(failure, result.httpStatus, m_client.m_timeoutMs));
    }

    DirectoryClient& m_client;
    UrlFor m_urlFor;
    Done m_done;
    Failed m_failed;
    qsizetype m_index = 0;
    qsizetype m_tried = 0;
    QDeadlineTimer m_deadline;
};

DirectoryClient::DirectoryClient(QString userAgent, const QString& baseAddresses, QObject* parent)
    : QObject(parent)
    , m_userAgent(std::move(userAgent))
    , m_servers(baseAddresses.split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts))
    , m_network(std::make_unique<QNetworkAccessManager>())
{}

DirectoryClient::~DirectoryClient()
{
    // The requests go before the manager that made their replies.
    const QObjectList kids = children();
    for (QObject* child : kids) {
        if (auto* fetch = dynamic_cast<Fetch*>(child))
            delete fetch;
    }
}

void DirectoryClient::withServers(std::function<void()> then)
{
    if (!m_servers.isEmpty()) {
        then();
        return;
    }
    m_waiting.append(std::move(then));
    if (m_lookup)
        return;
    m_lookup = new QDnsLookup(QDnsLookup::SRV, ServiceRecord, this);
    connect(m_lookup, &QDnsLookup::finished, this, [this] {
        QStringList servers;
        for (const QDnsServiceRecord& record : m_lookup->serviceRecords()) {
            QString name = record.target();
            while (name.endsWith(u'.'))
                name.chop(1);
            if (!name.isEmpty() && !servers.contains(u"https://"_s + name))
                servers.append(u"https://"_s + name);
        }
        // The directory asks its clients to spread over its servers.
        std::shuffle(servers.begin(), servers.end(), *QRandomGenerator::global());
        servers.append(RoundRobinServer);
        m_servers = servers;
        m_lookup->deleteLater();
        m_lookup = nullptr;
        const auto waiting = std::exchange(m_waiting, {});
        for (const auto& run : waiting)
            run();
    });
    m_lookup->lookup();
}

DirectoryClient::Fetch* DirectoryClient::start(UrlFor urlFor, Done done, Failed failed,
                                               QDeadlineTimer deadline)
{
    auto* fetch = new Fetch(*this, std::move(urlFor), std::move(done), std::move(failed), deadline);
    fetch->attempt();
    return fetch;
}

void DirectoryClient::search(const Directory::SearchQuery& query)
{
    cancel();
    const quint64 generation = m_searchGeneration;
    // The time counts from the user's search, also while the servers are looked up.
    const QDeadlineTimer deadline(m_timeoutMs);
    withServers([this, query, generation, deadline] {
        if (generation != m_searchGeneration)
            return;
        m_search = start([query](const QUrl& base) { return Directory::SearchUrl(base, query); },
                         [this, query](const QByteArray& answer) {
                             m_search = nullptr;
                             const auto stations = Directory::ParseStations(answer);
                             if (!stations)
                                 Q_EMIT searchFailed(brokenAnswer());
                             else
                                 Q_EMIT searchFinished(
                                     Directory::SearchResults(*stations, query.includeBroken));
                         },
                         [this](const QString& message) {
                             m_search = nullptr;
                             Q_EMIT searchFailed(message);
                         },
                         deadline);
    });
}

void DirectoryClient::cancel()
{
    ++m_searchGeneration;
    delete std::exchange(m_search, nullptr);
}

void DirectoryClient::fetchCountries()
{
    withServers([this] {
        start([](const QUrl& base) { return Directory::CountriesUrl(base); },
              [this](const QByteArray& answer) {
                  if (const auto countries = Directory::ParseCountries(answer))
                      Q_EMIT countriesFinished(*countries);
              },
              [](const QString&) {}, QDeadlineTimer(m_timeoutMs));
    });
}

void DirectoryClient::click(const QString& uuid)
{
    if (uuid.isEmpty())
        return;
    withServers([this, uuid] {
        start([uuid](const QUrl& base) { return Directory::ClickUrl(base, uuid); },
              [](const QByteArray&) {}, [](const QString&) {}, QDeadlineTimer(m_timeoutMs));
    });
}

bool DirectoryClient::vote(const QString& uuid)
{
    if (uuid.isEmpty() || !m_votes->take(uuid))
        return false;
    withServers([this, uuid, votes = m_votes] {
        start([uuid](const QUrl& base) { return Directory::VoteUrl(base, uuid); },
              [this, uuid](const QByteArray& answer) {
                  if (const auto vote = Directory::ParseVote(answer))
                      Q_EMIT voteAnswered(uuid, vote->ok, vote->message);
                  else
                      Q_EMIT voteFailed(uuid, brokenAnswer());
              },
              [this, uuid, votes](const QString& message) {
                  votes->forget(uuid);
                  Q_EMIT voteFailed(uuid, message);
              },
              QDeadlineTimer(m_timeoutMs));
    });
    return true;
}
