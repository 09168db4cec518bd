#pragma once

#include <QString>

// One station as read from a station list file. The URL is its identity, compared without
// regard to letter case; the colour is kept as its text and converted where it is shown.
struct StationRecord
{
    QString name;
    QString url;
    QString colour;
    bool visible = false;
    bool bold = false;
};
