#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkRequest;

// One HTTP GET within the limits every fetch of the program keeps: an answer larger than the
// cap is refused as soon as its announced length or the bytes received pass it, the request
// gives up when its time is up, and redirects go at most five times and never from https to
// http. The callback runs once, unless the fetch is deleted first (which aborts it quietly).
class CappedFetch final : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        QByteArray body;    // the answer when ok()
        QUrl url;           // where it came from, after redirects
        int httpStatus = 0; // 0 when no HTTP answer came
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        bool tooLarge = false;
        bool timedOut = false;
        bool ok() const
        {
            return !tooLarge && !timedOut && error == QNetworkReply::NoError &&
                   (httpStatus == 0 || (httpStatus >= 200 && httpStatus < 300));
        }
    };
    using Done = std::function<void(const Result& result)>;

    // Starts the fetch; `parent` owns it, and it deletes itself after the callback.
    CappedFetch(QNetworkAccessManager& network, QNetworkRequest request, qint64 maxBytes,
                int timeoutMs, Done done, QObject* parent);
    ~CappedFetch() override;

private:
    void finish();

    QNetworkReply* m_reply = nullptr;
    qint64 m_maxBytes;
    Done m_done;
    bool m_tooLarge = false;
    bool m_timedOut = false;
};
