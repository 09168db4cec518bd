#pragma once

#include <QString>
#include <QStringView>

// Whether a name or URL typed into the station editor can be stored in a station list file.
// The file is Windows-1250 and has no escaping, so a value with a character outside the code
// page, or with the text of one of the format's tags, would be stored wrongly or would break
// its own record and the records after it.

enum class StationField
{
    Name,
    Url
};

// The Czech message that refuses the value, or the empty text when it can be stored.
QString StationValueProblem(StationField field, QStringView value);

// The Czech message that refuses a station whose URL the current list already has.
QString DuplicateUrlMessage();
