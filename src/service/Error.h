#pragma once

#include <QString>
#include <stdexcept>

namespace tavix {

// The one error type of the core: thrown where an operation "ends with an error"; the
// application's general error report shows its text and the program goes on.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString &text() const noexcept { return m_text; }

private:
    QString m_text;
};

} // namespace tavix
