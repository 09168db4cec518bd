#pragma once

#include <QString>
#include <QStringView>

// Whether a name or URL can be stored in a station list file, whoever gives it: typed or pasted
// into the station editor, or taken from the station directory. The file is Windows-1250, one
// line, and has no escaping, so a value with a control character, a character outside the code
// page or the text of one of the format's tags would be stored wrongly or would break its own
// record and the records after it.

enum class StationField
{
    Name,
    Url
};

// The Czech message that refuses the value, or the empty text when it can be stored.
QString StationValueProblem(StationField field, QStringView value);

// The Czech message that refuses a station whose URL the current list already has.
QString DuplicateUrlMessage();
