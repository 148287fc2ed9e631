#include "controls/ZRMessageBoxNotifier.h"
#include "controls/ZRMessageBox.h"

#include <QApplication>

void ZRMessageBoxNotifier::showError(const QString &caption, const QString &text)
{
    ZRMessageBox(QApplication::activeWindow(), text, caption, tavix::MB_OK | tavix::MB_ICONERROR);
}
