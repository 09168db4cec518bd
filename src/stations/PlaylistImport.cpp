#include "stations/PlaylistImport.h"

#include "stations/StationImport.h"
#include "stations/StationValueCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// The Czech form for a count: 1, 2 to 4, and the rest (0, 5 and more).
QString counted(qsizetype n, QStringView one, QStringView few, QStringView many)
{
    const QStringView form = n == 1 ? one : (n >= 2 && n <= 4) ? few : many;
    return u"%1 %2"_s.arg(QString::number(n), form);
}

} // namespace

QString ImportPlaylistFile(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return u"Soubor %1 se nepodařilo otevřít."_s.arg(shown);
    // One byte past the limit tells a larger file, whatever size the system reports for it.
    const QByteArray bytes = file.read(MaxPlaylistFileSize + 1);
    if (bytes.size() > MaxPlaylistFileSize)
        return u"Soubor %1 je větší než 10 MB, stanice z něj nelze načíst."_s.arg(shown);
    if (file.error() != QFile::NoError)
        return u"Soubor %1 se nepodařilo přečíst."_s.arg(shown);

    QList<StationRecord> stations;
    qsizetype otherAddresses = 0;
    for (const ImportedStation& entry : ReadPlaylistStations(bytes, path)) {
        // A playlist may name files and special player addresses; the list takes only streams.
        // Checked before the name, which may be the address itself.
        if (!IsWebAddress(entry.url) ||
            !StationValueProblem(StationField::Url, entry.url).isEmpty()) {
            ++otherAddresses;
            continue;
        }
        stations.append(
            {entry.name.isEmpty() ? entry.url : entry.name, entry.url, u"0"_s, true, false});
    }
    StationBatchAdd outcome = AddCheckedStations(stations);
    if (outcome.failure)
        return outcome.failure->message;
    outcome.badUrls += otherAddresses;
    return ImportSummaryText(outcome);
}

QString ImportSummaryText(const StationBatchAdd& outcome)
{
    const qsizetype skipped = outcome.duplicates + outcome.badUrls + outcome.badNames;
    // The verb agrees with the count as the noun does: "Přidána 1 stanice", "Přidány 2 stanice".
    const qsizetype added = outcome.added;
    const QString verb = added == 1                   ? u"Přidána"_s
                         : (added >= 2 && added <= 4) ? u"Přidány"_s
                                                      : u"Přidáno"_s;
    QString text = u"%1 %2, přeskočeno %3"_s.arg(
        verb, counted(added, u"stanice", u"stanice", u"stanic"), QString::number(skipped));
    QStringList reasons;
    if (outcome.duplicates > 0)
        reasons.append(QString::number(outcome.duplicates) + u" již v seznamu"_s);
    if (outcome.badUrls > 0)
        reasons.append(
            counted(outcome.badUrls, u"neplatná adresa", u"neplatné adresy", u"neplatných adres"));
    if (outcome.badNames > 0)
        reasons.append(
            counted(outcome.badNames, u"neplatný název", u"neplatné názvy", u"neplatných názvů"));
    if (!reasons.isEmpty())
        text += u" ("_s + reasons.join(u", "_s) + u')';
    return text + u'.';
}
