#pragma once

#include <QString>

namespace tavix {

class AccountUi;
class Connection;
class SettingsStore;
class TDM_Data;

// The answer of the user check: accepted when its first two characters are "OK" in any case;
// the message for the user is the text from the fourth character on, trimmed.
struct UserCheckAnswer
{
    bool accepted = false;
    QString message;
};
UserCheckAnswer ParseUserCheckAnswer(const QString &messaggio);

// The documents folder, then "Calderix", then "Aggiornamenti", each created when missing; no
// separator at the end. Empty when there is no documents folder.
QString UpdatesFolder(const QString &documentsFolder);
QString UpdatesFolder(); // the user's documents folder

// Connection, login and update check, and the gate every server operation passes first.
class ServerAccess
{
public:
    ServerAccess(SettingsStore &settings, TDM_Data &data, Connection &connection, AccountUi &ui);

    bool EnsureConnection();
    void OfferHangUp();
    bool VerifyUser(const QString &user, const QString &password, QString *message);
    bool CheckLogin();
    bool CheckForUpdates();
    bool CheckServerAccess();

    // Both are set to false each time the main window is shown.
    bool UserVerified = false;
    bool UpdateChecked = false;

    // The longest wait for a dialled connection to come up.
    int dialWaitMs = 120'000;

private:
    SettingsStore &m_settings;
    TDM_Data &m_data;
    Connection &m_connection;
    AccountUi &m_ui;
};

} // namespace tavix
