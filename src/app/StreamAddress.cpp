#include "app/StreamAddress.h"

#include "app/StatusText.h"
#include "base/ControlCharacters.h"

#include <QFileInfo>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace StreamAddress {

namespace {

// Longer addresses are no radio station; they only feed mpv and ffmpeg needless work.
constexpr qsizetype MaxLength = 8192;

} // namespace

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

QString malformedText(const QString& address)
{
    if (address.size() > MaxLength)
        return StatusText::AddressTooLong();
    return HasControlCharacter(address) ? StatusText::AddressInvalid() : QString();
}

bool isRadioAddress(const QString& address)
{
    if (!malformedText(address).isEmpty())
        return false;
    const QString scheme = schemeOf(address);
    return scheme.isEmpty() || scheme == u"file"_s || isNetwork(address);
}

QString refusedText(const QString& address)
{
    if (QString malformed = malformedText(address); !malformed.isEmpty())
        return malformed;
    return isRadioAddress(address) ? QString() : StatusText::AddressRefused(schemeOf(address));
}

QString entryRefusedText(const QString& entry, bool networkOnly)
{
    // The entry itself is not shown: it came from a stranger and may hold anything.
    if (!malformedText(entry).isEmpty())
        return StatusText::AddressRefused(u"?"_s);
    if (isRadioAddress(entry) && (!networkOnly || isNetwork(entry)))
        return {};
    const QString scheme = schemeOf(entry);
    return StatusText::AddressRefused(scheme.isEmpty() ? u"file"_s : scheme);
}

QByteArray mpvAddress(const QString& address)
{
    if (!schemeOf(address).isEmpty())
        return address.toUtf8();
    return QFileInfo(address).absoluteFilePath().toUtf8();
}

} // namespace StreamAddress
