#include "ModalHelper.h"
#include "controls/VXGenericNumEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

namespace {

// A form with a coordinate field as the zone search and distance windows set it up, and a
// second field for Tab to move to.
struct Form
{
    Form()
    {
        auto *layout = new QVBoxLayout(&window);
        field = new TVXGenericNumEdit(&window);
        field->setObjectName(QStringLiteral("XEdit"));
        field->setInteri(7);
        field->setDecimali(3);
        next = new QLineEdit(&window);
        layout->addWidget(field);
        layout->addWidget(next);
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
        field->setFocus(Qt::TabFocusReason);
    }

    QWidget window;
    TVXGenericNumEdit *field = nullptr;
    QLineEdit *next = nullptr;
};

} // namespace

class TestVXGenericNumEdit : public QObject
{
    Q_OBJECT
private slots:
    void typing_data();
    void typing();
    void leavingFormats_data();
    void leavingFormats();
    void enterFormats();
    void deletionsAreTried();
    void pasteIsTried();
    void valoreKeepsLastValidText();
    void signSwitchedOff();
};

void TestVXGenericNumEdit::typing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("eighth digit refused") << "12345678"
                                          << "1234567";
    QTest::newRow("fourth decimal refused") << "1.2345"
                                            << "1.234";
    QTest::newRow("second separator refused") << "1.2.3"
                                              << "1.23";
    QTest::newRow("leading minus") << "-12"
                                   << "-12";
    QTest::newRow("sign inside refused") << "1-2+3"
                                         << "123";
    QTest::newRow("letters and comma refused") << "1a,5"
                                               << "15";
    QTest::newRow("full length") << "-1234567.123"
                                 << "-1234567.123";
}

void TestVXGenericNumEdit::typing()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Form form;
    QTest::keyClicks(form.field, typed);
    QCOMPARE(form.field->text(), shown);
}

void TestVXGenericNumEdit::leavingFormats_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow(".5") << ".5"
                        << "0.5";
    QTest::newRow("-.5") << "-.5"
                         << "-0.5";
    QTest::newRow("12.") << "12."
                         << "12";
    QTest::newRow("007.50") << "007.50"
                            << "007.50";
    QTest::newRow("minus alone") << "-"
                                 << "-";
}

void TestVXGenericNumEdit::leavingFormats()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Form form;
    int exits = 0;
    connect(form.field, &TVXGenericEdit::exited, this, [&exits] { ++exits; });
    QTest::keyClicks(form.field, typed);
    QTest::keyClick(form.field, Qt::Key_Tab);
    QCOMPARE(form.field->text(), shown);
    QVERIFY(form.next->hasFocus());
    QCOMPARE(exits, 1);
}

void TestVXGenericNumEdit::enterFormats()
{
    Form form;
    QTest::keyClicks(form.field, QStringLiteral(".25"));
    QTest::keyClick(form.field, Qt::Key_Return);
    QCOMPARE(form.field->text(), QStringLiteral("0.25"));
    QCOMPARE(form.field->valore(), QStringLiteral("0.25"));
}

void TestVXGenericNumEdit::deletionsAreTried()
{
    Form form;
    QTest::keyClicks(form.field, QStringLiteral("1234567.123"));
    // Without the separator the integer part would have ten digits.
    form.field->setCursorPosition(7);
    QTest::keyClick(form.field, Qt::Key_Delete);
    QCOMPARE(form.field->text(), QStringLiteral("1234567.123"));
    form.field->setCursorPosition(8);
    QTest::keyClick(form.field, Qt::Key_Backspace);
    QCOMPARE(form.field->text(), QStringLiteral("1234567.123"));
    form.field->setSelection(7, 4);
    QTest::keyClick(form.field, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(form.field->text(), QStringLiteral("1234567"));
    QTest::keyClick(form.field, Qt::Key_Backspace);
    QCOMPARE(form.field->text(), QStringLiteral("123456"));
}

void TestVXGenericNumEdit::pasteIsTried()
{
    Form form;
    QTest::keyClicks(form.field, QStringLiteral("12"));
    // A paste that would break the rule is dropped silently, with no message.
    ModalHelper noMessage(nullptr, 200);
    QApplication::clipboard()->setText(QStringLiteral("3.4567"));
    QTest::keyClick(form.field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(form.field->text(), QStringLiteral("12"));
    QApplication::clipboard()->setText(QStringLiteral(".456"));
    QTest::keyClick(form.field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(form.field->text(), QStringLiteral("12.456"));
    QTest::qWait(250);
    QVERIFY(!noMessage.seen());
}

void TestVXGenericNumEdit::valoreKeepsLastValidText()
{
    Form form;
    form.field->setValore(QStringLiteral("123.500"));
    QCOMPARE(form.field->text(), QStringLiteral("123.500"));
    form.field->setValore(QStringLiteral("12345678.000"));
    QCOMPARE(form.field->text(), QStringLiteral("123.500"));
    form.field->setText(QStringLiteral("1.2.3"));
    QCOMPARE(form.field->text(), QStringLiteral("123.500"));
}

void TestVXGenericNumEdit::signSwitchedOff()
{
    Form form;
    QTest::keyClicks(form.field, QStringLiteral("-12"));
    form.field->setAccettaSegno(false);
    QCOMPARE(form.field->text(), QStringLiteral("12"));
    QCOMPARE(form.field->maxLength(), 11);
    form.field->home(false);
    QTest::keyClicks(form.field, QStringLiteral("-+"));
    QCOMPARE(form.field->text(), QStringLiteral("12"));

    form.field->setDecimali(0);
    form.field->end(false);
    QTest::keyClicks(form.field, QStringLiteral(".5"));
    QCOMPARE(form.field->text(), QStringLiteral("125"));
    QCOMPARE(form.field->maxLength(), 7);
}

QTEST_MAIN(TestVXGenericNumEdit)
#include "tst_vxgenericnumedit.moc"
