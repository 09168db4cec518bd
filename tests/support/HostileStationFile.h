#pragma once

#include <QByteArray>

// A station list file made to hurt a reader, of about `size` bytes: a thousand records that
// never end, tags repeated tens of thousands of times without their closing tags, bytes that
// Windows-1250 leaves undefined, NUL runs, lone CRs and tabs. It starts with the station
// "Začátek" (http://start/) and ends with the complete station "Konec" (http://konec/); no
// "<stationurl>" tag appears in between.
QByteArray HostileStationBytes(qsizetype size);
