#pragma once

#include <QTextDocument>
#include <QUrl>
#include <QWidget>

#include <memory>

class QTextBrowser;

namespace Ui {
class HelpWindow;
}

// The help viewer: one page of the program's help at a time, with the contents page, back and
// forward through the pages seen, and search within the page. Not modal; Esc closes it.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);
    ~HelpWindow() override;

    void showPage(const QUrl &url);
    // Centres the window over the caller's window the first time it is shown.
    void placeOver(QWidget *caller);
    QTextBrowser *browser() const;

    // A modal dialog blocks every window that is not its own. The help window joins the dialog
    // that is up (as its transient), so that the user can read it while the dialog waits.
    void joinActiveModalDialog();

    // Selects the next (or previous) occurrence of the search text, going round the page once;
    // false when the page does not hold it.
    bool findNext();
    bool findPrevious();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setupActions();
    void setupSearch();
    void showIndex();
    void updateTitle();
    bool find(QTextDocument::FindFlags flags, bool fromSelectionStart);
    void showSearchOutcome(bool found);

    std::unique_ptr<Ui::HelpWindow> m_ui;
    bool m_noticeShown = false; // the page says that the help is missing
};
