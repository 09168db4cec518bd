#pragma once

#include "stations/SettingsStore.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A temporary application folder, and a settings store in a temporary folder of its own, so
// that no test touches the user's lists or settings.
class TestFolder
{
public:
    TestFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const;
    // Writes raw bytes to a file of the folder and returns its path.
    QString write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

    SettingsStore& settings() { return *m_settings; }
    // A fresh store over the same backing files, as the next run of the program sees them.
    std::unique_ptr<SettingsStore> reopenSettings() const;
    // The settings file, and a value as the file on disk holds it now; null when it holds none.
    QString settingsFile() const;
    QString settingOnDisk(const QString& key) const;

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_settingsDir;
    std::unique_ptr<SettingsStore> m_settings;
};

// Makes a file or folder unwritable, for root as well (chattr +i); undone on destruction.
class Unwritable
{
public:
    explicit Unwritable(QString path);
    ~Unwritable();
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;
    bool ok() const; // false where neither the mode nor the attribute could be set

private:
    QString m_path;
    bool m_immutable = false;
};

// A record in the file form, for building test files.
QByteArray StationBytes(const QByteArray& name, const QByteArray& url,
                        const QByteArray& colour = "0", const QByteArray& visible = "1",
                        const QByteArray& bold = "0");

// The stations followed by filler stations and CR LF, exactly `size` bytes in all.
QByteArray StationListOfSize(const QByteArray& stations, qsizetype size);
