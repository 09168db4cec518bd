#include "stations/StationValueCheck.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_StationValueCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storableValuesPass()
    {
        QCOMPARE(StationValueProblem(StationField::Name, u"Český rozhlas – Dvojka"_s), QString());
        QCOMPARE(StationValueProblem(StationField::Url, u"http://a.cz/x?y=<1>&z"_s), QString());
        // A tag name without its brackets is ordinary text.
        QCOMPARE(StationValueProblem(StationField::Name, u"bold stationname"_s), QString());
        QCOMPARE(StationValueProblem(StationField::Name, QString()), QString());
    }

    void unencodableCharactersAreRefused()
    {
        const QString name = StationValueProblem(StationField::Name, u"Радио"_s);
        QVERIFY(name.startsWith(u"Název stanice"_s));
        QVERIFY(name.contains(u"Windows-1250"_s));
        const QString url = StationValueProblem(StationField::Url, u"http://a.cz/日本"_s);
        QVERIFY(url.startsWith(u"URL stanice"_s));
    }

    void tagTextIsRefusedInAnyCase()
    {
        for (const QString& value : {u"a</stationname>b"_s, u"<RadioStation>"_s,
                                     u"x</RADIOSTATION>"_s, u"y</StationUrl>"_s, u"</bold>"_s,
                                     u"</VISIBLE>"_s, u"</stationcolor>"_s, u"a<stationurl>b"_s}) {
            const QString problem = StationValueProblem(StationField::Name, value);
            QVERIFY2(!problem.isEmpty(), qPrintable(value));
            QVERIFY(problem.contains(u"značkou seznamu stanic"_s));
        }
        QVERIFY(StationValueProblem(StationField::Url, u"http://x/</stationurl>"_s)
                    .contains(u"„</stationurl>“"_s));
    }
};

QTEST_GUILESS_MAIN(tst_StationValueCheck)
#include "tst_StationValueCheck.moc"
