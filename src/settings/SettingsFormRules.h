#pragma once

#include <QStringList>
#include <QValidator>

namespace tavix {

// The entry equal to `text` without regard to case, the first one when several are; -1 when
// none is, or when `text` is empty (nothing saved selects nothing).
int IndexOfIgnoringCase(const QStringList &items, const QString &text);

// Whether a key typed into the registration number is thrown away: every character other than
// the digits "0" to "9", Backspace included. Keys without a character (arrows, Delete) and the
// dialog and shortcut keys (Enter, Esc, Tab, Ctrl+…) are left alone.
bool DiscardedFromRegistrationNumber(int key, const QString &text);

// Letters typed or pasted into an edit become upper case, one character for one, so that a
// length limit still holds ("ß" stays as it is).
QString UpperCaseOneForOne(const QString &text);

class UpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

} // namespace tavix
