#pragma once

#include <QByteArray>
#include <QString>

// How the player tells the kinds of stream addresses apart: the scheme mpv would see, whether an
// address leads to the network (where a station lives) or to this computer, and which addresses
// may reach mpv at all.
namespace StreamAddress {

// The scheme of an address mpv would treat as a protocol, in lower case; empty for a plain
// path (a drive letter is a path too).
QString schemeOf(const QString& address);

// http, https, mms(h/t), rtsp(s) and rtmp(s): the protocols a radio station is reached by.
bool isNetwork(const QString& address);

// Why an address cannot even be tried, or empty: one of absurd length, or with a control
// character, which would end the C string mpv gets (NUL) or smuggle headers into the HTTP
// request (CR LF).
QString malformedText(const QString& address);

// Whether an address may reach mpv: a well-formed network address, file URL or path.
bool isRadioAddress(const QString& address);

// Why the station's address may not reach mpv, or empty.
QString refusedText(const QString& address);

// Why an entry of a playlist may not reach mpv, or empty. The entries of a playlist from the
// network (`networkOnly`) may name only network streams, never files on this computer.
QString entryRefusedText(const QString& entry, bool networkOnly);

// What mpv is given: URLs as they stand, paths made absolute so that "-" or a name that looks
// like an option is always a file.
QByteArray mpvAddress(const QString& address);

} // namespace StreamAddress
