#pragma once

#include <QApplication>

// The application object: an exception that escapes an event handler becomes the general
// error report (a message box with its text), and the event loop goes on.
class TavixApplication : public QApplication
{
    Q_OBJECT
public:
    TavixApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    static void reportError(const QString &text);
};
