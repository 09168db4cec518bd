#include "app/XmlPlaylist.h"

#include "app/StreamAddress.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace XmlPlaylist {

namespace {

bool isEntityChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#';
}

// ASX files are often written by hand: an "&" in a URL is left as it stands. It becomes
// "&amp;" unless it already starts an entity. A UTF-8 byte order mark and blank lines before the
// XML declaration are dropped, which the XML reader would not accept.
QByteArray tidied(QByteArrayView data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    qsizetype start = 0;
    while (start < data.size() && (data[start] == ' ' || data[start] == '\t' ||
                                   data[start] == '\r' || data[start] == '\n'))
        ++start;
    data = data.sliced(start);

    QByteArray result;
    result.reserve(data.size() + 16);
    for (qsizetype i = 0; i < data.size(); ++i) {
        result += data[i];
        if (data[i] != '&')
            continue;
        qsizetype end = i + 1;
        while (end < data.size() && end - i <= 10 && isEntityChar(data[end]))
            ++end;
        if (!(end < data.size() && data[end] == ';' && end > i + 1))
            result += "amp;";
    }
    return result;
}

// The address as mpv is to get it, or empty when it is no address or not allowed here.
QString resolved(const QString& reference, const QUrl& base, bool remote)
{
    const QString trimmed = reference.trimmed();
    if (trimmed.isEmpty())
        return {};
    QUrl url = base.resolved(QUrl(trimmed));
    if (!url.isValid())
        return {};
    if (remote && !StreamAddress::isNetwork(url.toString()))
        return {};
    if (url.isLocalFile())
        return url.toLocalFile();
    return url.toString(QUrl::FullyEncoded);
}

} // namespace

bool isXmlPlaylist(const QString& address)
{
    QString path = address;
    const QUrl url(address);
    if (!StreamAddress::schemeOf(address).isEmpty() && url.isValid())
        path = url.path();
    path = path.toLower();
    for (const QString& extension : {u".asx"_s, u".wax"_s, u".wvx"_s, u".xspf"_s}) {
        if (path.endsWith(extension))
            return true;
    }
    return false;
}

QStringList entries(QByteArrayView data, const QUrl& base)
{
    const bool remote = !base.isLocalFile() && StreamAddress::isNetwork(base.toString());
    QXmlStreamReader xml(tidied(data));
    QStringList result;
    const auto add = [&](const QString& reference) {
        const QString address = resolved(reference, base, remote);
        if (!address.isEmpty())
            result.append(address);
    };
    bool inTrack = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (xml.name().compare(u"track"_s, Qt::CaseInsensitive) == 0)
                inTrack = false;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString().toLower();
        if (name == u"ref"_s || name == u"entryref"_s) {
            // ASX: every <ref> of an <entry> is an alternative source; <entryref> a nested ASX.
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (attribute.name().compare(u"href"_s, Qt::CaseInsensitive) == 0)
                    add(attribute.value().toString());
            }
        } else if (name == u"track"_s) {
            inTrack = true;
        } else if (name == u"location"_s && inTrack) {
            // XSPF: each location of a track is another source of it, tried in order.
            add(xml.readElementText(QXmlStreamReader::SkipChildElements));
        }
    }
    return result;
}

} // namespace XmlPlaylist
