#include "HostileStationFile.h"

QByteArray HostileStationBytes(qsizetype size)
{
    const QByteArray first = "<radiostation><stationname>Za\xE8\xE1tek</stationname>"
                             "<stationurl>http://start/</stationurl><visible>1</visible>"
                             "</radiostation>";
    const QByteArray last = "<radiostation><stationname>Konec</stationname>"
                            "<stationurl>http://konec/</stationurl><visible>1</visible>"
                            "</radiostation>\r\n";

    QByteArray deepTags;
    for (int i = 0; i < 2000; ++i)
        deepTags += (i % 3 == 0) ? "<stationname>" : (i % 3 == 1) ? "<VISIBLE>" : "<Bold>";
    QByteArray undefinedBytes;
    for (int i = 0; i < 4096; ++i)
        undefinedBytes += "\x81\x83\x88\x90\x98\xFF\x00\x7F"[i % 8];
    const QByteArray nuls(4096, '\0');
    const QByteArray closes = QByteArray("</radiostation>").repeated(200);
    const QByteArray brokenTags = "<radiostatio<stationnam</visibl<\r<\t<radiostation\r\r\t\t";

    // One block; a thousand of its unterminated records are spread evenly over the file.
    const QByteArray block = deepTags + undefinedBytes + nuls + brokenTags + closes;
    constexpr qsizetype unterminatedRoom = 1000 * 40;
    const qsizetype blocks =
        qMax<qsizetype>(1, (size - first.size() - last.size() - unterminatedRoom) / block.size());
    const qsizetype unterminatedEvery = qMax<qsizetype>(1, blocks / 1000);

    QByteArray bytes;
    bytes.reserve(size + block.size());
    bytes += first;
    int unterminated = 0;
    const auto addUnterminated = [&] {
        bytes += "<radiostation><stationname>Bez konce " + QByteArray::number(unterminated++);
    };
    for (qsizetype i = 0; i < blocks; ++i) {
        if (i % unterminatedEvery == 0 && unterminated < 1000)
            addUnterminated();
        bytes += block;
    }
    while (unterminated < 1000)
        addUnterminated();
    return bytes + last;
}
