#include "stations/ListTitle.h"

using namespace Qt::StringLiterals;

QString GetListTitle(const QString& fileName)
{
    if (fileName.isEmpty())
        return QString();
    const qsizetype extension = fileName.indexOf(u".ksl"_s, 0, Qt::CaseInsensitive);
    const QString stem = extension < 0 ? fileName : fileName.left(extension);
    if (stem.isEmpty())
        return QString();
    // The first character may be a surrogate pair; it is upper-cased whole.
    const qsizetype first = (stem.size() > 1 && stem.at(0).isHighSurrogate()) ? 2 : 1;
    return stem.left(first).toUpper() + stem.mid(first);
}
