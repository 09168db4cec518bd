#pragma once

#include "stations/SettingsStore.h"

#include <QtCore>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

// A temporary application folder and settings store: no test touches the user's files.
class TestFolder
{
public:
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    // Writes raw bytes to a file of the folder and returns its path.
    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
        return file.fileName();
    }
    QByteArray read(const QString& name) const // also of a path outside the folder
    {
        QFile file(name.startsWith(u'/') ? name : filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    SettingsStore& settings() { return *m_settings; }
    // A fresh store over the same backing files, as the next run of the program sees them.
    std::unique_ptr<SettingsStore> reopenSettings() const
    {
        m_settings->sync();
        return std::make_unique<SettingsStore>(m_settingsDir.path());
    }
    QString settingsFile() const { return m_settingsDir.filePath(u"Hollowmere.ini"_s); }

private:
    QTemporaryDir m_dir, m_settingsDir;
    std::unique_ptr<SettingsStore> m_settings =
        std::make_unique<SettingsStore>(m_settingsDir.path());
};

// Writes fail as on a full disk while it lives: no file may grow past `bytes`.
class DiskFull
{
public:
    explicit DiskFull(qint64 bytes = 0)
    {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limit{rlim_t(bytes), m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~DiskFull() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

// A record in the file form, for building test files.
inline QByteArray StationBytes(const QByteArray& name, const QByteArray& url,
                               const QByteArray& colour = "0", const QByteArray& visible = "1",
                               const QByteArray& bold = "0")
{
    return "<radiostation><stationname>" + name + "</stationname><stationurl>" + url +
           "</stationurl><stationcolor>" + colour + "</stationcolor><visible>" + visible +
           "</visible><bold>" + bold + "</bold></radiostation>";
}
