#pragma once

#include "account/AccountUi.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class WaitWindowScope;

namespace tavix {

// The account flows shown with the program's message box, wait window and dialogs.
class WidgetAccountUi : public AccountUi
{
public:
    using LoginDialogRunner = std::function<int()>;

    explicit WidgetAccountUi(QWidget *mainWindow = nullptr);
    ~WidgetAccountUi() override;

    void setMainWindow(QWidget *window) { m_mainWindow = window; }
    // Who runs the login dialog (it needs the access gate, which needs this object).
    void setLoginDialogRunner(LoginDialogRunner runner) { m_runLogin = std::move(runner); }

    int message(const QString &text, const QString &caption, int flags) override;
    void setBusyCursor(bool busy) override;
    void showWait(const QString &text) override;
    void closeWait() override;
    void processEvents() override;
    int runLoginDialog() override;
    QString askSaveFile(const QString &proposedName, const QString &folder) override;
    void openWithShell(const QString &pathOrAddress) override;
    void closeMainWindow() override;

private:
    QPointer<QWidget> m_mainWindow;
    LoginDialogRunner m_runLogin;
    std::unique_ptr<WaitWindowScope> m_wait;
};

} // namespace tavix
