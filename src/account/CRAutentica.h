#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAutenticaForm;
}

namespace tavix {

class AccountUi;
class ServerAccess;
class SettingsStore;

// "Identificazione": the user name and a password masked by the program itself. Accepting
// stores the pair only after the server has accepted it.
class TAutenticaForm : public QDialog
{
    Q_OBJECT
public:
    TAutenticaForm(ServerAccess &access, SettingsStore &settings, AccountUi &ui,
                   QWidget *parent = nullptr);
    ~TAutenticaForm() override;

    QString hiddenPassword() const { return m_password; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void OKBTClick();
    void Nuovo_ButtonClick();
    bool PwdEditKeyPress(QKeyEvent *event);

    std::unique_ptr<Ui::TAutenticaForm> m_ui;
    ServerAccess &m_access;
    SettingsStore &m_settings;
    AccountUi &m_accountUi;
    QString m_password;
};

} // namespace tavix
