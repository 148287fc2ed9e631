#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("CALDERIX"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavix"));
    QTextStream(stderr) << "uso: tavix-cli COMANDO ...\n";
    return 2;
}
