#include "controls/NumericText.h"

#include <QTest>

using tavix::EditInput;
using tavix::EditState;
using tavix::NumericText;

namespace {

// The settings of the zone search and distance fields.
NumericText coordinateRules()
{
    NumericText rules;
    rules.setInteri(7);
    rules.setDecimali(3);
    return rules;
}

} // namespace

class TestNumericText : public QObject
{
    Q_OBJECT
private slots:
    void validity_data();
    void validity();
    void format_data();
    void format();
    void parts();
    void decimalPrecision_data();
    void decimalPrecision();
    void signSwitchedOff();
    void noDecimals();
    void candidates_data();
    void candidates();
};

void TestNumericText::validity_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("seven digits") << "1234567" << true;
    QTest::newRow("eight digits") << "12345678" << false;
    QTest::newRow("three decimals") << "1.234" << true;
    QTest::newRow("four decimals") << "1.2345" << false;
    QTest::newRow("full length") << "-1234567.123" << true;
    QTest::newRow("two separators") << "1.2.3" << false;
    QTest::newRow("leading minus") << "-12" << true;
    QTest::newRow("leading plus") << "+12" << true;
    QTest::newRow("sign alone") << "-" << true;
    QTest::newRow("minus inside") << "1-2" << false;
    QTest::newRow("two signs") << "--1" << false;
    QTest::newRow("letter") << "12a" << false;
    QTest::newRow("comma") << "1,5" << false;
    QTest::newRow("bare decimals") << ".5" << true;
    QTest::newRow("separator of 1234567.123 deleted") << "1234567123" << false;
    QTest::newRow("too long through Valore") << "12345678.000" << false;
    QTest::newRow("non-latin digit") << QStringLiteral("\u0661") << false;
}

void TestNumericText::validity()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(coordinateRules().isValidText(text), valid);
}

void TestNumericText::format_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("formatted");
    QTest::newRow("bare decimals") << ".5"
                                   << "0.5";
    QTest::newRow("signed bare decimals") << "-.5"
                                          << "-0.5";
    QTest::newRow("dangling separator") << "12."
                                        << "12";
    QTest::newRow("zeros stay") << "007.50"
                                << "007.50";
    QTest::newRow("sign alone") << "-"
                                << "-";
    QTest::newRow("separator alone") << "."
                                     << "";
    QTest::newRow("plus kept") << "+3.1"
                               << "+3.1";
    QTest::newRow("empty") << ""
                           << "";
}

void TestNumericText::format()
{
    QFETCH(QString, text);
    QFETCH(QString, formatted);
    QCOMPARE(coordinateRules().formatText(text), formatted);
}

void TestNumericText::parts()
{
    const NumericText rules = coordinateRules();
    QCOMPARE(rules.integerPartOf(QStringLiteral("-12.5")), QStringLiteral("12"));
    QCOMPARE(rules.decimalPartOf(QStringLiteral("-12.5")), QStringLiteral("5"));
    QCOMPARE(rules.separatorPos(QStringLiteral("-12.5")), 4);
    QCOMPARE(rules.separatorPos(QStringLiteral("125")), 0);
    QCOMPARE(rules.signOf(QStringLiteral("+1")), QStringLiteral("+"));
    QCOMPARE(rules.signOf(QStringLiteral("1")), QString());
    QCOMPARE(rules.maxLength(), 12);
}

void TestNumericText::decimalPrecision_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("1.0") << "1.0" << true;
    QTest::newRow("1.05") << "1.05" << true;
    QTest::newRow("1.1") << "1.1" << false;
    QTest::newRow("1.") << "1." << true;
    QTest::newRow("1.10") << "1.10" << true;
}

void TestNumericText::decimalPrecision()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    NumericText rules;
    rules.setDecimali(2);
    rules.setDecimalPrecision(5);
    QCOMPARE(rules.isValidText(text), valid);
}

void TestNumericText::signSwitchedOff()
{
    NumericText rules = coordinateRules();
    QCOMPARE(rules.setAccettaSegno(false, QStringLiteral("-12")), QStringLiteral("12"));
    QCOMPARE(rules.maxLength(), 11);
    QVERIFY(!rules.isValidText(QStringLiteral("-1")));
    QVERIFY(!rules.isValidText(QStringLiteral("+1")));
    QCOMPARE(rules.setAccettaSegno(true, QStringLiteral("12")), QStringLiteral("12"));
    QVERIFY(rules.isValidText(QStringLiteral("-1")));
}

void TestNumericText::noDecimals()
{
    NumericText rules = coordinateRules();
    rules.setDecimali(0);
    QVERIFY(!rules.isValidText(QStringLiteral("1.")));
    QCOMPARE(rules.maxLength(), 8);
    rules.setSeparatore(QLatin1Char(','));
    rules.setDecimali(2);
    QVERIFY(rules.isValidText(QStringLiteral("1,25")));
    QVERIFY(!rules.isValidText(QStringLiteral("1.25")));
}

void TestNumericText::candidates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("input");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("candidate");
    const int ins = int(EditInput::Insert), bs = int(EditInput::Backspace),
              del = int(EditInput::Delete), cut = int(EditInput::Cut);
    QTest::newRow("insert at caret") << "12" << 1 << 0 << ins << "5"
                                     << "152";
    QTest::newRow("insert over selection") << "1234" << 1 << 2 << ins << "9"
                                           << "194";
    QTest::newRow("backspace") << "123" << 2 << 0 << bs << ""
                               << "13";
    QTest::newRow("backspace at start") << "123" << 0 << 0 << bs << ""
                                        << "123";
    QTest::newRow("backspace selection") << "123" << 0 << 2 << bs << ""
                                         << "3";
    QTest::newRow("delete") << "1234567.123" << 7 << 0 << del << ""
                            << "1234567123";
    QTest::newRow("delete at end") << "12" << 2 << 0 << del << ""
                                   << "12";
    QTest::newRow("cut") << "12.5" << 2 << 2 << cut << ""
                         << "12";
    QTest::newRow("paste") << "1." << 2 << 0 << ins << "25"
                           << "1.25";
}

void TestNumericText::candidates()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(int, input);
    QFETCH(QString, inserted);
    QFETCH(QString, candidate);
    QCOMPARE(tavix::candidateText(EditState{text, start, length}, EditInput(input), inserted),
             candidate);
}

QTEST_GUILESS_MAIN(TestNumericText)
#include "tst_numerictext.moc"
