#pragma once

#include <QDateTime>
#include <QString>

// Names of the files a recording writes.
namespace RecordFileName {

// The longest name given, extension included.
inline constexpr int MaxLength = 150;

// The file extension for a stream of libavcodec's codec `codec`, which also picks the container
// the stream is written in unchanged: the codec's own where it has one, else Matroska.
QString extensionFor(const QString& codec);

// "<station> <yyyy-MM-dd HH-mm-ss>.<extension>", or with " <title>" before the extension,
// made safe for every file system: no / \ : * ? " < > | nor control characters, no leading dot
// nor trailing dot or blank, at most MaxLength characters.
QString compose(const QString& station, const QDateTime& time, const QString& title,
                const QString& extension);

// `folder`/`name`, or with " (2)", " (3)"… before the extension when that file exists.
QString unusedPath(const QString& folder, const QString& name);

} // namespace RecordFileName
