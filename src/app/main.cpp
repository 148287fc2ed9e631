#include "account/CRAutentica.h"
#include "account/Connection.h"
#include "account/ServerAccess.h"
#include "account/TavixApplication.h"
#include "account/WidgetAccountUi.h"
#include "controls/ZRMessageBoxNotifier.h"
#include "mainwin/CRMain.h"
#include "service/DMTAFQueryPhp.h"
#include "service/Error.h"
#include "service/ServiceConstants.h"
#include "settings/CRGestioneRegistro.h"
#include "settings/QSettingsKeyStore.h"

#include <QLocale>
#include <QMessageBox>

using namespace tavix;

int main(int argc, char **argv)
{
    // Numbers and text convert with "." whatever the user's regional settings.
    QLocale::setDefault(QLocale::c());
    TavixApplication app(argc, argv);
    TavixApplication::setOrganizationName(QStringLiteral("CALDERIX"));
    TavixApplication::setApplicationName(QStringLiteral("Tavix"));
    TavixApplication::setApplicationDisplayName(QStringLiteral("Tavix"));

    QStringList args = TavixApplication::arguments();
    try {
        applyServiceOverrides(args);
    } catch (const Error &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Tavix"), e.text());
        return 2;
    }

    auto keys = QSettingsKeyStore::openProgramStore();
    SettingsStore settings(*keys); // no browser page setup to take over on this system
    settings.SaveBrowserPageSetup();

    ZRMessageBoxNotifier notifier;
    setNotifier(&notifier);

    TDM_Data data;
    AlwaysConnected connection;
    WidgetAccountUi accountUi;
    ServerAccess access(settings, data, connection, accountUi);
    accountUi.setLoginDialogRunner([&] {
        TAutenticaForm login(access, settings, accountUi);
        return login.exec();
    });

    int code = 0;
    {
        TCRMainForm window(settings, data, access);
        accountUi.setMainWindow(&window);
        window.showMaximized();
        code = app.exec();
    }
    settings.RestoreBrowserPageSetup();
    data.ServiceUser.clear();
    data.ServicePassword.clear();
    setNotifier(nullptr);
    return code;
}
