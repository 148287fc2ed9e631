#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

namespace tavix {

class SettingsStore;

// "Informazioni": the program's version, the user it is registered to and the computer.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(const SettingsStore &settings, QWidget *parent = nullptr);
    ~TAboutBox() override;

    // Esc closes it like OK.
    void reject() override { accept(); }

private:
    std::unique_ptr<Ui::TAboutBox> m_ui;
};

} // namespace tavix
