#include "service/CommaText.h"

#include <QTest>

using namespace tavix;

class TestCommaText : public QObject
{
    Q_OBJECT
private slots:
    void joinAndSplit_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QStringList{} << "";
        QTest::newRow("sheet items") << QStringList{"0010/H501", "0020/H501"} << "0010/H501,0020/H501";
        QTest::newRow("blank") << QStringList{"SAN MARCO", "ROMA"} << "\"SAN MARCO\",ROMA";
        QTest::newRow("comma and quote") << QStringList{"a,b", "say \"x\""}
                                         << "\"a,b\",\"say \"\"x\"\"\"";
        QTest::newRow("apostrophe stays bare") << QStringList{"SANT'ANGELO"} << "SANT'ANGELO";
        QTest::newRow("empty item") << QStringList{"", "x"} << ",x";
    }
    void joinAndSplit()
    {
        QFETCH(QStringList, items);
        QFETCH(QString, text);
        QCOMPARE(JoinCommaText(items), text);
        QCOMPARE(SplitCommaText(text), items);
    }
};

QTEST_GUILESS_MAIN(TestCommaText)
#include "tst_commatext.moc"
