#include "stations/StationFile.h"

#include "stations/Cp1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView kRecordOpen = u"<radiostation>";
constexpr QStringView kRecordClose = u"</radiostation>";

struct FieldTags
{
    QStringView open;
    QStringView close;
};

constexpr FieldTags kName{u"<stationname>", u"</stationname>"};
constexpr FieldTags kUrl{u"<stationurl>", u"</stationurl>"};
constexpr FieldTags kColour{u"<stationcolor>", u"</stationcolor>"};
constexpr FieldTags kVisible{u"<visible>", u"</visible>"};
constexpr FieldTags kBold{u"<bold>", u"</bold>"};

// The first occurrence of a field in a record; nothing when either tag is missing.
bool findField(QStringView inner, FieldTags tags, QStringView& value)
{
    const qsizetype open = FindStationTag(inner, tags.open, 0);
    if (open < 0)
        return false;
    const qsizetype close = FindStationTag(inner, tags.close, open);
    if (close < 0)
        return false;
    const qsizetype start = open + tags.open.size();
    value = inner.mid(start, qMax<qsizetype>(0, close - start));
    return true;
}

bool asciiCaseEqual(QStringView text, QStringView lowerTag)
{
    for (qsizetype i = 0; i < lowerTag.size(); ++i) {
        char16_t c = text[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c + (u'a' - u'A'));
        if (c != lowerTag[i].unicode())
            return false;
    }
    return true;
}

} // namespace

qsizetype FindStationTag(QStringView text, QStringView lowerTag, qsizetype from)
{
    // Every tag starts with '<': jump from one '<' to the next with the fast character search
    // and compare the tag there. Linear in the text, whatever it holds.
    const qsizetype last = text.size() - lowerTag.size();
    for (qsizetype pos = qMax<qsizetype>(from, 0); pos <= last; ++pos) {
        pos = text.indexOf(u'<', pos);
        if (pos < 0 || pos > last)
            return -1;
        if (asciiCaseEqual(text.mid(pos, lowerTag.size()), lowerTag))
            return pos;
    }
    return -1;
}

QString DecodeStationText(QByteArrayView bytes)
{
    QString text = Cp1250::decode(bytes);
    // CR LF pairs first, then tabs, so that a tab between CR and LF leaves a CR LF behind.
    text.remove(u"\r\n"_s);
    text.remove(u'\t');
    return text;
}

QString ReadStationFile(const QString& path)
{
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeStationText(file.readAll());
}

QString StationFileWriteErrorMessage(const QString& path)
{
    return u"Seznam stanic se nepodařilo uložit do souboru \"%1\". "
           u"Soubor zůstal beze změny."_s.arg(QDir::toNativeSeparators(path));
}

bool WriteStationFile(const QString& text, const QString& path, QString* errorMessage)
{
    if (path.isEmpty())
        return true;
    QSaveFile file(path);
    // A save file replaces its target by renaming over it, which would also replace a list the
    // user made read-only; such a list must stay as it is, even for an administrator.
    const QFileInfo existing(path);
    const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    const bool readOnly =
        existing.exists() && (!existing.isWritable() || !(existing.permissions() & writeBits));
    bool ok = !readOnly;
    ok = ok && file.open(QIODevice::WriteOnly);
    if (ok) {
        const QByteArray bytes = Cp1250::encode(text) + "\r\n";
        ok = file.write(bytes) == bytes.size();
        ok = ok && file.commit();
        if (!ok)
            file.cancelWriting();
    }
    if (!ok && errorMessage)
        *errorMessage = StationFileWriteErrorMessage(path);
    return ok;
}

StationRecord ParseStationRecord(QStringView inner)
{
    StationRecord record;
    QStringView value;
    if (findField(inner, kName, value))
        record.name = value.toString();
    if (findField(inner, kUrl, value))
        record.url = value.toString();
    if (findField(inner, kColour, value))
        record.colour = value.toString();
    // An absent visible field hides the station; only the exact text "0" hides a present one.
    if (findField(inner, kVisible, value))
        record.visible = value != u"0";
    if (findField(inner, kBold, value))
        record.bold = value == u"1";
    return record;
}

QString GetStationUrl(QStringView inner)
{
    QStringView value;
    return findField(inner, kUrl, value) ? value.toString() : QString();
}

QString BuildStationRecord(const QString& name, const QString& url, const QString& colour,
                           const QString& visible, const QString& bold)
{
    return u"<radiostation><stationname>"_s + name + u"</stationname><stationurl>"_s + url +
           u"</stationurl><stationcolor>"_s + colour + u"</stationcolor><visible>"_s + visible +
           u"</visible><bold>"_s + bold + u"</bold></radiostation>"_s;
}

QString WrapStationRecord(QStringView inner)
{
    QString record;
    record.reserve(kRecordOpen.size() + inner.size() + kRecordClose.size());
    record.append(kRecordOpen).append(inner).append(kRecordClose);
    return record;
}

bool StationRecordScan::next(QStringView& inner)
{
    if (m_done || m_position >= m_text.size()) {
        m_done = true;
        return false;
    }
    const qsizetype open = m_text.indexOf(kRecordOpen, m_position, Qt::CaseInsensitive);
    const qsizetype close = open < 0 ? -1 : m_text.indexOf(kRecordClose, open, Qt::CaseInsensitive);
    if (close < 0) {
        m_done = true;
        return false;
    }
    const qsizetype start = open + kRecordOpen.size();
    inner = m_text.mid(start, close - start);
    m_position = close;
    return true;
}
