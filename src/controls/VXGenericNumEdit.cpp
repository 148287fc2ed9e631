#include "controls/VXGenericNumEdit.h"

#include <QKeyEvent>

using tavix::EditInput;

TVXGenericNumEdit::TVXGenericNumEdit(QWidget *parent) : TVXGenericEdit(parent)
{
    configure();
    // Whatever changed the text (program code, undo, a drop), a text that breaks the rule
    // does not stay.
    connect(this, &QLineEdit::textChanged, this, &TVXGenericNumEdit::keepValid);
}

void TVXGenericNumEdit::configure()
{
    setAcceptedChars(m_rules.acceptedChars());
    setMaxLength(m_rules.maxLength());
}

void TVXGenericNumEdit::keepValid(const QString &text)
{
    if (m_rules.isValidText(text))
        m_lastValidText = text;
    else
        setText(m_lastValidText);
}

void TVXGenericNumEdit::setAccettaSegno(bool on)
{
    const QString adjusted = m_rules.setAccettaSegno(on, text());
    configure();
    if (adjusted != text())
        setText(adjusted);
}

void TVXGenericNumEdit::setInteri(int n)
{
    m_rules.setInteri(n);
    configure();
}

void TVXGenericNumEdit::setDecimali(int n)
{
    m_rules.setDecimali(n);
    configure();
}

void TVXGenericNumEdit::setSeparatore(QChar c)
{
    m_rules.setSeparatore(c);
    configure();
}

QString TVXGenericNumEdit::valore()
{
    FormatText();
    return text();
}

void TVXGenericNumEdit::setValore(const QString &value)
{
    setText(m_rules.isValidText(value) ? value : m_lastValidText);
}

void TVXGenericNumEdit::FormatText()
{
    const QString formatted = m_rules.formatText(text());
    if (formatted != text())
        setText(formatted);
}

bool TVXGenericNumEdit::acceptEdit(EditInput input, const QString &inserted)
{
    tavix::EditState state;
    state.text = text();
    state.selectionStart = hasSelectedText() ? selectionStart() : cursorPosition();
    state.selectionLength = hasSelectedText() ? selectionLength() : 0;
    return m_rules.isValidText(tavix::candidateText(state, input, inserted));
}

void TVXGenericNumEdit::leaveField()
{
    TVXGenericEdit::leaveField();
    FormatText();
}

void TVXGenericNumEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        FormatText();
    TVXGenericEdit::keyPressEvent(event);
}
