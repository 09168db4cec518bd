#pragma once

#include "stations/StationRecord.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The station list file format: single-line runs of <radiostation> records in Windows-1250,
// ending with CR LF. Reading never fails (a missing file is an empty list); writing goes
// through a save file, so a failed write leaves the old file whole.

// The whole file as text: decoded from Windows-1250, every CR LF pair and every tab removed.
// A missing, empty or unreadable file yields the empty text.
QString ReadStationFile(const QString& path);

// The same preparation for bytes already in memory.
QString DecodeStationText(QByteArrayView bytes);

// Replaces the file with the text followed by CR LF. An empty path writes nothing and counts
// as success. On failure the old file is untouched, false is returned and `errorMessage`
// (when given) holds a Czech message naming the file.
[[nodiscard]] bool WriteStationFile(const QString& text, const QString& path,
                                    QString* errorMessage = nullptr);

// The message shown when a station list file cannot be written.
QString StationFileWriteErrorMessage(const QString& path);

// The five values of a record, from its inner text (the text between the record tags).
StationRecord ParseStationRecord(QStringView inner);

// The URL of a record alone, from its inner text; empty when the record has none.
QString GetStationUrl(QStringView inner);

// A record built from field values, lower-case tags, nothing between them.
QString BuildStationRecord(const QString& name, const QString& url, const QString& colour,
                           const QString& visible, const QString& bold);

// A record carried over by a rewrite: its inner text as read inside lower-case record tags.
QString WrapStationRecord(QStringView inner);

// The first tag at or after `from`, letter case aside; `lowerTag` is an ASCII tag in lower case
// starting with '<'. -1 when there is none.
qsizetype FindStationTag(QStringView text, QStringView lowerTag, qsizetype from);

// Walks the records of a file's text in file order, yielding each record's inner text.
// Text outside records is skipped; an unterminated record runs on to the next closing tag,
// and a last record without its closing tag ends the scan. Linear in the text's length.
class StationRecordScan
{
public:
    explicit StationRecordScan(QStringView text)
        : m_text(text)
    {}

    // The next record's inner text, or false when there is none.
    bool next(QStringView& inner);

private:
    QStringView m_text;
    qsizetype m_position = 0;
    bool m_done = false;
};
