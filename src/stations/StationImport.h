#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// Reading stations out of playlist files that other players write: M3U and M3U8, PLS and XSPF.
// The readers take the file's bytes as they are and never fail; what they cannot read they leave
// out. Names and addresses come trimmed and unchecked: whether the list can hold them is decided
// when they are added. Each reader is linear in the file's length.

struct ImportedStation
{
    QString name; // empty when the file gives none
    QString url;

    friend bool operator==(const ImportedStation&, const ImportedStation&) = default;
};

// Text files are UTF-8, with or without a byte order mark; a file that is not valid UTF-8 is
// read as Latin-1. Lines end in LF or CR LF.

// M3U and M3U8: every line that is not a comment is an address, named by the "#EXTINF" line
// before it.
QList<ImportedStation> ReadM3uStations(QByteArrayView bytes);

// PLS: the FileN and TitleN keys, in the order of the files.
QList<ImportedStation> ReadPlsStations(QByteArrayView bytes);

// XSPF: the title and the first web address (or else the first location) of each track; the
// tracks read before an XML fault are kept.
QList<ImportedStation> ReadXspfStations(QByteArrayView bytes);

// The reader that the file name's extension asks for; M3U for any other name.
QList<ImportedStation> ReadPlaylistStations(QByteArrayView bytes, QStringView fileName);

// Whether the address is one the list takes from a playlist: http or https, with a host.
bool IsWebAddress(QStringView address);

// Files larger than this are not read at all.
constexpr qint64 MaxPlaylistFileSize = 10 * 1024 * 1024;
