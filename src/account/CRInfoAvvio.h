#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TInfoAvvioForm;
}

namespace tavix {

// The first-start window: a borderless note, centred on its owner, that tells the user the
// general settings come next; its one button closes it.
class TInfoAvvioForm : public QDialog
{
    Q_OBJECT
public:
    // `owner` is the window it is centred on (the screen when none).
    explicit TInfoAvvioForm(QWidget *owner = nullptr);
    ~TInfoAvvioForm() override;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyColours();
    void centreOnOwner();

    std::unique_ptr<Ui::TInfoAvvioForm> m_ui;
};

} // namespace tavix
