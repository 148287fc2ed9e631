#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>
#include <utility>

namespace Ui {
class TAttendereForm;
}

// The borderless wait window shown while a blocking request runs on the user-interface thread.
// Use it through WaitWindowScope or withWaitWindow, which keep the whole protocol.
class TAttendereForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAttendereForm(QWidget *owner = nullptr);
    ~TAttendereForm() override;

    // "\r\n" (or "\n") starts a new line.
    void setText(const QString &text);
    QString text() const;
    bool isAnimating() const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // The window only goes away when its caller closes it.
    void reject() override {}

private:
    void centre();

    std::unique_ptr<Ui::TAttendereForm> ui;
};

// For its lifetime: the hourglass cursor and a wait window, shown and painted before the work
// starts. Its end closes the window and restores the cursor, also when the work throws.
class WaitWindowScope
{
public:
    // An empty text keeps the default "Attendi, sto ricercando i dati...".
    explicit WaitWindowScope(QWidget *owner, const QString &text = QString());
    ~WaitWindowScope();
    WaitWindowScope(const WaitWindowScope &) = delete;
    WaitWindowScope &operator=(const WaitWindowScope &) = delete;

    TAttendereForm *form() const { return m_form; }

private:
    QPointer<TAttendereForm> m_form;
};

// Runs `work` with a wait window up and returns what it returns; exceptions pass through
// after the window is closed and the cursor restored.
template <typename Work>
decltype(auto) withWaitWindow(QWidget *owner, const QString &text, Work &&work)
{
    WaitWindowScope scope(owner, text);
    return std::forward<Work>(work)();
}
