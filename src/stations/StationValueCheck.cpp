#include "stations/StationValueCheck.h"

#include "base/ControlCharacters.h"
#include "stations/Cp1250.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

// Every tag of the format. An opening field tag inside a value misleads the field search as
// much as a closing one, so all of them are refused.
const std::array<QString, 12> Tags = {
    u"<radiostation>"_s, u"</radiostation>"_s, u"<stationname>"_s,  u"</stationname>"_s,
    u"<stationurl>"_s,   u"</stationurl>"_s,   u"<stationcolor>"_s, u"</stationcolor>"_s,
    u"<visible>"_s,      u"</visible>"_s,      u"<bold>"_s,         u"</bold>"_s,
};

} // namespace

QString StationValueProblem(StationField field, QStringView value)
{
    const QString what = field == StationField::Name ? u"Název stanice"_s : u"URL stanice"_s;
    // Reading a list drops every tab and CR LF pair, so such characters would let a tag that
    // the check below does not see appear in the file; any other control character breaks the
    // single-line record or never reads back as written.
    if (HasControlCharacter(value))
        return what + u" nesmí obsahovat tabulátory, konce řádků ani jiné řídicí znaky!"_s;
    if (!Cp1250::canEncode(value))
        return what + u" obsahuje znaky, které nelze uložit do seznamu stanic "
                      u"(kódování Windows-1250)!"_s;
    for (const QString& tag : Tags) {
        if (value.contains(tag, Qt::CaseInsensitive))
            return what +
                   u" nesmí obsahovat text „%1“, který je značkou seznamu stanic!"_s.arg(tag);
    }
    return QString();
}

QString DuplicateUrlMessage()
{
    return u"Stanice s touto URL již existuje!"_s;
}
