#include "account/WidgetAccountUi.h"

#include "controls/CRAttendere.h"
#include "controls/ZRMessageBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QUrl>

namespace tavix {

WidgetAccountUi::WidgetAccountUi(QWidget *mainWindow) : m_mainWindow(mainWindow) {}

WidgetAccountUi::~WidgetAccountUi() = default;

int WidgetAccountUi::message(const QString &text, const QString &caption, int flags)
{
    return ZRMessageBox(QApplication::focusWidget(), text, caption, flags);
}

void WidgetAccountUi::setBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void WidgetAccountUi::showWait(const QString &text)
{
    m_wait.reset();
    m_wait = std::make_unique<WaitWindowScope>(nullptr, text);
}

void WidgetAccountUi::closeWait()
{
    m_wait.reset();
}

void WidgetAccountUi::processEvents()
{
    QApplication::processEvents(QEventLoop::AllEvents, 50);
}

int WidgetAccountUi::runLoginDialog()
{
    return m_runLogin ? m_runLogin() : 2;
}

QString WidgetAccountUi::askSaveFile(const QString &proposedName, const QString &folder)
{
    QFileDialog dialog(nullptr);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QObject::tr("Tutti (*)"));
    dialog.setDirectory(folder.isEmpty() ? QDir::homePath() : folder);
    dialog.selectFile(proposedName);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void WidgetAccountUi::openWithShell(const QString &pathOrAddress)
{
    const QUrl url = QUrl::fromUserInput(pathOrAddress, QDir::currentPath(), QUrl::AssumeLocalFile);
    QDesktopServices::openUrl(url);
}

void WidgetAccountUi::closeMainWindow()
{
    if (m_mainWindow)
        m_mainWindow->close();
}

} // namespace tavix
