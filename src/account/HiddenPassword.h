#pragma once

#include <QString>

namespace tavix {

// The login dialog's password is kept by the program, not by the field (which shows one "*" per
// character). What one typed key does to it.
enum class PasswordKey { Appended, Removed, Discarded };

// Applies one typed character (or Backspace, '\b') to the hidden password. Blanks, double and
// single quotes and backslashes are refused.
PasswordKey ApplyPasswordKey(QString &hidden, QChar typed);

} // namespace tavix
