#include "ModalHelper.h"
#include "controls/Foglio2.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using Sequenza = TFoglio::Sequenza;

namespace {

// A form with the field and a second field that Tab moves to.
struct Form
{
    Form(int parametri, Sequenza sequenza, int maxLength)
    {
        auto *layout = new QVBoxLayout(&window);
        field = new TFoglio(&window);
        field->setObjectName(QStringLiteral("EditFoglio"));
        field->setParametri(parametri);
        field->setSequenza(sequenza);
        if (maxLength > 0)
            field->setMaxLength(maxLength);
        next = new QLineEdit(&window);
        layout->addWidget(field);
        layout->addWidget(next);
        QObject::connect(field, &TFoglio::exited, [this] { ++exits; });
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
        field->setFocus(Qt::TabFocusReason);
        exits = 0;
    }

    QWidget window;
    TFoglio *field = nullptr;
    QLineEdit *next = nullptr;
    int exits = 0;
};

std::unique_ptr<Form> sheetField()
{
    return std::make_unique<Form>(1, Sequenza::oFoglioPF, 4);
}

} // namespace

class TestFoglio : public QObject
{
    Q_OBJECT
private slots:
    void sheetOnTab_data();
    void sheetOnTab();
    void syntaxMessageOnceAndFocusKept();
    void ownNormalisedTextIsKept();
    void pfField();
    void pfAndSheetTypedWithSlash();
    void slashRefusedWithMessage();
    void shortLimitPfField();
    void insertKeyDropped();
};

void TestFoglio::sheetOnTab_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("exits");

    QTest::newRow("5") << "5"
                       << "0050" << 1;
    QTest::newRow("12") << "12"
                        << "0120" << 1;
    QTest::newRow("5a, upper-cased") << "5a"
                                     << "005A" << 1;
    QTest::newRow("123") << "123"
                         << "1230" << 1;
    QTest::newRow("A5B") << "A5B"
                         << "A05B" << 1;
    QTest::newRow("1234") << "1234"
                          << "C340" << 1;
    QTest::newRow("1230 is sheet 1230") << "1230"
                                        << "C300" << 0;
    QTest::newRow("0120 stays, no exit") << "0120"
                                         << "0120" << 0;
    QTest::newRow("9990 is sheet 999") << "9990"
                                       << "9990" << 1;
    QTest::newRow("3612 invalid, left as typed") << "3612"
                                                 << "3612" << 1;
    QTest::newRow("empty") << ""
                           << "" << 1;
}

void TestFoglio::sheetOnTab()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, exits);
    auto form = sheetField();
    QTest::keyClicks(form->field, typed);
    QTest::keyClick(form->field, Qt::Key_Tab);
    QCOMPARE(form->field->text(), shown);
    QCOMPARE(form->exits, exits);
    QVERIFY(form->next->hasFocus());
}

void TestFoglio::syntaxMessageOnceAndFocusKept()
{
    auto form = sheetField();
    ModalHelper first([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    QTest::keyClicks(form->field, QStringLiteral("AB12"));
    QTest::keyClick(form->field, Qt::Key_Tab);
    QTRY_VERIFY(first.seen());
    QCOMPARE(first.title(), QStringLiteral("Errore"));
    QCOMPARE(first.text(), QStringLiteral("Sintassi scorretta..."));
    QTRY_VERIFY(form->field->hasFocus());
    QCOMPARE(form->exits, 0);

    // Trying to leave again with the same text keeps the field, without the message again.
    ModalHelper second([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); }, 500);
    QTest::keyClick(form->field, Qt::Key_Tab);
    QTRY_VERIFY(form->field->hasFocus());
    QTest::qWait(100);
    QVERIFY(!second.seen());
    QVERIFY(form->field->hasFocus());

    // Once mended, the field lets go.
    form->field->selectAll();
    QTest::keyClicks(form->field, QStringLiteral("A12"));
    QTest::keyClick(form->field, Qt::Key_Tab);
    QCOMPARE(form->field->text(), QStringLiteral("A120"));
    QTRY_VERIFY(form->next->hasFocus());
}

void TestFoglio::ownNormalisedTextIsKept()
{
    // The field's own 1230 (sheet 123) must not turn into sheet 1230 on later focus changes.
    auto form = sheetField();
    QTest::keyClicks(form->field, QStringLiteral("123"));
    QTest::keyClick(form->field, Qt::Key_Tab);
    QCOMPARE(form->field->text(), QStringLiteral("1230"));
    form->field->setFocus(Qt::BacktabFocusReason);
    QTest::keyClick(form->field, Qt::Key_Tab);
    QCOMPARE(form->field->text(), QStringLiteral("1230"));
    QCOMPARE(form->exits, 3);
}

void TestFoglio::pfField()
{
    Form form(1, Sequenza::oPFFoglio, 0);
    QTest::keyClicks(form.field, QStringLiteral("7"));
    QTest::keyClick(form.field, Qt::Key_Return);
    QCOMPARE(form.field->text(), QStringLiteral("07"));
    form.field->selectAll();
    QTest::keyClicks(form.field, QStringLiteral("123"));
    QTest::keyClick(form.field, Qt::Key_Tab);
    QCOMPARE(form.field->text(), QStringLiteral("123"));
}

void TestFoglio::pfAndSheetTypedWithSlash()
{
    Form form(2, Sequenza::oPFFoglio, 0);
    QTest::keyClicks(form.field, QStringLiteral("7/"));
    QCOMPARE(form.field->text(), QStringLiteral("07/"));
    QTest::keyClicks(form.field, QStringLiteral("12"));
    QTest::keyClick(form.field, Qt::Key_Tab);
    QCOMPARE(form.field->text(), QStringLiteral("07/0120"));
}

void TestFoglio::slashRefusedWithMessage()
{
    Form form(2, Sequenza::oPFFoglio, 0);
    QTest::keyClicks(form.field, QStringLiteral("7/0120"));
    ModalHelper fifth([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    QTest::keyClick(form.field, Qt::Key_1);
    QVERIFY(fifth.seen());
    QCOMPARE(fifth.text(), QStringLiteral("Numero del foglio scorretto..."));
    QCOMPARE(form.field->text(), QStringLiteral("07/0120"));

    ModalHelper second([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    QTest::keyClick(form.field, Qt::Key_Slash);
    QVERIFY(second.seen());
    QCOMPARE(form.field->text(), QStringLiteral("07/0120"));

    // With the whole text selected any character goes in, "/" too.
    Form single(1, Sequenza::oFoglioPF, 0);
    QTest::keyClicks(single.field, QStringLiteral("5"));
    single.field->selectAll();
    QTest::keyClick(single.field, Qt::Key_Slash);
    QCOMPARE(single.field->text(), QStringLiteral("/"));
}

void TestFoglio::shortLimitPfField()
{
    Form form(2, Sequenza::oPFFoglio, 2);
    QTest::keyClicks(form.field, QStringLiteral("5"));
    QTest::keyClick(form.field, Qt::Key_Tab);
    QCOMPARE(form.field->text(), QStringLiteral("5"));
    form.field->setFocus(Qt::BacktabFocusReason);
    form.field->end(false);
    QTest::keyClick(form.field, Qt::Key_Slash);
    QCOMPARE(form.field->text(), QStringLiteral("05"));
}

void TestFoglio::insertKeyDropped()
{
    auto form = sheetField();
    QApplication::clipboard()->setText(QStringLiteral("12"));
    QTest::keyClick(form->field, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(form->field->text(), QString());
    QTest::keyClick(form->field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(form->field->text(), QStringLiteral("12"));
}

QTEST_MAIN(TestFoglio)
#include "tst_foglio.moc"
