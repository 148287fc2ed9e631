#include "account/TavixApplication.h"
#include "service/Error.h"
#include "service/ServiceConstants.h"

#include <QMainWindow>
#include <QMessageBox>

int main(int argc, char **argv)
{
    TavixApplication app(argc, argv);
    TavixApplication::setOrganizationName(QStringLiteral("CALDERIX"));
    TavixApplication::setApplicationName(QStringLiteral("Tavix"));
    TavixApplication::setApplicationDisplayName(QStringLiteral("Tavix"));

    QStringList args = TavixApplication::arguments();
    try {
        tavix::applyServiceOverrides(args);
    } catch (const tavix::Error &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Tavix"), e.text());
        return 2;
    }

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tavix"));
    window.resize(1024, 700);
    window.show();
    return app.exec();
}
