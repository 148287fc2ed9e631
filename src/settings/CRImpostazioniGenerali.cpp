#include "settings/CRImpostazioniGenerali.h"
#include "ui_CRImpostazioniGenerali.h"

#include "account/CRInfoAvvio.h"
#include "account/Help.h"
#include "account/TavixApplication.h"
#include "service/Error.h"
#include "settings/CRGestioneRegistro.h"
#include "settings/ListFont.h"
#include "settings/ReferenceLists.h"
#include "settings/SettingsFormRules.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStatusTipEvent>

namespace tavix {

namespace {

constexpr int kHelpTopic = 3;

// Replaces the items; nothing is selected afterwards. The drop-down is wide enough for the
// longest entry, whatever the width of the box.
void fillCombo(QComboBox *combo, const QStringList &items)
{
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    QAbstractItemView *view = combo->view();
    view->setMinimumWidth(view->sizeHintForColumn(0) +
                          view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth());
}

// An edit as wide as `chars` characters of its font.
void fitToChars(QLineEdit *edit, int chars)
{
    const int charWidth = edit->fontMetrics().horizontalAdvance(QLatin1Char('W'));
    edit->setFixedWidth(charWidth * chars +
                        2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
}

bool isPrintable(const QString &text)
{
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace

TImpostazioniGeneraliForm::TImpostazioniGeneraliForm(SettingsStore &settings,
                                                     QStringList mainWindowProvinces,
                                                     QStringList mainWindowComuni, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TImpostazioniGeneraliForm>()),
      m_settings(settings), m_mainWindowProvinces(std::move(mainWindowProvinces)),
      m_mainWindowComuni(std::move(mainWindowComuni))
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setupControls();
    SetHelpTopic(this, kHelpTopic);

    connect(m_ui->ProvCombo, &QComboBox::activated, this,
            &TImpostazioniGeneraliForm::ProvComboChange);
    connect(m_ui->ResetProvinciaBT, &QPushButton::clicked, this,
            &TImpostazioniGeneraliForm::ResetProvinciaBTClick);
    connect(m_ui->OkBT, &QPushButton::clicked, this, &TImpostazioniGeneraliForm::OkBTClick);
    connect(m_ui->AnnullaBt, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->AiutoBt, &QPushButton::clicked, this, [this] { ShowHelp(this, kHelpTopic); });

    setFixedSize(sizeHint().expandedTo(size()));
}

TImpostazioniGeneraliForm::~TImpostazioniGeneraliForm() = default;

void TImpostazioniGeneraliForm::setupControls()
{
    const QFont listFont = ReferenceListFont();
    const QList<QWidget *> fixedPitch{m_ui->ProvCombo,      m_ui->ComCombo,
                                      m_ui->Tecnico_Edit,   m_ui->NIscrizione_Edit,
                                      m_ui->Qualifica_Edit, m_ui->ProvTecnico_Edit};
    for (QWidget *w : fixedPitch)
        w->setFont(listFont);

    auto *upper = new UpperCaseValidator(this);
    m_ui->Tecnico_Edit->setValidator(upper);
    m_ui->Qualifica_Edit->setValidator(upper);
    m_ui->ProvTecnico_Edit->setValidator(upper);
    // Typing is filtered key by key below; the validator keeps pasted and dropped text to digits.
    m_ui->NIscrizione_Edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*")), m_ui->NIscrizione_Edit));
    fitToChars(m_ui->Tecnico_Edit, 40);
    fitToChars(m_ui->NIscrizione_Edit, 10);
    fitToChars(m_ui->Qualifica_Edit, 20);
    fitToChars(m_ui->ProvTecnico_Edit, 2);

    m_ui->ResetProvinciaBT->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    m_ui->ProvCombo->setMinimumContentsLength(20);
    m_ui->ComCombo->setMinimumContentsLength(32);

    m_ui->ProvCombo->installEventFilter(this);
    m_ui->ComCombo->installEventFilter(this);
    m_ui->NIscrizione_Edit->installEventFilter(this);
}

void TImpostazioniGeneraliForm::setVisible(bool visible)
{
    if (visible && !isVisible())
        FormShow();
    QDialog::setVisible(visible);
}

void TImpostazioniGeneraliForm::FormShow()
{
    if (m_settings.ReadFirstStart()) {
        TInfoAvvioForm info(parentWidget());
        info.exec();
    }
    m_savedProvince = m_settings.ReadSetting(setting::kProvinciaDefault);
    m_savedComune = m_settings.ReadSetting(setting::kComuneDefault);
    m_ui->StampaCoordCB->setChecked(m_settings.ReadSettingFlag(setting::kStampaCoord));
    m_ui->Tecnico_Edit->setText(m_settings.ReadSetting(setting::kNomeTecnico));
    m_ui->NIscrizione_Edit->setText(m_settings.ReadSetting(setting::kNumIscrizTecnico));
    m_ui->Qualifica_Edit->setText(m_settings.ReadSetting(setting::kQualificaTecnico));
    m_ui->ProvTecnico_Edit->setText(m_settings.ReadSetting(setting::kProvTecnico));

    QStringList provinces;
    FillProvinceList(provinces);
    // The main window's list, group marker included, is the one shown; the full list only
    // stands in when the caller has none.
    if (!m_mainWindowProvinces.isEmpty())
        provinces = m_mainWindowProvinces;
    fillCombo(m_ui->ProvCombo, provinces);
    fillCombo(m_ui->ComCombo, m_mainWindowComuni);
    selectSaved();

    m_ui->PageControl1->setCurrentWidget(m_ui->ImpStampa_TabSheet);
    m_ui->Tecnico_Edit->setFocus();
}

void TImpostazioniGeneraliForm::selectSaved()
{
    const auto select = [](QComboBox *combo, const QString &saved) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        combo->setCurrentIndex(IndexOfIgnoringCase(items, saved));
    };
    select(m_ui->ProvCombo, m_savedProvince);
    select(m_ui->ComCombo, m_savedComune);
}

bool TImpostazioniGeneraliForm::event(QEvent *event)
{
    // The long hint of the control under the mouse goes to the panel at the top.
    if (event->type() == QEvent::StatusTip) {
        m_ui->StatusBar->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

bool TImpostazioniGeneraliForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == m_ui->NIscrizione_Edit)
            return DiscardedFromRegistrationNumber(key->key(), key->text());
        if (watched == m_ui->ProvCombo || watched == m_ui->ComCombo)
            return dropDownOnTyping(static_cast<QComboBox *>(watched), key);
    }
    if (watched == m_ui->ProvCombo && event->type() == QEvent::FocusOut) {
        // Opening its own drop-down or leaving the window is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            ProvComboExit();
    }
    return QDialog::eventFilter(watched, event);
}

// A letter typed into a closed pick list opens it at the first entry that starts so.
bool TImpostazioniGeneraliForm::dropDownOnTyping(QComboBox *combo, QKeyEvent *event)
{
    if (!isPrintable(event->text()) ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
        combo->view()->isVisible())
        return false;
    combo->showPopup();
    combo->view()->keyboardSearch(event->text());
    return true;
}

void TImpostazioniGeneraliForm::ProvComboChange()
{
    m_ui->ComCombo->setCurrentIndex(-1);
}

void TImpostazioniGeneraliForm::ProvComboExit()
{
    if (m_ui->ProvCombo->currentIndex() < 0)
        return;
    QStringList comuni;
    try {
        LoadComuni(m_ui->ProvCombo->currentText(), comuni);
    } catch (const Error &e) {
        fillCombo(m_ui->ComCombo, {});
        TavixApplication::reportError(e.text());
        return;
    }
    fillCombo(m_ui->ComCombo, comuni);
}

void TImpostazioniGeneraliForm::ResetProvinciaBTClick()
{
    m_ui->ProvCombo->setCurrentIndex(-1);
    m_ui->ComCombo->setCurrentIndex(-1);
}

void TImpostazioniGeneraliForm::OkBTClick()
{
    QString failure;
    try {
        writeSettings();
    } catch (const Error &e) {
        failure = e.text();
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    accept();
    if (!failure.isEmpty())
        TavixApplication::reportError(failure);
}

void TImpostazioniGeneraliForm::writeSettings()
{
    m_settings.WriteSetting(setting::kProvinciaDefault, m_ui->ProvCombo->currentText());
    m_settings.WriteSetting(setting::kComuneDefault, m_ui->ComCombo->currentText());
    m_settings.WriteSettingFlag(setting::kStampaCoord, m_ui->StampaCoordCB->isChecked());
    m_settings.WriteSetting(setting::kNomeTecnico, m_ui->Tecnico_Edit->text());
    m_settings.WriteSetting(setting::kNumIscrizTecnico, m_ui->NIscrizione_Edit->text());
    m_settings.WriteSetting(setting::kQualificaTecnico, m_ui->Qualifica_Edit->text());
    m_settings.WriteSetting(setting::kProvTecnico, m_ui->ProvTecnico_Edit->text());
}

} // namespace tavix
