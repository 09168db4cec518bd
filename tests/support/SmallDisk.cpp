#include "SmallDisk.h"

#include <QByteArray>
#include <QFile>

#include <csignal>

#include <sys/mount.h>

SmallDisk::SmallDisk(QString folder, qint64 capacity)
    : m_folder(std::move(folder))
{
    const QByteArray options = "size=" + QByteArray::number(capacity);
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs",
                        MS_NOSUID | MS_NODEV, options.constData()) == 0;
    if (m_mounted)
        return;
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_oldLimit);
    rlimit limit = m_oldLimit;
    limit.rlim_cur = rlim_t(capacity);
    m_limited = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    if (m_limited)
        setrlimit(RLIMIT_FSIZE, &m_oldLimit);
    if (!m_mounted)
        std::signal(SIGXFSZ, m_oldHandler);
}
