#include "controls/CRAttendere.h"
#include "controls/SearchAnimator.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <stdexcept>

namespace {

TAttendereForm *openWaitWindow()
{
    const QList<QWidget *> tops = QApplication::topLevelWidgets();
    for (QWidget *w : tops)
        if (auto *form = qobject_cast<TAttendereForm *>(w); form && form->isVisible())
            return form;
    return nullptr;
}

// A blocking request as the transport makes it: a nested loop that shuts out user input.
void blockFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

class TestAttendere : public QObject
{
    Q_OBJECT
private slots:
    void defaultTextHasEmptyFirstLine();
    void showsDuringWorkAndCleansUp();
    void cleansUpWhenWorkFails();
    void centredOnOwner();
};

void TestAttendere::defaultTextHasEmptyFirstLine()
{
    TAttendereForm form;
    QCOMPARE(form.text(), QStringLiteral("\nAttendi, sto ricercando i dati..."));
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(form.size(), QSize(427, 155));
    auto *label = form.findChild<QLabel *>(QStringLiteral("Label1"));
    QVERIFY(label);
    QVERIFY(label->font().bold());
}

void TestAttendere::showsDuringWorkAndCleansUp()
{
    const QString text = QStringLiteral("Attendere, download in corso...");
    int startFrame = -1;
    const int answer = withWaitWindow(nullptr, text, [&] {
        TAttendereForm *form = openWaitWindow();
        if (!form)
            return -1;
        if (form->text() != text || !form->isAnimating() || !QApplication::overrideCursor() ||
            QApplication::overrideCursor()->shape() != Qt::WaitCursor)
            return -2;
        auto *animation = form->findChild<SearchAnimator *>(QStringLiteral("Animate"));
        startFrame = animation->frame();
        blockFor(400);
        // The animation went on moving while the request blocked.
        return animation->frame() != startFrame ? 42 : -3;
    });
    QCOMPARE(answer, 42);
    QCOMPARE(openWaitWindow(), nullptr);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestAttendere::cleansUpWhenWorkFails()
{
    bool thrown = false;
    try {
        withWaitWindow(nullptr, QString(), []() -> int { throw std::runtime_error("rete"); });
    } catch (const std::runtime_error &) {
        thrown = true;
    }
    QVERIFY(thrown);
    QCOMPARE(openWaitWindow(), nullptr);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestAttendere::centredOnOwner()
{
    QWidget owner;
    owner.setGeometry(100, 120, 800, 600);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    WaitWindowScope scope(&owner);
    const QPoint delta = scope.form()->frameGeometry().center() - owner.frameGeometry().center();
    QVERIFY2(delta.manhattanLength() <= 2,
             qPrintable(QStringLiteral("off by %1,%2").arg(delta.x()).arg(delta.y())));
}

QTEST_MAIN(TestAttendere)
#include "tst_attendere.moc"
