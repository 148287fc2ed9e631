#include "ModalHelper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

namespace {
constexpr int PollMs = 10;
}

ModalHelper::ModalHelper(Action action, int waitMs, int closeAfterMs)
    : m_action(std::move(action)), m_before(QApplication::activeModalWidget()),
      m_activeBefore(QApplication::activeWindow()), m_waitMs(waitMs), m_closeAfterMs(closeAfterMs)
{
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &ModalHelper::poll);
    m_poll.start();
}

ModalHelper::~ModalHelper()
{
    m_poll.stop();
    // Never leave a box open behind a finished test.
    if (m_dialog && m_dialog->isVisible())
        forceClose();
}

void ModalHelper::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == m_before || !modal->isVisible()) {
        m_waited += PollMs;
        if (m_waited > m_waitMs)
            m_poll.stop();
        return;
    }
    m_poll.stop();
    m_seen = true;
    m_dialog = modal;
    m_title = modal->windowTitle();
    m_text = textOf(modal);
    m_className = QString::fromLatin1(modal->metaObject()->className());
    modal->installEventFilter(this);
    QTimer::singleShot(m_closeAfterMs, this, [this] {
        if (m_dialog && m_dialog->isVisible())
            forceClose();
    });
    if (m_action)
        m_action(modal);
}

bool ModalHelper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dialog && event->type() == QEvent::Hide) {
        QPointer<QWidget> previous = m_activeBefore;
        QTimer::singleShot(0, [previous] {
            if (previous && previous->isVisible() && !QApplication::activeWindow())
                QApplication::setActiveWindow(previous);
        });
    }
    return QObject::eventFilter(watched, event);
}

void ModalHelper::forceClose()
{
    m_leftOpen = true;
    if (auto *dialog = qobject_cast<QDialog *>(m_dialog.data()))
        dialog->done(0);
    else if (m_dialog)
        m_dialog->close();
}

QString ModalHelper::textOf(QWidget *dialog)
{
    if (auto *box = qobject_cast<QMessageBox *>(dialog))
        return box->text();
    QStringList texts;
    const QList<QWidget *> children = dialog->findChildren<QWidget *>();
    for (QWidget *w : children) {
        if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
            texts << plain->toPlainText();
        else if (auto *rich = qobject_cast<QTextEdit *>(w))
            texts << rich->toPlainText();
        else if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty())
            texts << label->text();
    }
    return texts.join(QLatin1Char('\n'));
}

bool ModalHelper::clickButton(QWidget *dialog, const QString &caption)
{
    const QList<QAbstractButton *> buttons = dialog->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : buttons) {
        if (b->isVisible() && b->text().remove(QLatin1Char('&')) == caption) {
            b->click();
            return true;
        }
    }
    return false;
}

void ModalHelper::pressKey(QWidget *dialog, int key, Qt::KeyboardModifiers modifiers)
{
    // Access keys and the default button answer only in the active window.
    if (!dialog->isActiveWindow())
        (void)QTest::qWaitForWindowActive(dialog, 1000);
    QWidget *target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    QTest::keyClick(target, Qt::Key(key), modifiers);
}
