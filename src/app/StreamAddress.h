#pragma once

#include <QString>

// How the player tells the kinds of stream addresses apart: the scheme mpv would see, and
// whether an address leads to the network (where a station lives) or to this computer.
namespace StreamAddress {

// The scheme of an address mpv would treat as a protocol, in lower case; empty for a plain
// path (a drive letter is a path too).
QString schemeOf(const QString& address);

// http, https, mms(h/t), rtsp(s) and rtmp(s): the protocols a radio station is reached by.
bool isNetwork(const QString& address);

} // namespace StreamAddress
