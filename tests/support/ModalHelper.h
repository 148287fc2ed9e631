#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

// Acts on the next modal dialog that opens, so that no message box hangs a test:
//
//     ModalHelper modal([](QWidget *box) { ModalHelper::pressKey(box, Qt::Key_Return); });
//     const int answer = ZRMessageBox(nullptr, text, caption, 68);
//     QVERIFY(modal.seen());
//     QCOMPARE(modal.text(), text);
//
// "Next" means a modal dialog other than the one that was on top when the helper was made, so
// a helper made inside one dialog acts on the box that dialog opens. A dialog still open
// `closeAfterMs` after the action ran (an action that failed a check, say) is closed by force
// and counted in leftOpen(). Title and text are captured before the action runs. When the
// dialog closes, the window that was active before it is made active again, as a window
// manager would (the offscreen platform leaves no window active).
class ModalHelper : public QObject
{
    Q_OBJECT
public:
    using Action = std::function<void(QWidget *dialog)>;

    explicit ModalHelper(Action action, int waitMs = 10000, int closeAfterMs = 3000);
    ~ModalHelper() override;

    bool seen() const { return m_seen; }
    bool leftOpen() const { return m_leftOpen; }
    QString title() const { return m_title; }
    QString text() const { return m_text; }
    QString className() const { return m_className; }

    // The message text of a dialog: a QMessageBox's text, else the texts of its text fields
    // and labels joined by new lines.
    static QString textOf(QWidget *dialog);
    // Clicks the button whose caption, without "&", is `caption`; false when none has it.
    static bool clickButton(QWidget *dialog, const QString &caption);
    // Sends the key to the dialog's focus widget (or the dialog), as the keyboard would.
    static void pressKey(QWidget *dialog, int key, Qt::KeyboardModifiers modifiers = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void poll();
    void forceClose();

    Action m_action;
    QPointer<QWidget> m_before;
    QPointer<QWidget> m_activeBefore;
    QPointer<QWidget> m_dialog;
    QTimer m_poll;
    int m_waitMs;
    int m_closeAfterMs;
    int m_waited = 0;
    bool m_seen = false;
    bool m_leftOpen = false;
    QString m_title;
    QString m_text;
    QString m_className;
};
