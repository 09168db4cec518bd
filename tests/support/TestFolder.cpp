#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

using namespace Qt::StringLiterals;

TestFolder::TestFolder()
    : m_settings(std::make_unique<SettingsStore>(m_settingsDir.path()))
{}

QString TestFolder::filePath(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

QString TestFolder::write(const QString& name, const QByteArray& bytes) const
{
    QFile file(filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return file.fileName();
}

QByteArray TestFolder::read(const QString& name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<SettingsStore> TestFolder::reopenSettings() const
{
    m_settings->sync();
    return std::make_unique<SettingsStore>(m_settingsDir.path());
}

QString TestFolder::settingsFile() const
{
    return QDir(m_settingsDir.path()).filePath(u"Hollowmere.ini"_s);
}

QString TestFolder::settingOnDisk(const QString& key) const
{
    QFile file(settingsFile()); // the file itself: the process shares one cache of its settings
    const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    for (const QString& line : QString::fromUtf8(text).split(u'\n')) {
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    }
    return QString();
}

static void setWritable(const QString& path, bool writable)
{
    const auto folder = QFileInfo(path).isDir() ? QFile::ExeOwner : QFile::Permissions();
    QFile::setPermissions(path, QFile::ReadOwner | folder |
                                    (writable ? QFile::WriteOwner : QFile::Permissions()));
}

Unwritable::Unwritable(QString path)
    : m_path(std::move(path))
{
    setWritable(m_path, false);
    if (QFileInfo(m_path).isWritable())
        m_immutable = QProcess::execute(u"chattr"_s, {u"+i"_s, m_path}) == 0;
}

Unwritable::~Unwritable()
{
    if (m_immutable)
        QProcess::execute(u"chattr"_s, {u"-i"_s, m_path});
    setWritable(m_path, true);
}

bool Unwritable::ok() const
{
    return !QFileInfo(m_path).isWritable();
}

QByteArray StationBytes(const QByteArray& name, const QByteArray& url, const QByteArray& colour,
                        const QByteArray& visible, const QByteArray& bold)
{
    return "<radiostation><stationname>" + name + "</stationname><stationurl>" + url +
           "</stationurl><stationcolor>" + colour + "</stationcolor><visible>" + visible +
           "</visible><bold>" + bold + "</bold></radiostation>";
}

QByteArray StationListOfSize(const QByteArray& stations, qsizetype size)
{
    QByteArray bytes = stations;
    for (int i = 0; bytes.size() + 400 < size; ++i)
        bytes += StationBytes("Plnidlo", "http://plnidlo.cz/" + QByteArray::number(i));
    const qsizetype rest = size - bytes.size() - StationBytes({}, "http://x/").size() - 2;
    return bytes + StationBytes(QByteArray(rest, 'x'), "http://x/") + "\r\n";
}
