#include "stations/SettingsStore.h"

#include <QDir>
#include <QFileDevice>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

// The settings are plain text in an INI layout of our own. Qt's own INI reader turns values that
// start with "@Variant(" into serialised objects, and a damaged file can make it allocate
// gigabytes; ours only ever reads text.
constexpr qint64 MaxSettingsFileSize = 1 << 20;

QString escapeValue(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += u"\\\\"_s;
        else if (c == u'\n')
            out += u"\\n"_s;
        else if (c == u'\r')
            out += u"\\r"_s;
        else
            out += c;
    }
    return out;
}

QString unescapeValue(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar next = text[++i];
            out += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool readPlainIni(QIODevice& device, QSettings::SettingsMap& map)
{
    const QString text = QString::fromUtf8(device.read(MaxSettingsFileSize));
    QString section;
    for (QStringView raw : QStringView(text).split(u'\n')) {
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        // Blanks around a value are part of it; only the line's start is free.
        const QStringView line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2).trimmed().toString();
            continue;
        }
        const qsizetype equals = raw.indexOf(u'=');
        if (equals < 0 || raw.left(equals).trimmed().isEmpty())
            continue;
        const QString key = raw.left(equals).trimmed().toString();
        const QString full = section.isEmpty() ? key : section + u'/' + key;
        map.insert(full, unescapeValue(raw.mid(equals + 1)));
    }
    return true;
}

bool writePlainIni(QIODevice& device, const QSettings::SettingsMap& map)
{
    // The map is sorted by full key, so each section's keys come together.
    QString out;
    QString current;
    bool first = true;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().lastIndexOf(u'/');
        const QString section = slash < 0 ? QString() : it.key().left(slash);
        const QString key = it.key().mid(slash + 1);
        if (first || section != current) {
            if (!first)
                out += u'\n';
            out += u'[' + section + u"]\n"_s;
            current = section;
            first = false;
        }
        out += key + u'=' + escapeValue(it.value().toString()) + u'\n';
    }
    // A save file's commit misses a buffered write that only its flush finds failing (a full
    // disk), and would replace the settings with a truncated file.
    const QByteArray bytes = out.toUtf8();
    auto* file = qobject_cast<QFileDevice*>(&device);
    return device.write(bytes) == bytes.size() && (!file || file->flush());
}

QSettings::Format plainIniFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(u"ini"_s, readPlainIni, writePlainIni);
    return format;
}

} // namespace

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

bool SettingsStore::isNative() const
{
#ifdef Q_OS_WIN
    return m_location.startsWith(u"HKEY_"_s);
#else
    return false;
#endif
}

QString SettingsStore::location(const QString& application) const
{
    return isNative() ? m_location + u'\\' + application
                      : QDir(m_location).filePath(application + u".ini"_s);
}

QSettings& SettingsStore::settingsFor(const QString& application) const
{
    auto& slot = m_byApplication[application];
    if (slot)
        return *slot;
    slot = std::make_unique<QSettings>(location(application),
                                       isNative() ? QSettings::NativeFormat : plainIniFormat());
    // Values a failed write left behind are kept for the next one.
    if (const auto unwritten = m_unwritten.find(application); unwritten != m_unwritten.end()) {
        for (auto it = unwritten->second.cbegin(); it != unwritten->second.cend(); ++it)
            slot->setValue(it.key(), it.value());
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
    m_unwritten[application].insert(section + u'/' + key, text);
}

bool SettingsStore::sync()
{
    // Values a failed write left behind are tried again.
    for (const auto& unwritten : m_unwritten)
        settingsFor(unwritten.first);
    bool ok = true;
    for (auto& [application, settings] : m_byApplication) {
        if (!settings)
            continue;
        // The file is replaced whole or not at all, so a failed write leaves the old one.
        settings->setAtomicSyncRequired(true);
        settings->sync();
        if (settings->status() == QSettings::NoError) {
            m_unwritten.erase(application);
            continue;
        }
        ok = false;
        // QSettings keeps reporting its first error for good. The next use starts a fresh one,
        // given the values still to be written, so that each later write tells its own outcome.
        settings.reset();
    }
    return ok;
}

bool SettingsStore::holdsValues(const QString& application, const QString& section) const
{
    QSettings& settings = settingsFor(application);
    settings.beginGroup(section);
    const bool any = !settings.childKeys().isEmpty();
    settings.endGroup();
    return any;
}
