#pragma once

#include <QString>

#include <sys/resource.h>

// Where writes run out of room: a tmpfs of `capacity` bytes mounted on the empty `folder` where
// the process may mount, else a limit on the size of any file written (RLIMIT_FSIZE, SIGXFSZ
// ignored so that a write fails with EFBIG). Undone on destruction.
class SmallDisk
{
public:
    SmallDisk(QString folder, qint64 capacity);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

private:
    QString m_folder;
    bool m_mounted = false;
    bool m_limited = false;
    rlimit m_oldLimit{};
    void (*m_oldHandler)(int) = nullptr;
};
