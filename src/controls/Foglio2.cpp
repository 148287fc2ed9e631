#include "controls/Foglio2.h"
#include "controls/FocusReturn.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <QValidator>

using namespace tavix::sheet;

namespace {

// Typed and pasted letters become capitals.
class UpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

TFoglio::TFoglio(QWidget *parent) : QLineEdit(parent)
{
    resize(100, sizeHint().height());
    setValidator(new UpperCaseValidator(this));
    connect(this, &QLineEdit::textEdited, this, [this] { m_typed = true; });
    connect(this, &QLineEdit::textChanged, this, [this] { m_syntaxShown = false; });
}

void TFoglio::setParametri(int n)
{
    if (n >= 1 && n <= 3)
        m_parametri = n;
}

void TFoglio::setSequenza(Sequenza s)
{
    clear();
    m_sequenza = s;
}

void TFoglio::keyPressEvent(QKeyEvent *event)
{
    // Insert, and with it Shift+Insert (paste) and Ctrl+Insert (copy), does nothing here.
    if (event->key() == Qt::Key_Insert) {
        event->accept();
        return;
    }
    QChar ch;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        ch = QLatin1Char('\r');
    else if (event->key() != Qt::Key_Backspace && !event->text().isEmpty() &&
             event->text().at(0).isPrint())
        ch = event->text().at(0).toUpper();
    if (ch.isNull()) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    const bool wholeSelected = selectedText().size() == text().size();
    const KeyCheck check = CheckKey(text(), wholeSelected, ch, m_parametri, m_sequenza);
    if (check.normalised) {
        if (check.text != text())
            setText(check.text);
        setCursorPosition(int(text().size()));
    }
    if (check.validateFirst)
        ValidateOnFocus();
    if (!check.accepted) {
        event->accept();
        refuseKey();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TFoglio::refuseKey()
{
    QMessageBox::critical(this, tr("Errore"), tr("Numero del foglio scorretto..."));
}

bool TFoglio::validatesOn(const QFocusEvent *event)
{
    // Switching windows (a message box, another program) is not entering or leaving the
    // field, and neither is the focus moving back to a field that refused to be left.
    const Qt::FocusReason reason = event->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           !FocusReturn::inProgress();
}

void TFoglio::focusInEvent(QFocusEvent *event)
{
    if (validatesOn(event))
        ValidateOnFocus(false);
    QLineEdit::focusInEvent(event);
}

void TFoglio::focusOutEvent(QFocusEvent *event)
{
    if (validatesOn(event))
        ValidateOnFocus(true);
    QLineEdit::focusOutEvent(event);
}

void TFoglio::ValidateOnFocus(bool leaving)
{
    m_savedText = text();
    const bool typed = m_typed;
    QString candidate = text();
    if (validateText(candidate, m_parametri, m_sequenza)) {
        if (candidate != text())
            setText(candidate);
        m_typed = false;
    }
    if (!text().isEmpty() && partCount(text()) == m_parametri)
        setCursorPosition(int(text().size()));
    leaveStep(leaving, typed);
}

void TFoglio::leaveStep(bool leaving, bool typed)
{
    const LeaveDecision decision = LeaveStep(m_savedText, m_parametri, m_sequenza, typed);
    switch (decision.action) {
    case LeaveDecision::RunExit:
        emit exited();
        break;
    case LeaveDecision::SyntaxError:
        syntaxError(leaving);
        break;
    case LeaveDecision::Replace:
        setText(decision.text);
        setCursorPosition(int(text().size()));
        m_typed = false;
        break;
    case LeaveDecision::Stay:
        break;
    }
}

void TFoglio::syntaxError(bool leaving)
{
    // Once per text: the focus coming back, or another try to leave without changing the
    // text, must not bring the same message up again.
    const bool showMessage = !m_syntaxShown;
    m_syntaxShown = true;
    if (!showMessage && !leaving)
        return;
    // After the focus change in progress has finished.
    QTimer::singleShot(0, this, [this, showMessage, leaving] {
        if (showMessage)
            QMessageBox::critical(this, tr("Errore"), tr("Sintassi scorretta..."));
        else
            QApplication::beep();
        if (leaving && isEnabled() && isVisible())
            FocusReturn::to(this);
    });
}
