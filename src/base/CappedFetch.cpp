#include "base/CappedFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>

namespace {

constexpr int MaxRedirects = 5;

} // namespace

CappedFetch::CappedFetch(QNetworkAccessManager& network, QNetworkRequest request, qint64 maxBytes,
                         int timeoutMs, Done done, QObject* parent)
    : QObject(parent)
    , m_maxBytes(maxBytes)
    , m_done(std::move(done))
{
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    m_reply = network.get(request);
    const auto refuse = [this] {
        m_tooLarge = true;
        m_reply->abort();
    };
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this, refuse] {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_maxBytes)
            refuse();
    });
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this, refuse](qint64 received) {
        if (received > m_maxBytes)
            refuse();
    });
    connect(m_reply, &QNetworkReply::finished, this, &CappedFetch::finish);
    QTimer::singleShot(std::max(timeoutMs, 0), this, [this] {
        m_timedOut = true;
        if (m_reply)
            m_reply->abort();
    });
}

CappedFetch::~CappedFetch()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void CappedFetch::finish()
{
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    reply->disconnect(this);
    reply->deleteLater();
    Result result;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    result.httpStatus = status.isValid() ? status.toInt() : 0;
    result.error = reply->error();
    result.url = reply->url();
    result.tooLarge = m_tooLarge || reply->bytesAvailable() > m_maxBytes;
    result.timedOut = m_timedOut && !result.tooLarge;
    if (result.ok())
        result.body = reply->read(m_maxBytes);
    deleteLater();
    m_done(result);
}
