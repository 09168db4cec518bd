#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One title the playing station sent, when it came and from which station.
struct HistoryEntry
{
    QDateTime time;
    QString station;
    QString title;

    bool operator==(const HistoryEntry&) const = default;
};

// The titles the user heard, kept in one UTF-8 file of at most MaxEntries entries. Every change
// is merged into what the file holds now, under a lock, and written whole into a new file that
// replaces the old one only when complete: a second running copy of the program loses none of
// its entries, and a crash or a full disk leaves the old file as it was. A file that is not a
// history of this program, or is damaged, is renamed aside and the history starts empty; the
// Czech message that says so waits in takeProblem().
class TitleHistory
{
public:
    static constexpr int MaxEntries = 1000;

    explicit TitleHistory(QString filePath);

    QString filePath() const { return m_path; }

    // Keeps `title` unless it is empty, equals the station's name or equals the title this
    // program kept last; true when it was kept. False also when the file could not be written
    // (takeProblem() says why).
    bool add(const QDateTime& time, const QString& station, const QString& title);
    // The entries, newest first, as the file holds them now.
    QList<HistoryEntry> entries();
    // Empties the history; false when the file could not be written.
    bool clear();

    // What went wrong with the file since the last call, as a Czech message; empty when nothing.
    QString takeProblem();

private:
    QString m_path;
    QString m_lastTitle;
    QString m_problem;
};
