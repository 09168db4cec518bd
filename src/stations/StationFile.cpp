#include "stations/StationFile.h"

#include "stations/Cp1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Whether the text at `at` starts with the tag, letter case aside; the text holds the tag's length.
bool asciiCaseEqual(const char16_t* at, QStringView lowerTag)
{
    for (qsizetype i = 0; i < lowerTag.size(); ++i) {
        char16_t c = at[i];
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c + (u'a' - u'A'));
        if (c != lowerTag[i].unicode())
            return false;
    }
    return true;
}

// The next '<' at or after `from`, or -1. Tags lie a few dozen characters apart, so an inline
// search of eight characters at a time beats a library call per tag.
qsizetype nextTagStart(const char16_t* text, qsizetype from, qsizetype size)
{
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i less = _mm_set1_epi16(u'<');
    for (; i + 8 <= size; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, less));
        if (mask != 0)
            return i + (__builtin_ctz(unsigned(mask)) >> 1);
    }
#endif
    for (; i < size; ++i) {
        if (text[i] == u'<')
            return i;
    }
    return -1;
}

} // namespace

qsizetype FindStationTag(QStringView text, QStringView lowerTag, qsizetype from)
{
    // Every tag starts with '<': jump from one '<' to the next and compare the tag there.
    // Linear in the text, whatever it holds.
    const char16_t* chars = text.utf16();
    const qsizetype last = text.size() - lowerTag.size();
    for (qsizetype pos = qMax<qsizetype>(from, 0); pos <= last; ++pos) {
        pos = nextTagStart(chars, pos, text.size());
        if (pos < 0 || pos > last)
            return -1;
        if (asciiCaseEqual(chars + pos, lowerTag))
            return pos;
    }
    return -1;
}

QString DecodeStationText(QByteArrayView bytes)
{
    // One pass: each byte through the code page table, dropping every CR LF pair and every tab.
    // A tab between CR and LF leaves the CR LF behind, as if the pairs went before the tabs.
    const char16_t* table = Cp1250::characters();
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString text(n, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    qsizetype i = 0;
    const auto byteByByte = [&](qsizetype end) {
        for (; i < end; ++i) {
            const unsigned char b = in[i];
            if (b == '\t')
                continue;
            if (b == '\r' && i + 1 < n && in[i + 1] == '\n') {
                ++i;
                continue;
            }
            *out++ = table[b];
        }
    };
#if defined(__SSE2__)
    // Sixteen bytes at a time while they are plain ASCII without CR or tab: widened as they are.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i special = _mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, tab));
        if (_mm_movemask_epi8(_mm_or_si128(special, chunk)) != 0) {
            // A byte of the upper half or one to drop: this chunk goes byte by byte.
            byteByByte(i + 16);
            continue;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(chunk, zero));
        out += 16;
        i += 16;
    }
#endif
    byteByByte(n);
    text.truncate(out - begin);
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
        // Commit alone misses a write the buffer flush fails (a full disk) and would replace
        // the list with a truncated one.
        ok = file.write(bytes) == bytes.size() && file.flush();
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
    // One walk over the record from '<' to '<' finds each field's first opening tag and the
    // first closing tag after it, as a search per field would, in a single pass.
    constexpr std::array<FieldTags, 5> fields{kName, kUrl, kColour, kVisible, kBold};
    std::array<qsizetype, 5> opens;
    std::array<qsizetype, 5> closes;
    opens.fill(-1);
    closes.fill(-1);
    int unresolved = int(fields.size());
    const qsizetype size = inner.size();
    const char16_t* chars = inner.utf16();
    for (qsizetype pos = nextTagStart(chars, 0, size); pos >= 0 && unresolved > 0;
         pos = nextTagStart(chars, pos + 1, size)) {
        const bool closing = pos + 1 < size && chars[pos + 1] == u'/';
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (closes[f] >= 0)
                continue;
            const QStringView tag = closing ? fields[f].close : fields[f].open;
            if ((closing && opens[f] < 0) || (!closing && opens[f] >= 0) ||
                pos + tag.size() > size || !asciiCaseEqual(chars + pos, tag))
                continue;
            if (closing) {
                closes[f] = pos;
                --unresolved;
            } else {
                opens[f] = pos;
            }
            break;
        }
    }
    const auto value = [&](std::size_t f, QStringView& out) {
        if (closes[f] < 0)
            return false;
        const qsizetype start = opens[f] + fields[f].open.size();
        out = inner.mid(start, qMax<qsizetype>(0, closes[f] - start));
        return true;
    };

    StationRecord record;
    QStringView text;
    if (value(0, text))
        record.name = text.toString();
    if (value(1, text))
        record.url = text.toString();
    if (value(2, text))
        record.colour = text.toString();
    // An absent visible field hides the station; only the exact text "0" hides a present one.
    if (value(3, text))
        record.visible = text != u"0";
    if (value(4, text))
        record.bold = text == u"1";
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
    const qsizetype open = FindStationTag(m_text, kRecordOpen, m_position);
    const qsizetype close = open < 0 ? -1 : FindStationTag(m_text, kRecordClose, open);
    if (close < 0) {
        m_done = true;
        return false;
    }
    const qsizetype start = open + kRecordOpen.size();
    inner = m_text.mid(start, close - start);
    m_position = close;
    return true;
}
