#include "controls/SheetRules.h"

#include <QTest>

using namespace tavix::sheet;

class TestSheetRules : public QObject
{
    Q_OBJECT
private slots:
    void normaliseSheet_data();
    void normaliseSheet();
    void normalisePF_data();
    void normalisePF();
    void normaliseText_data();
    void normaliseText();
    void checkKey_data();
    void checkKey();
    void leaveStep_data();
    void leaveStep();
};

void TestSheetRules::normaliseSheet_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("result");

    QTest::newRow("L") << "A" << true << "A000";
    QTest::newRow("d") << "5" << true << "0050";
    QTest::newRow("L d") << "A5" << true << "A050";
    QTest::newRow("d d") << "12" << true << "0120";
    QTest::newRow("d L") << "5A" << true << "005A";
    QTest::newRow("d d d") << "123" << true << "1230";
    QTest::newRow("L d d") << "A12" << true << "A120";
    QTest::newRow("L d L") << "A5B" << true << "A05B";
    QTest::newRow("d d L") << "12B" << true << "012B";
    QTest::newRow("canonical 0120") << "0120" << true << "0120";
    QTest::newRow("canonical 005A") << "005A" << true << "005A";
    QTest::newRow("canonical C340") << "C340" << true << "C340";
    QTest::newRow("sheet 999") << "9990" << true << "9990";
    QTest::newRow("four digits 1234") << "1234" << true << "C340";
    QTest::newRow("four digits 3599") << "3599" << true << "Z990";
    QTest::newRow("four digits 1001") << "1001" << true << "A010";
    // Ending in 0 the four digits read as a canonical code, not as sheet 1230.
    QTest::newRow("1230 is canonical") << "1230" << true << "1230";

    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("too long") << "12345" << false << "12345";
    QTest::newRow("above 35 hundreds") << "3612" << false << "3612";
    QTest::newRow("below 10 hundreds") << "0912" << false << "0912";
    QTest::newRow("L L") << "AB" << false << "AB";
    QTest::newRow("d then symbol") << "5-" << false << "5-";
    QTest::newRow("symbol first") << "-5" << false << "-5";
    QTest::newRow("d L d") << "5A5" << false << "5A5";
    QTest::newRow("L L d d") << "AB12" << false << "AB12";
    QTest::newRow("lower case letter") << "a" << false << "a";
}

void TestSheetRules::normaliseSheet()
{
    QFETCH(QString, part);
    QFETCH(bool, valid);
    QFETCH(QString, result);
    QCOMPARE(NormaliseSheet(part), valid);
    QCOMPARE(part, result);
}

void TestSheetRules::normalisePF_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("result");
    QTest::newRow("one digit") << "7" << true << "07";
    QTest::newRow("two digits") << "12" << true << "12";
    QTest::newRow("three digits") << "123" << false << "123";
    QTest::newRow("letter") << "A" << false << "A";
    QTest::newRow("empty") << "" << false << "";
}

void TestSheetRules::normalisePF()
{
    QFETCH(QString, part);
    QFETCH(bool, valid);
    QFETCH(QString, result);
    QCOMPARE(NormalisePF(part), valid);
    QCOMPARE(part, result);
}

void TestSheetRules::normaliseText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("parametri");
    QTest::addColumn<bool>("sheetFirst");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("result");

    QTest::newRow("PF alone") << "7" << 1 << false << true << "07";
    QTest::newRow("sheet alone") << "5" << 1 << true << true << "0050";
    QTest::newRow("PF/sheet") << "7/12" << 2 << false << true << "07/0120";
    QTest::newRow("sheet/PF") << "12/7" << 2 << true << true << "0120/07";
    QTest::newRow("third part kept") << "7/5A/note x" << 3 << false << true << "07/005A/note x";
    QTest::newRow("empty third part") << "7/5/" << 3 << false << false << "7/5/";
    QTest::newRow("bad PF keeps sheet") << "123/5" << 2 << false << false << "123/5";
    QTest::newRow("bad sheet") << "7/3612" << 2 << false << false << "7/3612";
    QTest::newRow("four parts") << "7/5/a/b" << 3 << false << false << "7/5/a/b";
    // The field wants exactly Parametri parts and no empty text.
    QTest::newRow("one part, two wanted") << "5" << 2 << false << false << "5";
    QTest::newRow("slash alone") << "/" << 1 << true << false << "/";
    QTest::newRow("empty") << "" << 1 << true << false << "";
}

void TestSheetRules::normaliseText()
{
    QFETCH(QString, text);
    QFETCH(int, parametri);
    QFETCH(bool, sheetFirst);
    QFETCH(bool, valid);
    QFETCH(QString, result);
    QCOMPARE(validateText(text, parametri, sheetFirst ? Sequenza::oFoglioPF : Sequenza::oPFFoglio),
             valid);
    QCOMPARE(text, result);
}

void TestSheetRules::checkKey_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("allSelected");
    QTest::addColumn<QChar>("ch");
    QTest::addColumn<int>("parametri");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("textBefore"); // what the field holds before the key goes in

    const QChar slash(u'/');
    QTest::newRow("slash normalises first") << "7" << false << slash << 2 << true << "07";
    QTest::newRow("slash on bad text") << "A" << false << slash << 2 << false << "A";
    QTest::newRow("second slash") << "07/0120" << false << slash << 2 << false << "07/0120";
    QTest::newRow("slash at Parametri 1") << "5" << false << slash << 1 << false << "5";
    QTest::newRow("slash over whole selection") << "5" << true << slash << 1 << true << "5";
    QTest::newRow("empty text takes anything") << "" << true << slash << 1 << true << "";
    QTest::newRow("fourth sheet char") << "07/012" << false << QChar(u'0') << 2 << true << "07/012";
    QTest::newRow("fifth sheet char")
        << "07/0120" << false << QChar(u'1') << 2 << false << "07/0120";
    QTest::newRow("one part, any length")
        << "12345" << false << QChar(u'6') << 1 << true << "12345";
    QTest::newRow("three parts, free")
        << "07/0120/abcdef" << false << QChar(u'g') << 3 << true << "07/0120/abcdef";
}

void TestSheetRules::checkKey()
{
    QFETCH(QString, text);
    QFETCH(bool, allSelected);
    QFETCH(QChar, ch);
    QFETCH(int, parametri);
    QFETCH(bool, accepted);
    QFETCH(QString, textBefore);
    const KeyCheck check = CheckKey(text, allSelected, ch, parametri, Sequenza::oPFFoglio);
    QCOMPARE(check.accepted, accepted);
    QCOMPARE(check.normalised ? check.text : text, textBefore);
}

void TestSheetRules::leaveStep_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("text");

    QTest::newRow("typed 1230 is sheet 1230")
        << "1230" << true << int(LeaveDecision::Replace) << "C300";
    QTest::newRow("field's own 1230 stays sheet 123")
        << "1230" << false << int(LeaveDecision::RunExit) << "";
    QTest::newRow("0120 stays, no exit") << "0120" << true << int(LeaveDecision::Stay) << "";
    QTest::newRow("9990 is sheet 999") << "9990" << true << int(LeaveDecision::RunExit) << "";
    QTest::newRow("3612 exits") << "3612" << true << int(LeaveDecision::RunExit) << "";
    QTest::newRow("letter first, 0 last") << "A120" << true << int(LeaveDecision::Stay) << "";
    QTest::newRow("suffix letter exits") << "005A" << true << int(LeaveDecision::RunExit) << "";
    QTest::newRow("AB12 bad syntax") << "AB12" << true << int(LeaveDecision::SyntaxError) << "";
    QTest::newRow("bad syntax, not typed")
        << "AB12" << false << int(LeaveDecision::SyntaxError) << "";
    QTest::newRow("other lengths exit") << "123" << true << int(LeaveDecision::RunExit) << "";
}

void TestSheetRules::leaveStep()
{
    QFETCH(QString, saved);
    QFETCH(bool, typed);
    QFETCH(int, action);
    QFETCH(QString, text);
    const LeaveDecision d = LeaveStep(saved, 1, Sequenza::oFoglioPF, typed);
    QCOMPARE(int(d.action), action);
    QCOMPARE(d.text, text);
    // Only the sheet field alone has a leave rule.
    QCOMPARE(int(LeaveStep(saved, 1, Sequenza::oPFFoglio, typed).action),
             int(LeaveDecision::RunExit));
    QCOMPARE(int(LeaveStep(saved, 2, Sequenza::oFoglioPF, typed).action),
             int(LeaveDecision::RunExit));
}

QTEST_GUILESS_MAIN(TestSheetRules)
#include "tst_sheetrules.moc"
