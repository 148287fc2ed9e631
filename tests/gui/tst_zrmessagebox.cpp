#include "ModalHelper.h"
#include "RecordingNotifier.h"
#include "controls/PictureAnimator.h"
#include "controls/ZRMessageBox.h"
#include "controls/ZRMessageBoxNotifier.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

class TestZRMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void layoutFollowsFlags();
    void textAndCaption();
    void notifierShowsErrorBox();
};

void TestZRMessageBox::answers_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("keyCloses");
    QTest::addColumn<int>("result");

    const int none = Qt::NoModifier, alt = Qt::AltModifier;
    QTest::newRow("0 Enter") << 0 << int(Qt::Key_Return) << none << true << 1;
    // Esc does nothing without a Cancel or No button; the close control then answers Cancel.
    QTest::newRow("0 Esc, then close") << 0 << int(Qt::Key_Escape) << none << false << 2;
    QTest::newRow("2 Esc, then close") << 2 << int(Qt::Key_Escape) << none << false << 2;
    QTest::newRow("68 Enter") << 68 << int(Qt::Key_Return) << none << true << 6;
    QTest::newRow("68 Esc") << 68 << int(Qt::Key_Escape) << none << true << 7;
    QTest::newRow("0x103 Enter") << 0x103 << int(Qt::Key_Return) << none << true << 7;
    QTest::newRow("0x103 Esc") << 0x103 << int(Qt::Key_Escape) << none << true << 7;
    QTest::newRow("0x201 Esc") << 0x201 << int(Qt::Key_Escape) << none << true << 2;
    QTest::newRow("0x50 Enter") << 0x50 << int(Qt::Key_Return) << none << true << 1;
    QTest::newRow("52 Alt+N") << 52 << int(Qt::Key_N) << alt << true << 7;
    QTest::newRow("2 Alt+G") << 2 << int(Qt::Key_G) << alt << true << 5;
}

void TestZRMessageBox::answers()
{
    QFETCH(int, flags);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, keyCloses);
    QFETCH(int, result);

    bool closedByKey = false;
    ModalHelper modal([&](QWidget *box) {
        ModalHelper::pressKey(box, key, Qt::KeyboardModifiers(modifiers));
        // Access keys press their button with a short animated click.
        closedByKey = QTest::qWaitFor([box] { return !box->isVisible(); }, 400);
        if (!closedByKey)
            box->close(); // the title bar's close control
    });
    QCOMPARE(ZRMessageBox(nullptr, QStringLiteral("Testo"), QStringLiteral("Avviso"), flags),
             result);
    QVERIFY(modal.seen());
    QVERIFY(!modal.leftOpen());
    QCOMPARE(closedByKey, keyCloses);
}

void TestZRMessageBox::layoutFollowsFlags()
{
    TZRMessageBox_Form one;
    one.setMessage(QStringLiteral("x"), QStringLiteral("y"), 0);
    QCOMPARE(one.size(), QSize(419, 146));
    QCOMPARE(one.buttons().size(), 1);
    QCOMPARE(one.buttons()[0]->geometry().left(), 123);
    QCOMPARE(one.buttons()[0]->width(), 75);
    QVERIFY(one.buttons()[0]->isDefault());
    for (auto *picture : one.findChildren<PictureAnimator *>())
        QVERIFY2(!picture->isVisibleTo(&one), qPrintable(picture->objectName()));

    TZRMessageBox_Form three;
    three.setMessage(QStringLiteral("x"), QStringLiteral("y"), 0x103);
    QCOMPARE(three.buttons().size(), 3);
    QCOMPARE(three.buttons()[2]->geometry().left(), 222);
    QVERIFY(!three.buttons()[0]->isDefault());
    QVERIFY(three.buttons()[1]->isDefault());

    TZRMessageBox_Form noDefault;
    noDefault.setMessage(QStringLiteral("x"), QStringLiteral("y"), 0x201);
    for (auto *button : noDefault.buttons())
        QVERIFY(!button->isDefault());

    TZRMessageBox_Form info;
    info.setMessage(QStringLiteral("x"), QStringLiteral("y"), 68);
    auto *picture = info.findChild<PictureAnimator *>(QStringLiteral("Information_RxGIFAnimator"));
    QVERIFY(picture);
    QVERIFY(picture->isVisibleTo(&info));
    QVERIFY(picture->isRunning());
    QCOMPARE(info.buttons()[0]->text(), QStringLiteral("&Si"));
    QVERIFY(!info.findChild<PictureAnimator *>(QStringLiteral("Error_RxGIFAnimator"))
                 ->isVisibleTo(&info));
}

void TestZRMessageBox::textAndCaption()
{
    TZRMessageBox_Form box;
    QCOMPARE(box.windowTitle(), QStringLiteral("ATTENZIONE"));
    box.setMessage(QStringLiteral("Prima riga\r\nSeconda riga"), QStringLiteral("ERRORE"), 16);
    QCOMPARE(box.windowTitle(), QStringLiteral("ERRORE"));
    auto *memo = box.findChild<QPlainTextEdit *>(QStringLiteral("Text_Memo"));
    QVERIFY(memo);
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->document()->blockCount(), 2);
    QCOMPARE(memo->document()->firstBlock().text(), QStringLiteral("Prima riga"));
}

void TestZRMessageBox::notifierShowsErrorBox()
{
    ZRMessageBoxNotifier notifier;
    tavix::Notifier *previous = tavix::setNotifier(&notifier);
    bool errorPicture = false;
    ModalHelper modal([&](QWidget *box) {
        errorPicture =
            box->findChild<PictureAnimator *>(QStringLiteral("Error_RxGIFAnimator"))->isVisible();
        ModalHelper::clickButton(box, QStringLiteral("OK"));
    });
    tavix::notifyError(QStringLiteral("Errore"), QStringLiteral("Interrogazione fallita"));
    tavix::setNotifier(previous);
    QVERIFY(modal.seen());
    QCOMPARE(modal.title(), QStringLiteral("Errore"));
    QCOMPARE(modal.text(), QStringLiteral("Interrogazione fallita"));
    QVERIFY(errorPicture);
}

QTEST_MAIN(TestZRMessageBox)
#include "tst_zrmessagebox.moc"
