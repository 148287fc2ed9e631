#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

class QComboBox;
class QKeyEvent;
class QLineEdit;

namespace Ui {
class TImpostazioniGeneraliForm;
}

namespace tavix {

class SettingsStore;

// "Impostazioni generali": the province and comune selected at start, whether the card shows
// coordinates and height, and the technician's data printed on the cards. Writes the store only
// on OK. Knows nothing of the main window: its caller hands over the items of its province and
// comune lists (group markers included).
class TImpostazioniGeneraliForm : public QDialog
{
    Q_OBJECT
public:
    TImpostazioniGeneraliForm(SettingsStore &settings, QStringList mainWindowProvinces,
                              QStringList mainWindowComuni, QWidget *parent = nullptr);
    ~TImpostazioniGeneraliForm() override;

    void setVisible(bool visible) override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupControls();
    void FormShow();
    void selectSaved();
    void ProvComboChange();
    void ProvComboExit();
    void ResetProvinciaBTClick();
    void OkBTClick();
    void writeSettings();
    bool dropDownOnTyping(QComboBox *combo, QKeyEvent *event);

    std::unique_ptr<Ui::TImpostazioniGeneraliForm> m_ui;
    SettingsStore &m_settings;
    QStringList m_mainWindowProvinces;
    QStringList m_mainWindowComuni;
    QString m_savedProvince;
    QString m_savedComune;
};

} // namespace tavix
