#include "account/HiddenPassword.h"

namespace tavix {

PasswordKey ApplyPasswordKey(QString &hidden, QChar typed)
{
    if (typed == QLatin1Char('\b')) {
        if (hidden.isEmpty())
            return PasswordKey::Discarded;
        hidden.chop(1);
        return PasswordKey::Removed;
    }
    if (typed == QLatin1Char(' ') || typed == QLatin1Char('"') || typed == QLatin1Char('\'') ||
        typed == QLatin1Char('\\') || typed.unicode() < 0x20)
        return PasswordKey::Discarded;
    hidden += typed;
    return PasswordKey::Appended;
}

} // namespace tavix
