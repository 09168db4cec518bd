#include "base/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString AddTrailingBackslash(const QString& path)
{
    if (path.isEmpty() || path.endsWith(u'\\') || path.endsWith(u'/'))
        return path;
    return path + QDir::separator();
}

QString ChooseApplicationFolder(const QString& executableFolder, const QString& userFolder,
                                const QString& seedList)
{
    const QFileInfo exe(executableFolder);
    // An installed program lives in a system folder, which an administrator can write to; its
    // lists still belong in the user's own folder.
    const QString path = QDir::cleanPath(executableFolder) + u'/';
    const bool systemFolder = path.startsWith(u"/usr/"_s) || path.startsWith(u"/bin/"_s) ||
                              path.startsWith(u"/sbin/"_s) || path.startsWith(u"/opt/"_s);
    const bool portable =
        !executableFolder.isEmpty() && exe.isDir() && exe.isWritable() && !systemFolder;
    const QString folder = portable ? executableFolder : userFolder;
    QDir().mkpath(folder);

    // The shipped default list goes wherever the program finds none.
    const QString defaultList = QDir(folder).filePath(u"czech.ksl"_s);
    if (!seedList.isEmpty() && !QFileInfo::exists(defaultList)) {
        // A copy of a resource keeps the resource's read-only mode; the user must own the list.
        if (QFile::copy(seedList, defaultList))
            QFile::setPermissions(defaultList, QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ReadGroup | QFile::ReadOther);
    }
    return QDir::toNativeSeparators(folder);
}

QString ApplicationFolder(const QString& seedList)
{
    static const QString folder = ChooseApplicationFolder(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), seedList);
    return folder;
}
