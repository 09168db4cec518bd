#include "HostileStationFile.h"

QByteArray HostileStationBytes(qsizetype size)
{
    const QByteArray first = "<radiostation><stationname>Za\xE8\xE1tek</stationname>"
                             "<stationurl>http://start/</stationurl><visible>1</visible>"
                             "</radiostation>";
    const QByteArray last = "<radiostation><stationname>Konec</stationname>"
                            "<stationurl>http://konec/</stationurl><visible>1</visible>"
                            "</radiostation>\r\n";
    QByteArray block; // deep unclosed tags, undefined bytes, NULs, broken tags, stray closes
    for (int i = 0; i < 2000; ++i)
        block += (i % 3 == 0) ? "<stationname>" : (i % 3 == 1) ? "<VISIBLE>" : "<Bold>";
    for (int i = 0; i < 4096; ++i)
        block += "\x81\x83\x88\x90\x98\xFF\x00\x7F"[i % 8];
    block += QByteArray(4096, '\0') + "<radiostatio<stationnam</visibl<\r<\t<radiostation\r\r\t\t" +
             QByteArray("</radiostation>").repeated(200);

    // A thousand unterminated records spread evenly over the blocks.
    const qsizetype blocks =
        qMax<qsizetype>(1, (size - first.size() - last.size() - 40000) / block.size());
    const qsizetype every = qMax<qsizetype>(1, blocks / 1000);
    QByteArray bytes = first;
    bytes.reserve(size + block.size());
    int unterminated = 0;
    for (qsizetype i = 0; i < blocks || unterminated < 1000; ++i) {
        if ((i % every == 0 || i >= blocks) && unterminated < 1000)
            bytes += "<radiostation><stationname>Bez konce " + QByteArray::number(unterminated++);
        if (i < blocks)
            bytes += block;
    }
    return bytes + last;
}
