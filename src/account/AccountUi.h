#pragma once

#include <QString>

namespace tavix {

// What the account flows need from the windows. The application implements it with the
// program's message box, wait window and dialogs; tests with a script of answers.
class AccountUi
{
public:
    virtual ~AccountUi() = default;
    // The program's message box: Windows flag values in, Windows result codes out.
    virtual int message(const QString &text, const QString &caption, int flags) = 0;
    virtual void setBusyCursor(bool busy) = 0;
    virtual void showWait(const QString &text) = 0;
    virtual void closeWait() = 0;
    // Lets pending window messages run (the dial wait keeps windows painted).
    virtual void processEvents() = 0;
    // The login dialog, modal; its result (1 accepted, 2 cancelled).
    virtual int runLoginDialog() = 0;
    // The save dialog for a downloaded update; empty when cancelled.
    virtual QString askSaveFile(const QString &proposedName, const QString &folder) = 0;
    // The desktop's "Open" on a file or address.
    virtual void openWithShell(const QString &pathOrAddress) = 0;
    virtual void closeMainWindow() = 0;
};

} // namespace tavix
