#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// The program's help: HTML pages in the folder "help" beside the program, one page per topic
// number ("topic-02.html" for topic 2) and a contents page "index.html".

// Opens the one help window of the program at the page of the topic (the contents page when the
// topic has no page), raised above the caller. The window is not modal: the user keeps working
// in the caller's window, also when that is a modal dialog.
void ShowHelp(QWidget *parent, int topic);

// Gives a window its help topic: F1 pressed in it opens the help there. Calling it again changes
// the topic (a dialog that serves two topics sets it when shown); -1 when the window has none.
void SetHelpTopic(QWidget *window, int topic);
int HelpTopicOf(const QWidget *window);

// The folder of the pages: "help" beside the program unless set with setHelpFolder.
QString HelpFolder();
// Points the help at another folder (tests, a development tree); an empty text restores the
// default.
void setHelpFolder(const QString &folder);

// The address of the topic's page, or of the contents page when the topic has no page.
QUrl HelpTopicUrl(int topic);
QUrl HelpIndexUrl();
