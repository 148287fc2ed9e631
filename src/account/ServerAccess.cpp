#include "account/ServerAccess.h"

#include "account/AccountUi.h"
#include "account/Connection.h"
#include "service/DMTAFQueryPhp.h"
#include "service/Error.h"
#include "settings/CRGestioneRegistro.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

namespace tavix {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("tavix", text);
}

constexpr int MB_OK_ERROR = 16;
constexpr int MB_OK_INFORMATION = 64;
constexpr int MB_YESNO_INFORMATION = 68;
constexpr int IDYES = 6;

// The hourglass for a scope, given back on every way out.
class BusyCursor
{
public:
    explicit BusyCursor(AccountUi &ui) : m_ui(ui) { m_ui.setBusyCursor(true); }
    ~BusyCursor() { m_ui.setBusyCursor(false); }

private:
    AccountUi &m_ui;
};

class WaitWindow
{
public:
    WaitWindow(AccountUi &ui, const QString &text) : m_ui(ui) { m_ui.showWait(text); }
    ~WaitWindow() { m_ui.closeWait(); }

private:
    AccountUi &m_ui;
};

} // namespace

UserCheckAnswer ParseUserCheckAnswer(const QString &messaggio)
{
    return {messaggio.left(2).toUpper() == QLatin1String("OK"), messaggio.mid(3).trimmed()};
}

QString UpdatesFolder(const QString &documentsFolder)
{
    if (documentsFolder.isEmpty())
        return {};
    QString path = documentsFolder;
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QDir::separator()))
        path += QLatin1Char('/');
    path += QLatin1String("Calderix");
    QDir().mkdir(path);
    path += QLatin1String("/Aggiornamenti");
    QDir().mkdir(path);
    return QDir::toNativeSeparators(path);
}

QString UpdatesFolder()
{
    return UpdatesFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

ServerAccess::ServerAccess(SettingsStore &settings, TDM_Data &data, Connection &connection,
                           AccountUi &ui)
    : m_settings(settings), m_data(data), m_connection(connection), m_ui(ui)
{
}

bool ServerAccess::EnsureConnection()
{
    if (m_connection.state().connected)
        return true;
    m_ui.message(tr("Per proseguire occorre stabilire una connessione: il programma avvierà "
                    "quella predefinita"),
                 tr("INFORMAZIONE"), MB_OK_INFORMATION);
    BusyCursor busy(m_ui);
    if (!m_connection.dial())
        return false;
    QElapsedTimer clock;
    clock.start();
    while (!m_connection.state().connected && clock.elapsed() < dialWaitMs) {
        m_ui.processEvents();
        QThread::msleep(20);
    }
    // A connection still missing after the wait lets the caller's request go on; it then
    // fails with the data module's own message.
    if (!m_connection.state().connected)
        return true;
    return CheckLogin();
}

void ServerAccess::OfferHangUp()
{
    const Connection::State s = m_connection.state();
    if (!s.connected || !(s.kinds & (Connection::Modem | Connection::ModemBusy)))
        return;
    if (m_ui.message(tr("Disconnettere prima di uscire?"), tr("Informazione"),
                     MB_YESNO_INFORMATION) == IDYES)
        m_connection.hangUp();
}

bool ServerAccess::VerifyUser(const QString &user, const QString &password, QString *message)
{
    const QString version = m_settings.ReadRootValue(setting::kVersione);
    QString u = user;
    QString p = password;
    if (u.isEmpty() || p.isEmpty()) {
        u = m_settings.ReadRootValue(setting::kUser);
        p = m_settings.ReadRootValue(setting::kPwd);
    }
    QString answer;
    {
        BusyCursor busy(m_ui);
        if (EnsureConnection())
            answer = m_data.QueryUserCheck(u, p, version);
    }
    const UserCheckAnswer parsed = ParseUserCheckAnswer(answer);
    if (message)
        *message = parsed.message;
    return parsed.accepted;
}

bool ServerAccess::CheckLogin()
{
    QString message;
    bool ok = false;
    {
        BusyCursor busy(m_ui);
        WaitWindow wait(m_ui, tr("Attendere..."));
        ok = VerifyUser(QString(), QString(), &message);
    }
    if (!ok) {
        if (m_settings.ReadRegistered())
            m_ui.message(message, tr("Errore"), MB_OK_ERROR);
        else
            m_ui.message(tr("Per cominciare a lavorare con Tavix occorre che ti registri"),
                         tr("Avviso"), MB_OK_INFORMATION);
        ok = m_ui.runLoginDialog() == 1;
    }
    UserVerified = ok;
    return ok;
}

bool ServerAccess::CheckForUpdates()
{
    TDM_Data::UpdateInfo update;
    try {
        BusyCursor busy(m_ui);
        if (EnsureConnection()) {
            update = m_data.QueryUpdateCheck(m_settings.ReadRootValue(setting::kUser),
                                             m_settings.ReadRootValue(setting::kPwd),
                                             m_settings.ReadRootValue(setting::kVersione));
            UpdateChecked = true;
        }
    } catch (const Error &) {
        update = {}; // the data module has already told the user
    }
    if (update.address.isEmpty())
        return false;
    if (m_ui.message(tr("E' disponibile una versione aggiornata di Tavix, vuoi scaricarla ora?"),
                     tr("INFORMAZIONE"), MB_YESNO_INFORMATION) != IDYES)
        return false;
    const QString file = m_ui.askSaveFile(update.fileName, UpdatesFolder());
    if (file.isEmpty())
        return false;
    {
        BusyCursor busy(m_ui);
        WaitWindow wait(m_ui, tr("Attendere, download in corso..."));
        m_data.Download(update.address, file);
    }
    if (m_ui.message(tr("Vuoi aggiornare ora il programma?\r\n\r\nATTENZIONE: se confermi, Tavix "
                        "sarà chiuso e sarà avviata l'installazione dell'aggiornamento"),
                     tr("INFORMAZIONE"), MB_YESNO_INFORMATION) != IDYES)
        return false;
    m_ui.openWithShell(file);
    return true;
}

bool ServerAccess::CheckServerAccess()
{
    if (!EnsureConnection())
        return false;
    if (!UserVerified && !CheckLogin())
        return false;
    m_data.ServiceUser = m_settings.ReadRootValue(setting::kUser);
    m_data.ServicePassword = m_settings.ReadRootValue(setting::kPwd);
    if (!UpdateChecked && CheckForUpdates()) {
        m_ui.closeMainWindow();
        return false;
    }
    return true;
}

} // namespace tavix
