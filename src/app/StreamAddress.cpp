#include "app/StreamAddress.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace StreamAddress {

QString schemeOf(const QString& address)
{
    const qsizetype mark = address.indexOf(u"://"_s);
    if (mark >= 0)
        return address.left(mark).toLower();
    // mpv also reads "scheme:" forms for some of its own sources; a drive letter is a path.
    const qsizetype colon = address.indexOf(u':');
    if (colon > 1 && !address.left(colon).contains(u'/') && !address.left(colon).contains(u'\\'))
        return address.left(colon).toLower();
    return {};
}

bool isNetwork(const QString& address)
{
    static const QStringList schemes = {u"http"_s, u"https"_s, u"mms"_s,  u"mmsh"_s, u"mmst"_s,
                                        u"rtsp"_s, u"rtsps"_s, u"rtmp"_s, u"rtmps"_s};
    return schemes.contains(schemeOf(address));
}

} // namespace StreamAddress
