// What a station's name or URL may not contain: characters outside Windows-1250 and the list's
// own tags.
#include "stations/StationValueCheck.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_StationValueCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void problems()
    {
        // Storable text, also a tag name without its brackets, has no problem.
        for (const QString& value : {u"Český rozhlas – Dvojka"_s, u"http://a.cz/x?y=<1>&z"_s,
                                     u"bold stationname"_s, QString()})
            QCOMPARE(StationValueProblem(StationField::Name, value), QString());

        const QString name = StationValueProblem(StationField::Name, u"Радио"_s);
        QVERIFY(name.startsWith(u"Název stanice"_s) && name.contains(u"Windows-1250"_s));
        QVERIFY(StationValueProblem(StationField::Url, u"http://a.cz/日本"_s)
                    .startsWith(u"URL stanice"_s));

        for (const QString& value : {u"a</stationname>b"_s, u"<RadioStation>"_s,
                                     u"x</RADIOSTATION>"_s, u"y</StationUrl>"_s, u"</bold>"_s,
                                     u"</VISIBLE>"_s, u"</stationcolor>"_s, u"a<stationurl>b"_s}) {
            QVERIFY2(StationValueProblem(StationField::Name, value)
                         .contains(u"značkou seznamu stanic"_s),
                     qPrintable(value));
        }
        QVERIFY(StationValueProblem(StationField::Url, u"http://x/</stationurl>"_s)
                    .contains(u"„</stationurl>“"_s));
    }
};

QTEST_GUILESS_MAIN(tst_StationValueCheck)
#include "tst_StationValueCheck.moc"
