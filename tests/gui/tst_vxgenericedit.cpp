#include "ModalHelper.h"
#include "controls/VXGenericEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

using tavix::Allineamento;

namespace {

constexpr int Gap = 2; // at the 96 dpi of the offscreen screen

struct Form
{
    Form()
    {
        window.resize(600, 400);
        first = new TVXGenericEdit(&window);
        first->setGeometry(100, 100, 120, 24);
        other = new QLineEdit(&window);
        other->setGeometry(100, 300, 120, 24);
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
        first->setFocus(Qt::TabFocusReason);
    }

    QWidget window;
    TVXGenericEdit *first = nullptr;
    QLineEdit *other = nullptr;
};

tavix::CharSet digitsOnly()
{
    tavix::CharSet set;
    for (char c = '0'; c <= '9'; ++c)
        set.set(std::size_t(c));
    return set;
}

} // namespace

class TestVXGenericEdit : public QObject
{
    Q_OBJECT
private slots:
    void refusedCharactersAreDropped();
    void mandatoryFieldKeepsFocus();
    void mandatoryDisabledFieldLetsGo();
    void pasteIsChecked();
    void dateKey();
    void globalTextOfChain();
    void linkingRefusals();
    void partnersFollowTheEdit();
    void destructionUnlinks();
};

void TestVXGenericEdit::refusedCharactersAreDropped()
{
    Form form;
    form.first->setAcceptedChars(digitsOnly());
    QTest::keyClicks(form.first, QStringLiteral("1a2/3"));
    QCOMPARE(form.first->text(), QStringLiteral("123"));
}

void TestVXGenericEdit::mandatoryFieldKeepsFocus()
{
    Form form;
    form.first->setObbligatorio(true);
    ModalHelper modal([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    QTest::keyClick(form.first, Qt::Key_Tab);
    QTRY_VERIFY(modal.seen());
    QCOMPARE(modal.title(), QStringLiteral("Errore"));
    QCOMPARE(modal.text(), QStringLiteral("Questo campo é obbligatorio!!!"));
    QTRY_VERIFY(form.first->hasFocus());

    QTest::keyClicks(form.first, QStringLiteral("x"));
    QTest::keyClick(form.first, Qt::Key_Tab);
    QVERIFY(form.other->hasFocus());
}

void TestVXGenericEdit::mandatoryDisabledFieldLetsGo()
{
    Form form;
    form.first->setObbligatorio(true);
    form.first->setObbligatorioText(QStringLiteral("Manca la quota"));
    ModalHelper modal([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    form.first->setEnabled(false);
    QTRY_VERIFY(modal.seen());
    QCOMPARE(modal.text(), QStringLiteral("Manca la quota"));
    QTest::qWait(50);
    QVERIFY(!form.first->hasFocus());
}

void TestVXGenericEdit::pasteIsChecked()
{
    Form form;
    form.first->setAcceptedChars(digitsOnly());
    QTest::keyClicks(form.first, QStringLiteral("12"));
    QApplication::clipboard()->setText(QStringLiteral("3x"));
    ModalHelper refused([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    QTest::keyClick(form.first, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(refused.seen());
    QCOMPARE(refused.text(), QStringLiteral("Alcuni caratteri della Stringa non sono accettati!"));
    QCOMPARE(form.first->text(), QStringLiteral("12"));

    // The context menu's Paste is checked the same way.
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              form.first->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(form.first, &menuKey);
    QPointer<QMenu> menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction *paste = nullptr;
    for (QAction *action : menu->actions())
        if (action->text().startsWith(QStringLiteral("&Paste")))
            paste = action;
    QVERIFY(paste);
    ModalHelper fromMenu([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    paste->trigger();
    QVERIFY(fromMenu.seen());
    if (menu)
        menu->close();
    QCOMPARE(form.first->text(), QStringLiteral("12"));

    // All selected and nothing to paste: nothing happens, and nothing is said.
    QApplication::clipboard()->clear();
    form.first->selectAll();
    ModalHelper silent(nullptr, 200);
    QTest::keyClick(form.first, Qt::Key_V, Qt::ControlModifier);
    QTest::qWait(250);
    QVERIFY(!silent.seen());
    QCOMPARE(form.first->text(), QStringLiteral("12"));
}

void TestVXGenericEdit::dateKey()
{
    Form form;
    QTest::keyClick(form.first, Qt::Key_Comma, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(form.first->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));

    form.first->clear();
    form.first->setAcceptedChars(digitsOnly());
    ModalHelper refused([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    QTest::keyClick(form.first, Qt::Key_Comma, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(refused.seen());
    QCOMPARE(form.first->text(), QString());
}

void TestVXGenericEdit::globalTextOfChain()
{
    QWidget window;
    TVXGenericEdit a(&window), b(&window), c(&window);
    a.setInternalLinkEdit(&b);
    b.setInternalLinkEdit(&c);
    a.setGlobalText(QStringLiteral("A  B"));
    QCOMPARE(a.text(), QStringLiteral("A"));
    QCOMPARE(b.text(), QStringLiteral("B"));
    QCOMPARE(c.text(), QString());
    QCOMPARE(a.globalText(), QStringLiteral("A B "));
    QCOMPARE(b.globalText(), QStringLiteral("B "));
}

void TestVXGenericEdit::linkingRefusals()
{
    QWidget window;
    TVXGenericEdit a(&window), b(&window), c(&window);
    a.setInternalLinkEdit(&c);
    ModalHelper taken([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    b.setInternalLinkEdit(&c);
    QVERIFY(taken.seen());
    QCOMPARE(taken.text(), QStringLiteral("Edit già assegnato!"));
    QCOMPARE(b.internalLinkEdit(), nullptr);
    QCOMPARE(c.linkedFrom(), &a);

    // A chain that loops back would never end.
    ModalHelper loop([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    c.setInternalLinkEdit(&a);
    QVERIFY(loop.seen());
    QCOMPARE(c.internalLinkEdit(), nullptr);

    // a's button sits on its right; c cannot go there too, nor can a label.
    TVXGenericButton button(&window);
    a.setLinkButton(&button);
    ModalHelper occupied([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    c.setAllineamento(Allineamento::Destra);
    QVERIFY(occupied.seen());
    QCOMPARE(occupied.text(), QStringLiteral("La posizione è già occupata da un altro componente"));
    QCOMPARE(c.allineamento(), Allineamento::Sinistra);
    TVXGenericLabel label(&window);
    a.setLinkLabel(&label);
    ModalHelper labelSide([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
    label.setAllineamento(Allineamento::Destra);
    QVERIFY(labelSide.seen());
    QCOMPARE(label.allineamento(), Allineamento::Sopra);
}

void TestVXGenericEdit::partnersFollowTheEdit()
{
    QWidget window;
    TVXGenericEdit edit(&window);
    edit.setGeometry(50, 60, 100, 22);
    TVXGenericButton button(&window);
    button.resize(20, 18);
    TVXGenericLabel label(&window);
    label.resize(80, 16);
    edit.setLinkButton(&button);
    edit.setLinkLabel(&label);
    QCOMPARE(button.geometry(), QRect(50 + 100 + Gap, 60, 20, 18));
    QCOMPARE(label.geometry(), QRect(50, 60 - 16 - Gap, 80, 16));

    edit.SetBounds(QRect(200, 100, 100, 22));
    QCOMPARE(button.pos(), QPoint(200 + 100 + Gap, 100));
    QCOMPARE(label.pos(), QPoint(200, 100 - 16 - Gap));

    // Moving the button carries the edit, and the edit its label.
    button.SetBounds(QRect(400, 200, 20, 18));
    QCOMPARE(edit.pos(), QPoint(400 - 100 - Gap, 200));
    QCOMPARE(label.pos(), QPoint(400 - 100 - Gap, 200 - 16 - Gap));

    button.setBloccaAltezza(false);
    QCOMPARE(button.height(), 22);

    // A chained edit below keeps its place too, also when the edit is moved by plain code.
    window.show();
    TVXGenericEdit below(&window);
    below.resize(100, 22);
    below.setAllineamento(Allineamento::Sotto);
    edit.setInternalLinkEdit(&below);
    edit.move(10, 50);
    QCOMPARE(below.pos(), QPoint(10, 50 + 22 + Gap));
}

void TestVXGenericEdit::destructionUnlinks()
{
    QWidget window;
    TVXGenericEdit a(&window);
    auto *b = new TVXGenericEdit(&window);
    auto *button = new TVXGenericButton(&window);
    a.setInternalLinkEdit(b);
    a.setLinkButton(button);
    delete b;
    delete button;
    QCOMPARE(a.internalLinkEdit(), nullptr);
    QCOMPARE(a.linkButton(), nullptr);
    QCOMPARE(a.globalText(), QString());

    auto *owner = new TVXGenericEdit(&window);
    TVXGenericLabel label(&window);
    owner->setLinkLabel(&label);
    delete owner;
    QCOMPARE(label.ownerEdit(), nullptr);
    label.SetBounds(QRect(1, 2, 3, 4));
    QCOMPARE(label.geometry(), QRect(1, 2, 3, 4));
}

QTEST_MAIN(TestVXGenericEdit)
#include "tst_vxgenericedit.moc"
