#include "stations/SettingsStore.h"

#include <QDir>
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
    return device.write(out.toUtf8()) >= 0;
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
                                           plainIniFormat());
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
