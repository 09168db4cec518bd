#include "stations/StationImport.h"

#include <QHash>
#include <QStringDecoder>
#include <QUrl>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

// UTF-8 when the whole file is valid UTF-8 (the decoder drops a leading byte order mark), else
// Latin-1, which every byte sequence is.
QString decodedText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// The name of an "#EXTINF:" line, given what follows the colon: the text after the first comma
// that is not inside the quotes of an attribute (tvg-name="a, b").
QStringView extinfName(QStringView info)
{
    bool quoted = false;
    for (qsizetype i = 0; i < info.size(); ++i) {
        if (info[i] == u'"')
            quoted = !quoted;
        else if (info[i] == u',' && !quoted)
            return info.sliced(i + 1).trimmed();
    }
    return {};
}

bool isTag(QStringView name, QStringView tag)
{
    return name.compare(tag, Qt::CaseInsensitive) == 0;
}

} // namespace

QList<ImportedStation> ReadM3uStations(QByteArrayView bytes)
{
    const QString text = decodedText(bytes);
    QList<ImportedStation> stations;
    QString name;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        line = line.trimmed(); // also the CR of CR LF
        if (line.startsWith(u"#EXTINF:", Qt::CaseInsensitive)) {
            name = extinfName(line.sliced(8)).toString();
        } else if (!line.isEmpty() && !line.startsWith(u'#')) {
            stations.append({std::move(name), line.toString()});
            name.clear();
        }
    }
    return stations;
}

QList<ImportedStation> ReadPlsStations(QByteArrayView bytes)
{
    const QString text = decodedText(bytes);
    QList<ImportedStation> entries;
    QHash<uint, qsizetype> entryOfNumber;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QStringView key = line.first(equals).trimmed();
        const bool file = key.startsWith(u"File", Qt::CaseInsensitive);
        if (!file && !key.startsWith(u"Title", Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const uint number = key.sliced(file ? 4 : 5).toUInt(&ok);
        if (!ok)
            continue;
        auto at = entryOfNumber.constFind(number);
        if (at == entryOfNumber.cend()) {
            at = entryOfNumber.insert(number, entries.size());
            entries.append(ImportedStation());
        }
        // A key given twice keeps its first value.
        QString& value = file ? entries[*at].url : entries[*at].name;
        if (value.isEmpty())
            value = line.sliced(equals + 1).trimmed().toString();
    }
    // A title without its file names nothing.
    entries.removeIf([](const ImportedStation& entry) { return entry.url.isEmpty(); });
    return entries;
}

QList<ImportedStation> ReadXspfStations(QByteArrayView bytes)
{
    QXmlStreamReader xml(bytes.toByteArray());
    QList<ImportedStation> stations;
    ImportedStation track;
    int depth = 0;
    int trackDepth = -1; // the depth of the track being read, -1 outside tracks
    bool webLocation = false;
    while (!xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (depth-- == trackDepth) {
                if (!track.url.isEmpty())
                    stations.append(std::move(track));
                track = {};
                trackDepth = -1;
            }
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        if (trackDepth < 0) {
            if (isTag(xml.name(), u"track")) {
                trackDepth = depth;
                webLocation = false;
            }
            continue;
        }
        // Only the track's own title and locations: an extension may have elements of the
        // same names.
        const bool title = isTag(xml.name(), u"title");
        if (depth != trackDepth + 1 || (!title && !isTag(xml.name(), u"location")))
            continue;
        const QString value = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        --depth; // the text was read up to the element's end
        if (xml.hasError())
            break; // a track cut off by the fault is left out
        if (title) {
            if (track.name.isEmpty())
                track.name = value;
        } else if (!webLocation && !value.isEmpty()) {
            // A track's locations are alternatives: the first one the list can play, or the
            // first one at all (to be refused when the track is added).
            webLocation = IsWebAddress(value);
            if (webLocation || track.url.isEmpty())
                track.url = value;
        }
    }
    return stations;
}

QList<ImportedStation> ReadPlaylistStations(QByteArrayView bytes, QStringView fileName)
{
    if (fileName.endsWith(u".pls", Qt::CaseInsensitive))
        return ReadPlsStations(bytes);
    if (fileName.endsWith(u".xspf", Qt::CaseInsensitive))
        return ReadXspfStations(bytes);
    return ReadM3uStations(bytes);
}

bool IsWebAddress(QStringView address)
{
    if (!address.startsWith(u"http://", Qt::CaseInsensitive) &&
        !address.startsWith(u"https://", Qt::CaseInsensitive))
        return false;
    const QUrl url(address.toString());
    return url.isValid() && !url.host().isEmpty();
}
