#pragma once

#include <QByteArray>

// A station list file made to hurt a reader, of about `size` bytes: a thousand records that
// never end, tags repeated thousands of times unclosed, bytes Windows-1250 leaves undefined,
// NUL runs, lone CRs and tabs, between the station "Začátek" (http://start/) at the start and
// the complete station "Konec" (http://konec/) at the end; no "<stationurl>" tag in between.
inline QByteArray HostileStationBytes(qsizetype size)
{
    QByteArray block;
    for (int i = 0; i < 2000; ++i)
        block += (i % 3 == 0) ? "<stationname>" : (i % 3 == 1) ? "<VISIBLE>" : "<Bold>";
    for (int i = 0; i < 4096; ++i)
        block += "\x81\x83\x88\x90\x98\xFF\x00\x7F"[i % 8];
    block += QByteArray(4096, '\0') + "<radiostatio<stationnam</visibl<\r<\t<radiostation\r\r\t\t" +
             QByteArray("</radiostation>").repeated(200);
    const qsizetype blocks = qMax<qsizetype>(1, (size - 40200) / block.size());
    QByteArray bytes = "<radiostation><stationname>Za\xE8\xE1tek</stationname><stationurl>"
                       "http://start/</stationurl><visible>1</visible></radiostation>";
    for (qsizetype i = 0, unterminated = 0; i < blocks || unterminated < 1000; ++i) {
        if ((i % qMax<qsizetype>(1, blocks / 1000) == 0 || i >= blocks) && unterminated < 1000)
            bytes += "<radiostation><stationname>Bez konce " + QByteArray::number(unterminated++);
        if (i < blocks)
            bytes += block;
    }
    return bytes + "<radiostation><stationname>Konec</stationname><stationurl>http://konec/"
                   "</stationurl><visible>1</visible></radiostation>\r\n";
}
