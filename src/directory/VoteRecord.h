#pragma once

#include <QHash>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

// When the user last voted for each station. The directory counts one vote per station from an
// address in ten minutes and asks its clients not to send more often. One record serves the whole
// program by default, so that closing and reopening the finder forgets nothing.
class VoteRecord
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::minutes Interval{10};

    explicit VoteRecord(Clock clock = [] { return std::chrono::steady_clock::now(); });

    static std::shared_ptr<VoteRecord> program();

    // Whether a vote for the station may go now; if so, the next one waits Interval from now.
    bool take(const QString& uuid);
    // For a vote that never reached the directory: the user may try again at once.
    void forget(const QString& uuid);

private:
    Clock m_clock;
    QHash<QString, std::chrono::steady_clock::time_point> m_sent;
};
