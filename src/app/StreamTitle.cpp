#include "app/StreamTitle.h"

#include "stations/Cp1250.h"

#include <QStringDecoder>

namespace StreamTitle {

QString decode(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = Cp1250::decode(bytes);
    // A line break or other control character has no place in one status line.
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    }
    return text.simplified();
}

QString fromMetadata(const QList<std::pair<QByteArray, QByteArray>>& tags)
{
    QString title;
    for (const auto& [key, value] : tags) {
        const QByteArray name = key.toLower();
        if (name == "icy-title")
            return decode(value);
        if (name == "title")
            title = decode(value);
    }
    return title;
}

} // namespace StreamTitle
