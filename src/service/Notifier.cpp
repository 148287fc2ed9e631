#include "service/Notifier.h"

#include <cstdio>

namespace tavix {

namespace {
Notifier *g_notifier = nullptr;
}

Notifier *notifier()
{
    return g_notifier;
}

Notifier *setNotifier(Notifier *n)
{
    Notifier *previous = g_notifier;
    g_notifier = n;
    return previous;
}

void notifyError(const QString &caption, const QString &text)
{
    if (g_notifier) {
        g_notifier->showError(caption, text);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
}

} // namespace tavix
