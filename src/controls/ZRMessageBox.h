#pragma once

#include "controls/MessageBoxPlan.h"

#include <QDialog>
#include <memory>

class QPushButton;
namespace Ui {
class TZRMessageBox_Form;
}

// The program's own modal message box: Windows message-box flags in, Windows result codes
// out, Italian captions, an animated picture on a white side panel.
class TZRMessageBox_Form : public QDialog
{
    Q_OBJECT
public:
    explicit TZRMessageBox_Form(QWidget *parent = nullptr);
    ~TZRMessageBox_Form() override;

    // Builds the box for one message. The caption always replaces the design-time one.
    void setMessage(const QString &text, const QString &caption, unsigned flags);

    QList<QPushButton *> buttons() const { return m_buttons; }
    QString text() const;

public slots:
    // The close control (and Alt+F4) answers Cancel, whatever buttons the box shows.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildButtons(const tavix::MessageBoxPlan &plan);
    void showPicture(tavix::MessagePicture picture);
    void centreOnScreen();

    std::unique_ptr<Ui::TZRMessageBox_Form> ui;
    QList<QPushButton *> m_buttons;
    QPushButton *m_defaultButton = nullptr;
    QPushButton *m_escapeButton = nullptr;
};

// Shows `text` under `caption` with the buttons and picture that `flags` ask for and returns
// the Windows result code of the answer (IDOK 1 ... IDNO 7; 2 when closed by the title bar).
// The box is centred on the screen; `owner` only chooses which screen.
int ZRMessageBox(QWidget *owner, const QString &text, const QString &caption, int flags);
