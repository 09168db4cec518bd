#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <utility>

// The title a station sends with its stream (the song, usually), made fit for one status line.
namespace StreamTitle {

// A title as the station sent it: UTF-8 when the bytes are valid UTF-8, else Windows-1250, as
// Czech stations often send it; control characters become spaces, runs of spaces one.
QString decode(QByteArrayView bytes);

// The title among a stream's metadata (key, value; keys in any case): the in-band ICY title
// first, then a tag title; empty when there is neither.
QString fromMetadata(const QList<std::pair<QByteArray, QByteArray>>& tags);

} // namespace StreamTitle
