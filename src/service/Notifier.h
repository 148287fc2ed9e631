#pragma once

#include <QString>

namespace tavix {

// Core never shows a window. Where it must tell the user something it goes through the
// notifier the application installed; tests install a recording one.
class Notifier
{
public:
    virtual ~Notifier() = default;
    // An error box: text, caption, one OK button. Blocks until dismissed.
    virtual void showError(const QString &caption, const QString &text) = 0;
};

// The installed notifier, or nullptr. Not owned.
Notifier *notifier();
// Installs a notifier and returns the previous one.
Notifier *setNotifier(Notifier *n);
// Shows an error through the installed notifier; without one, writes it to standard error.
void notifyError(const QString &caption, const QString &text);

} // namespace tavix
