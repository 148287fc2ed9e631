#include "account/Help.h"

#include "account/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QWindow>

namespace {

QString &helpFolderOverride()
{
    static QString folder;
    return folder;
}

QPointer<HelpWindow> &sharedHelpWindow()
{
    static QPointer<HelpWindow> window;
    return window;
}

QString topicFileName(int topic)
{
    return QStringLiteral("topic-%1.html").arg(topic, 2, 10, QLatin1Char('0'));
}

// A modal dialog blocks every window that is not its own. The help window is made a transient
// of the dialog that is up, so that the user can read and scroll it while the dialog waits.
void keepUsableOverModalDialog(HelpWindow *window)
{
    QWidget *modal = QApplication::activeModalWidget();
    QWindow *handle = window->windowHandle();
    if (!handle)
        return;
    QWindow *host = modal && modal != window ? modal->window()->windowHandle() : nullptr;
    if (handle->transientParent() != host)
        handle->setTransientParent(host);
}

} // namespace

QString HelpFolder()
{
    if (!helpFolderOverride().isEmpty())
        return helpFolderOverride();
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
}

void setHelpFolder(const QString &folder)
{
    helpFolderOverride() = folder;
}

QUrl HelpIndexUrl()
{
    return QUrl::fromLocalFile(QDir(HelpFolder()).filePath(QStringLiteral("index.html")));
}

QUrl HelpTopicUrl(int topic)
{
    const QString page = QDir(HelpFolder()).filePath(topicFileName(topic));
    if (topic < 0 || !QFileInfo::exists(page))
        return HelpIndexUrl();
    return QUrl::fromLocalFile(page);
}

void ShowHelp(QWidget *parent, int topic)
{
    QPointer<HelpWindow> &window = sharedHelpWindow();
    const bool created = window.isNull();
    if (created)
        window = new HelpWindow;
    window->showPage(HelpTopicUrl(topic));
    if (created)
        window->placeOver(parent);
    window->winId(); // the native window must exist before it can be made a transient
    keepUsableOverModalDialog(window);
    window->show();
    keepUsableOverModalDialog(window);
    window->raise();
    window->activateWindow();
}
