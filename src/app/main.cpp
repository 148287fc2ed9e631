#include "account/TavixApplication.h"

#include <QMainWindow>

int main(int argc, char **argv)
{
    TavixApplication app(argc, argv);
    TavixApplication::setOrganizationName(QStringLiteral("CALDERIX"));
    TavixApplication::setApplicationName(QStringLiteral("Tavix"));
    TavixApplication::setApplicationDisplayName(QStringLiteral("Tavix"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tavix"));
    window.resize(1024, 700);
    window.show();
    return app.exec();
}
