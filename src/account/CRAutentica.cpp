#include "account/CRAutentica.h"
#include "ui_CRAutentica.h"

#include "account/AccountUi.h"
#include "account/Help.h"
#include "account/HiddenPassword.h"
#include "account/ServerAccess.h"
#include "service/ServiceConstants.h"
#include "settings/CRGestioneRegistro.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QShortcut>
#include <QUrl>

namespace tavix {

namespace {
constexpr int MB_OK_ERROR = 16;
}

TAutenticaForm::TAutenticaForm(ServerAccess &access, SettingsStore &settings, AccountUi &ui,
                               QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TAutenticaForm>()), m_access(access),
      m_settings(settings), m_accountUi(ui)
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_ui->PwdEdit->installEventFilter(this);
    // Only typing and Backspace are followed, so nothing else may change the field.
    m_ui->PwdEdit->setContextMenuPolicy(Qt::NoContextMenu);
    m_ui->PwdEdit->setAcceptDrops(false);
    connect(m_ui->OKBT, &QPushButton::clicked, this, &TAutenticaForm::OKBTClick);
    connect(m_ui->AnnullaBt, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->Nuovo_Button, &QPushButton::clicked, this, &TAutenticaForm::Nuovo_ButtonClick);
    connect(m_ui->HelpBT, &QPushButton::clicked, this, [this] { ShowHelp(this, 26); });
    auto *f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] { ShowHelp(this, 26); });
}

TAutenticaForm::~TAutenticaForm() = default;

void TAutenticaForm::showEvent(QShowEvent *event)
{
    m_password.clear();
    m_ui->PwdEdit->clear();
    m_ui->UserEdit->setFocus();
    QDialog::showEvent(event);
}

bool TAutenticaForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->PwdEdit && event->type() == QEvent::KeyPress)
        return PwdEditKeyPress(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

// True when the event is consumed here.
bool TAutenticaForm::PwdEditKeyPress(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Backspace) {
        if (ApplyPasswordKey(m_password, QLatin1Char('\b')) == PasswordKey::Removed)
            m_ui->PwdEdit->setText(QString(m_password.size(), QLatin1Char('*')));
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
        key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return false; // dialog keys
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End)
        return false;
    const QString text = event->text();
    if (text.size() == 1 && !(event->modifiers() & Qt::ControlModifier) &&
        ApplyPasswordKey(m_password, text.at(0)) == PasswordKey::Appended)
        m_ui->PwdEdit->setText(QString(m_password.size(), QLatin1Char('*')));
    return true; // nothing else reaches the field: no paste, cut or delete behind our back
}

void TAutenticaForm::OKBTClick()
{
    if (m_ui->UserEdit->text().isEmpty()) {
        m_accountUi.message(tr("Inserire il nome utente (e-mail)"), tr("Errore"), MB_OK_ERROR);
        m_ui->UserEdit->setFocus();
        return;
    }
    if (m_ui->PwdEdit->text().isEmpty()) {
        m_accountUi.message(tr("Inserire la password"), tr("Errore"), MB_OK_ERROR);
        m_ui->PwdEdit->setFocus();
        return;
    }
    QString message;
    const QString user = m_ui->UserEdit->text();
    if (m_access.VerifyUser(user, m_password, &message)) {
        m_settings.WriteRootValue(setting::kUser, user);
        m_settings.WriteRootValue(setting::kPwd, m_password);
        m_settings.WriteRegistered(true);
        accept();
        return;
    }
    m_password.clear();
    m_ui->PwdEdit->clear();
    m_accountUi.message(message, tr("Errore"), MB_OK_ERROR);
}

void TAutenticaForm::Nuovo_ButtonClick()
{
    QDesktopServices::openUrl(QUrl(newUserPage()));
    reject();
}

} // namespace tavix
