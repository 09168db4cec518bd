#pragma once

#include <QByteArrayView>
#include <QStringList>
#include <QUrl>

// ASX and XSPF playlists, the XML kinds mpv does not read. The player recognises them by the
// extension of their address and resolves them itself into the addresses they name, in
// document order; nested ASX references are returned as entries, for the caller to follow.
namespace XmlPlaylist {

// Whether the address names an ASX (.asx, .wax, .wvx) or XSPF (.xspf) playlist.
bool isXmlPlaylist(const QString& address);

// The addresses named by the playlist `data` that was read from `base` (a network URL or a
// local file URL), relative ones resolved against `base`, local files returned as plain paths.
// A playlist from the network may name only network streams; the rest are left out. Addresses
// up to a fault in the XML are kept; ASX's sloppy habits (capitals, a bare "&") are accepted.
QStringList entries(QByteArrayView data, const QUrl& base);

} // namespace XmlPlaylist
