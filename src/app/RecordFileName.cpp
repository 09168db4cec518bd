#include "app/RecordFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

using namespace Qt::StringLiterals;

namespace RecordFileName {

namespace {

// Characters some file system refuses (Windows' list is the longest) become an underscore.
QString safePart(const QString& text)
{
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        const bool refused = c.category() == QChar::Other_Control || c == u'\u2028' ||
                             c == u'\u2029' || u"/\\:*?\"<>|"_s.contains(c);
        safe.append(refused ? u'_' : c);
    }
    return safe.simplified();
}

// At most `length` characters, a surrogate pair kept whole.
QString cut(QString text, qsizetype length)
{
    if (text.size() > length) {
        text.truncate(length);
        if (!text.isEmpty() && text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

} // namespace

QString extensionFor(const QString& codec)
{
    static const QHash<QString, QString> extensions = {
        {u"mp3"_s, u"mp3"_s},   {u"aac"_s, u"aac"_s},   {u"vorbis"_s, u"ogg"_s},
        {u"opus"_s, u"opus"_s}, {u"flac"_s, u"flac"_s},
    };
    return extensions.value(codec.toLower(), u"mka"_s);
}

QString compose(const QString& station, const QDateTime& time, const QString& title,
                const QString& extension)
{
    const QString ending = u'.' + safePart(extension);
    QString name = safePart(station) + u' ' + time.toString(u"yyyy-MM-dd HH-mm-ss"_s);
    if (const QString words = safePart(title); !words.isEmpty())
        name += u' ' + words;
    // A leading dot hides the file; Windows drops trailing dots and blanks itself.
    while (name.startsWith(u'.') || name.startsWith(u' '))
        name.remove(0, 1);
    name = cut(name, MaxLength - ending.size());
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return name + ending;
}

QString unusedPath(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    QString path = dir.filePath(name);
    const QFileInfo info(name);
    const QString base = info.completeBaseName(), suffix = info.suffix();
    for (int n = 2; QFileInfo::exists(path); ++n) {
        const QString number = u" (%1)"_s.arg(n);
        path = dir.filePath(cut(base, MaxLength - number.size() - suffix.size() - 1) + number +
                            u'.' + suffix);
    }
    return path;
}

} // namespace RecordFileName
