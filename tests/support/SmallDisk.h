#pragma once

#include <QFile>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>

// Writes run out of room: a tmpfs of `capacity` bytes mounted on the empty `folder`, or where
// the process may not mount, a limit on the size of any file written (writes fail with EFBIG).
class SmallDisk
{
public:
    SmallDisk(const QString& folder, qint64 capacity)
        : m_folder(QFile::encodeName(folder))
    {
        const QByteArray options = "size=" + QByteArray::number(capacity);
        m_mounted =
            ::mount("tmpfs", m_folder.data(), "tmpfs", MS_NOSUID | MS_NODEV, options.data()) == 0;
        if (m_mounted)
            return;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_oldLimit);
        const rlimit limit{rlim_t(capacity), m_oldLimit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~SmallDisk()
    {
        if (m_mounted) {
            ::umount2(m_folder.data(), MNT_DETACH);
        } else {
            setrlimit(RLIMIT_FSIZE, &m_oldLimit);
            std::signal(SIGXFSZ, m_oldHandler);
        }
    }
    Q_DISABLE_COPY(SmallDisk)

private:
    QByteArray m_folder;
    bool m_mounted = false;
    rlimit m_oldLimit{};
    void (*m_oldHandler)(int) = nullptr;
};
