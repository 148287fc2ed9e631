#include "account/Help.h"

#include "account/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

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
    window->show();
    window->joinActiveModalDialog();
    window->raise();
    window->activateWindow();
}
