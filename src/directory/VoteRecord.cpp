#include "directory/VoteRecord.h"

VoteRecord::VoteRecord(Clock clock)
    : m_clock(std::move(clock))
{}

std::shared_ptr<VoteRecord> VoteRecord::program()
{
    static const auto record = std::make_shared<VoteRecord>();
    return record;
}

bool VoteRecord::take(const QString& uuid)
{
    const auto now = m_clock();
    // Older votes no longer matter; the record stays as small as the user's last ten minutes.
    m_sent.removeIf([now](const auto& sent) { return now - sent.value() >= Interval; });
    if (m_sent.contains(uuid))
        return false;
    m_sent.insert(uuid, now);
    return true;
}

void VoteRecord::forget(const QString& uuid)
{
    m_sent.remove(uuid);
}
