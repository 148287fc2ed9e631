#include "account/TavixApplication.h"

#include "service/Error.h"

#include "controls/ZRMessageBox.h"

#include <exception>

TavixApplication::TavixApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TavixApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const tavix::Error &e) {
        reportError(e.text());
    } catch (const std::exception &e) {
        reportError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportError(tr("Errore sconosciuto"));
    }
    return false;
}

void TavixApplication::reportError(const QString &text)
{
    ZRMessageBox(activeWindow(), text, applicationDisplayName(), 16);
}
