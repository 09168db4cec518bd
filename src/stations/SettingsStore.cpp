#include "stations/SettingsStore.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

SettingsStore::SettingsStore(QString location)
    : m_location(std::move(location))
{}

SettingsStore::~SettingsStore()
{
    sync();
}

QString SettingsStore::DefaultLocation()
{
#ifdef Q_OS_WIN
    return u"HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings"_s;
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}

QSettings& SettingsStore::settingsFor(const QString& application) const
{
    auto& slot = m_byApplication[application];
    if (!slot) {
#ifdef Q_OS_WIN
        if (m_location.startsWith(u"HKEY_"_s)) {
            slot = std::make_unique<QSettings>(m_location + u'\\' + application,
                                               QSettings::NativeFormat);
            return *slot;
        }
#endif
        slot = std::make_unique<QSettings>(QDir(m_location).filePath(application + u".ini"_s),
                                           QSettings::IniFormat);
    }
    return *slot;
}

QString SettingsStore::get(const QString& application, const QString& section, const QString& key,
                           const QString& defaultText) const
{
    const QVariant value = settingsFor(application).value(section + u'/' + key);
    return value.isValid() ? value.toString() : defaultText;
}

void SettingsStore::save(const QString& application, const QString& section, const QString& key,
                         const QString& text)
{
    settingsFor(application).setValue(section + u'/' + key, text);
}

void SettingsStore::sync()
{
    for (auto& [application, settings] : m_byApplication)
        settings->sync();
}
