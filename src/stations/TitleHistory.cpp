#include "stations/TitleHistory.h"

#include "base/ControlCharacters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

// The file: the header line, then one entry a line, oldest first, as
// "<ISO time with offset> TAB <station> TAB <title>", in UTF-8.

namespace {

constexpr QStringView Header = u"skylistener title history 1";
// Longer names and titles are cut, so that a full history stays below the size at which a file
// is taken for a damaged one.
constexpr qsizetype MaxFieldLength = 500;
constexpr qint64 MaxFileSize = 4 * 1024 * 1024;
// A time with offset takes 25 bytes, a UTF-16 unit at most three bytes of UTF-8.
static_assert(Header.size() + 1 + TitleHistory::MaxEntries * (25 + 3 * 2 * MaxFieldLength + 3) <
              MaxFileSize);

// A change holds the lock for a few milliseconds; a lock older than this was left by a copy that
// hangs, and one of a copy that is gone is taken over at once.
constexpr int LockTimeout = 2000;    // ms
constexpr int StaleLockTime = 10000; // ms
const QString LockSuffix = u".lock"_s;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

void tell(QString& problem, const QString& message)
{
    if (!problem.isEmpty())
        problem += u'\n';
    problem += message;
}

QString writeProblem(const QString& path)
{
    return u"Historii skladeb nelze uložit do souboru \"%1\"."_s.arg(shown(path));
}

bool takeLock(QLockFile& lock)
{
    lock.setStaleLockTime(StaleLockTime);
    return lock.tryLock(LockTimeout);
}

// A station's name or a title as one field of a line: line breaks, tabs and other control
// characters become spaces, outer blanks go, the length is limited.
QString fieldText(const QString& text)
{
    QString field = text;
    for (QChar& c : field) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    }
    field = field.trimmed();
    if (field.size() > MaxFieldLength)
        field.truncate(MaxFieldLength - (field.at(MaxFieldLength - 1).isHighSurrogate() ? 1 : 0));
    return field;
}

// The ISO form is defined for the years 1 to 9999 only; a time outside cannot be read back.
QDateTime storableTime(const QDateTime& time)
{
    const int year = time.date().year();
    return time.isValid() && year >= 1 && year <= 9999 ? time : QDateTime::currentDateTime();
}

std::optional<HistoryEntry> parseEntry(QStringView line)
{
    const qsizetype tab1 = line.indexOf(u'\t');
    const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf(u'\t', tab1 + 1);
    if (tab2 < 0)
        return std::nullopt;
    const QStringView station = line.sliced(tab1 + 1, tab2 - tab1 - 1);
    const QStringView title = line.sliced(tab2 + 1);
    const QDateTime time = QDateTime::fromString(line.first(tab1).toString(), Qt::ISODate);
    if (!time.isValid() || title.isEmpty() || HasControlCharacter(station) ||
        HasControlCharacter(title))
        return std::nullopt;
    return HistoryEntry{time, station.toString(), title.toString()};
}

// The entries of a file's bytes, oldest first; false when the bytes are not a history of this
// program. An empty file is an empty history.
bool parseHistory(const QByteArray& bytes, QList<HistoryEntry>& entries)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return false;
    const QStringView all(text);
    for (qsizetype start = 0; start < all.size();) {
        qsizetype end = all.indexOf(u'\n', start);
        if (end < 0)
            end = all.size();
        const QStringView line = all.sliced(start, end - start);
        if (start == 0) {
            if (line != Header)
                return false;
        } else if (auto entry = parseEntry(line)) {
            entries.append(std::move(*entry));
        } else {
            return false;
        }
        start = end + 1;
    }
    return true;
}

// The first of "<path>.poskozeny", "<path>.poskozeny2", ... that is free.
QString asideName(const QString& path)
{
    const QString base = path + u".poskozeny"_s;
    QString name = base;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = base + QString::number(n);
    return name;
}

// The entries the file holds now, oldest first; none when there is no file.
// A damaged file is renamed aside, but only by the holder of the lock: another copy may be
// replacing it with a good one. Nothing when the file can be neither read nor set aside.
std::optional<QList<HistoryEntry>> readHistory(const QString& path, bool locked, QString& problem)
{
    QFile file(path);
    if (!file.exists())
        return QList<HistoryEntry>();
    if (!file.open(QIODevice::ReadOnly)) {
        tell(problem, u"Soubor historie skladeb \"%1\" nelze přečíst."_s.arg(shown(path)));
        return std::nullopt;
    }
    const QByteArray bytes = file.read(MaxFileSize + 1);
    file.close();
    QList<HistoryEntry> entries;
    if (bytes.size() <= MaxFileSize && parseHistory(bytes, entries))
        return entries;
    if (!locked)
        return QList<HistoryEntry>();
    const QString aside = asideName(path);
    if (!QFile::rename(path, aside)) {
        tell(problem,
             u"Soubor historie skladeb \"%1\" je poškozený a nepodařilo se jej odložit."_s.arg(
                 shown(path)));
        return std::nullopt;
    }
    tell(problem, u"Soubor historie skladeb \"%1\" byl poškozený. Byl odložen jako \"%2\" "
                  u"a historie začíná znovu."_s.arg(shown(path), shown(aside)));
    return QList<HistoryEntry>();
}

bool writeHistory(const QString& path, const QList<HistoryEntry>& entries, QString& problem)
{
    QString text = Header.toString() + u'\n';
    for (const HistoryEntry& entry : entries) {
        const QDateTime& time = entry.time;
        text += time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate) + u'\t' +
                entry.station + u'\t' + entry.title + u'\n';
    }
    const QByteArray bytes = text.toUtf8();
    // The old file is replaced only by a complete new one; commit alone would miss a failed
    // flush of the buffer (a full disk).
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                    file.flush() && file.commit();
    if (!ok) {
        file.cancelWriting();
        tell(problem, writeProblem(path));
    }
    return ok;
}

// Applies `edit` to the entries the file holds now and writes them, all under the lock, so that
// what another running copy wrote meanwhile is kept.
template <typename Edit> bool changeHistory(const QString& path, QString& problem, Edit edit)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QLockFile lock(path + LockSuffix);
    if (!takeLock(lock)) {
        tell(problem, writeProblem(path));
        return false;
    }
    std::optional<QList<HistoryEntry>> entries = readHistory(path, true, problem);
    if (!entries)
        return false;
    edit(*entries);
    if (entries->size() > TitleHistory::MaxEntries)
        entries->remove(0, entries->size() - TitleHistory::MaxEntries);
    return writeHistory(path, *entries, problem);
}

} // namespace

TitleHistory::TitleHistory(QString filePath)
    : m_path(std::move(filePath))
{}

bool TitleHistory::add(const QDateTime& time, const QString& station, const QString& title)
{
    const HistoryEntry entry{storableTime(time), fieldText(station), fieldText(title)};
    if (entry.title.isEmpty() || entry.title == entry.station || entry.title == m_lastTitle)
        return false;
    if (!changeHistory(m_path, m_problem, [&](QList<HistoryEntry>& all) { all.append(entry); }))
        return false;
    m_lastTitle = entry.title;
    return true;
}

QList<HistoryEntry> TitleHistory::entries()
{
    if (!QFileInfo::exists(m_path))
        return {};
    QLockFile lock(m_path + LockSuffix);
    const bool locked = takeLock(lock);
    QList<HistoryEntry> all =
        readHistory(m_path, locked, m_problem).value_or(QList<HistoryEntry>());
    std::reverse(all.begin(), all.end());
    return all;
}

bool TitleHistory::clear()
{
    return changeHistory(m_path, m_problem, [](QList<HistoryEntry>& all) { all.clear(); });
}

QString TitleHistory::takeProblem()
{
    return std::exchange(m_problem, QString());
}
