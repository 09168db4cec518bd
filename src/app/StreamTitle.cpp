#include "app/StreamTitle.h"

#include "base/ControlCharacters.h"
#include "stations/Cp1250.h"

#include <algorithm>

#include <QStringDecoder>

namespace StreamTitle {

QString decode(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = Cp1250::decode(bytes);
    // A line break or other control character has no place in one status line.
    std::replace_if(text.begin(), text.end(), IsControlCharacter, QChar(u' '));
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
