#pragma once

#include <QString>

// The title the list chooser shows for a station list file: the name up to its first ".ksl"
// (letter case aside), with the first character in upper case. "czech.ksl" is "Czech",
// "rock.KSL" "Rock", "old.ksl.ksl" "Old"; a name starting with ".ksl" has the empty title.
QString GetListTitle(const QString& fileName);
