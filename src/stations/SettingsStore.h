#pragma once

#include <QMap>
#include <QSettings>
#include <QString>

#include <map>
#include <memory>

// Per-user text values addressed by application, section and key. On Windows they live in the
// registry under "Software\VB and VBA Program Settings" of the current user, where the
// platform's per-user settings functions keep them; elsewhere in one plain-text INI file per
// application in a folder that the constructor names, so that tests can use a temporary one.
class SettingsStore
{
public:
    // `location`: the folder of the INI files (the registry path on Windows when native).
    explicit SettingsStore(QString location = DefaultLocation());
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    static QString DefaultLocation();

    // The stored text, or `defaultText` when the key has never been written. A key written with
    // the empty text yields the empty text.
    QString get(const QString& application, const QString& section, const QString& key,
                const QString& defaultText) const;

    void save(const QString& application, const QString& section, const QString& key,
              const QString& text);

    // Writes everything to its backing store now. False when it could not be written: the old
    // file then stays whole, and the values are kept for the next write.
    bool sync();

    // Whether any value is stored in the section; nothing is, before the program's first run.
    bool holdsValues(const QString& application, const QString& section) const;

    // Where the application's values are kept: its file (the registry key on Windows).
    QString location(const QString& application) const;

private:
    QSettings& settingsFor(const QString& application) const;
    bool isNative() const;

    QString m_location;
    mutable std::map<QString, std::unique_ptr<QSettings>> m_byApplication;
    // Per application, the values saved since its last successful write.
    std::map<QString, QMap<QString, QString>> m_unwritten;
};
