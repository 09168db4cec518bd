#include "stations/StationExport.h"

#include "base/ControlCharacters.h"
#include "base/ProcessState.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

using namespace Qt::StringLiterals;

PlaylistFormat PlaylistFormatOf(QStringView fileName)
{
    return fileName.endsWith(u".pls", Qt::CaseInsensitive) ? PlaylistFormat::Pls
                                                           : PlaylistFormat::M3u8;
}

QByteArray PlaylistBytes(const QList<StationRecord>& stations, PlaylistFormat format)
{
    const bool pls = format == PlaylistFormat::Pls;
    QString text = pls ? u"[playlist]\n"_s : u"#EXTM3U\n"_s;
    int number = 0;
    for (const StationRecord& station : stations) {
        if (HasControlCharacter(station.url))
            continue;
        QString name = station.name;
        std::replace_if(name.begin(), name.end(), IsControlCharacter, u' ');
        if (pls) {
            const QString n = QString::number(++number);
            text += u"File"_s + n + u'=' + station.url + u"\nTitle"_s + n + u'=' + name +
                    u"\nLength"_s + n + u"=-1\n"_s;
        } else {
            text += u"#EXTINF:-1,"_s + name + u'\n' + station.url + u'\n';
        }
    }
    if (pls)
        text += u"NumberOfEntries=%1\nVersion=2\n"_s.arg(number);
    return text.toUtf8();
}

QString ExportStationList(const QString& path)
{
    const QList<StationRecord> stations =
        StationListEntries(ReadStationFile(StationFilePath()), StationFilter::All);
    const QByteArray bytes = PlaylistBytes(stations, PlaylistFormatOf(path));
    QSaveFile file(path);
    // A file the user made read-only stays as it is, though renaming over it would work.
    const QFileInfo existing(path);
    bool ok = !(existing.exists() && !existing.isWritable()) && file.open(QIODevice::WriteOnly);
    // The flush's failure (a full disk) is missed by commit alone.
    ok = ok && file.write(bytes) == bytes.size() && file.flush() && file.commit();
    if (ok)
        return {};
    file.cancelWriting();
    return u"Stanice se nepodařilo uložit do souboru \"%1\"."_s.arg(QDir::toNativeSeparators(path));
}
