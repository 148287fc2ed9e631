#include "account/Help.h"

#include "account/HelpWindow.h"

#include <QAction>
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

const char helpTopicProperty[] = "tavixHelpTopic";

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

void SetHelpTopic(QWidget *window, int topic)
{
    const bool keyInstalled = window->property(helpTopicProperty).isValid();
    window->setProperty(helpTopicProperty, topic);
    if (keyInstalled)
        return;
    auto *helpKey = new QAction(window);
    helpKey->setShortcut(QKeySequence::HelpContents);
    helpKey->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(helpKey, &QAction::triggered, window,
                     [window] { ShowHelp(window, HelpTopicOf(window)); });
    window->addAction(helpKey);
}

int HelpTopicOf(const QWidget *window)
{
    bool ok = false;
    const int topic = window->property(helpTopicProperty).toInt(&ok);
    return ok ? topic : -1;
}
