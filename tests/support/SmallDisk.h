#pragma once

#include <QString>

#include <sys/resource.h>

// A place where writes run out of room: a tmpfs of `capacity` bytes mounted on an empty folder
// when the process may mount one (root with the right to mount), otherwise a limit on the size
// of any file the process writes (RLIMIT_FSIZE, with SIGXFSZ ignored so a write fails with
// EFBIG instead of ending the process). Both are undone on destruction.
class SmallDisk
{
public:
    // `folder` must exist and be empty; files to fill go there.
    SmallDisk(QString folder, qint64 capacity);
    ~SmallDisk();

    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // Whether a real small file system is mounted (else a file-size limit is in force).
    bool mounted() const { return m_mounted; }
    QString describe() const;

private:
    QString m_folder;
    qint64 m_capacity = 0;
    bool m_mounted = false;
    bool m_limited = false;
    rlimit m_oldLimit{};
    void (*m_oldHandler)(int) = nullptr;
};
