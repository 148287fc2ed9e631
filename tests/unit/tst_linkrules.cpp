#include "controls/LinkRules.h"

#include <QTest>

using tavix::Allineamento;

class TestLinkRules : public QObject
{
    Q_OBJECT
private slots:
    void placement_data();
    void placement();
    void words_data();
    void words();
    void gap();
};

void TestLinkRules::placement_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<QPoint>("partnerAt");
    // An edit at (100, 50) 120x24; a partner 30x20; gap 2.
    QTest::newRow("Sinistra") << int(Allineamento::Sinistra) << QPoint(68, 50);
    QTest::newRow("Destra") << int(Allineamento::Destra) << QPoint(222, 50);
    QTest::newRow("Sopra") << int(Allineamento::Sopra) << QPoint(100, 28);
    QTest::newRow("Sotto") << int(Allineamento::Sotto) << QPoint(100, 76);
}

void TestLinkRules::placement()
{
    QFETCH(int, side);
    QFETCH(QPoint, partnerAt);
    const QRect edit(100, 50, 120, 24);
    const QSize partner(30, 20);
    const auto s = Allineamento(side);
    QCOMPARE(tavix::placeBeside(edit, partner, s, 2), partnerAt);
    // Placing the edit from its partner is the inverse.
    QCOMPARE(tavix::placeOwner(QRect(partnerAt, partner), edit.size(), s, 2), edit.topLeft());
    QCOMPARE(tavix::opposite(tavix::opposite(s)), s);
}

void TestLinkRules::words_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("runs of separators") << "A  B" << 3 << QStringList{"A", "B", ""};
    QTest::newRow("leading separators") << "  A B" << 2 << QStringList{"A", "B"};
    QTest::newRow("more words than edits") << "A B C" << 2 << QStringList{"A", "B"};
    QTest::newRow("empty") << "" << 2 << QStringList{"", ""};
}

void TestLinkRules::words()
{
    QFETCH(QString, value);
    QFETCH(int, count);
    QFETCH(QStringList, words);
    QCOMPARE(tavix::splitGlobalText(value, QLatin1Char(' '), count), words);
}

void TestLinkRules::gap()
{
    QCOMPARE(tavix::linkGap(96), 2);
    QCOMPARE(tavix::linkGap(120), 3); // 2.5 rounds up
    QCOMPARE(tavix::linkGap(144), 3);
}

QTEST_GUILESS_MAIN(TestLinkRules)
#include "tst_linkrules.moc"
