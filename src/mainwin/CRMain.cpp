#include "mainwin/CRMain.h"
#include "ui_CRMain.h"

#include "account/CRAbout.h"
#include "account/Help.h"
#include "account/ServerAccess.h"
#include "controls/CRAttendere.h"
#include "controls/ZRMessageBox.h"
#include "mainwin/GridLayout.h"
#include "mainwin/TafDBGrid.h"
#include "mainwin/TafGridModel.h"
#include "service/CommaText.h"
#include "service/DMTAFQueryPhp.h"
#include "service/Error.h"
#include "service/ServiceConstants.h"
#include "settings/CRGestioneRegistro.h"
#include "settings/CRImpostazioniGenerali.h"
#include "settings/ListFont.h"
#include "settings/ReferenceLists.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QVBoxLayout>

namespace tavix {

namespace {

const QString kGruppoComuni = QStringLiteral("GRUPPO DI COMUNI");
const QString kGruppoProvince = QStringLiteral("GRUPPO DI PROVINCE");

void selectText(QComboBox *box, const QString &text)
{
    box->setCurrentIndex(text.isEmpty() ? -1 : box->findText(text, Qt::MatchExactly));
}

void removeMarker(QComboBox *box, const QString &marker)
{
    const int at = box->findText(marker, Qt::MatchExactly);
    if (at < 0)
        return;
    box->setCurrentIndex(-1);
    box->removeItem(at);
}

} // namespace

TCRMainForm::TCRMainForm(SettingsStore &settings, TDM_Data &data, ServerAccess &access,
                         QWidget *parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TCRMainForm>()), m_settings(settings),
      m_data(data), m_access(access)
{
    m_ui->setupUi(this);
    setupActions();
    setupMenus();
    setupToolBar();
    setupChoiceLists();
    setupGrid();
    setupNavigator();
    connect(m_ui->Ripristina_SB, &QToolButton::clicked, this, &TCRMainForm::Ripristina_SBClick);
    m_ui->Griglia_Panel->installEventFilter(this);
    SetHelpTopic(this, 2);
    UpdateActionStates(false);
}

TCRMainForm::~TCRMainForm() = default;

void TCRMainForm::setupChoiceLists()
{
    const QFont fixed = ReferenceListFont();
    for (QComboBox *box : {m_ui->Provincia_CB, m_ui->Comune_CB}) {
        box->setFont(fixed);
        box->setEditable(false);
        box->installEventFilter(this);
    }
    connect(m_ui->Provincia_CB, &QComboBox::activated, this, &TCRMainForm::Provincia_CBChange);
    connect(m_ui->Comune_CB, &QComboBox::activated, this, &TCRMainForm::Comune_CBChange);
}

void TCRMainForm::setupGrid()
{
    m_model = new TafGridModel(ClientDataSet, this);
    m_grid = new TafDBGrid(m_ui->Griglia_Panel);
    m_grid->setObjectName(QStringLiteral("TAF_DBGrid"));
    m_grid->setModel(m_model);
    m_grid->setFocusAfterDrag(m_ui->ActionToolBar);
    m_grid->hide();
    m_ui->Istruzioni_Label->raise();
    connect(m_grid, &TafDBGrid::cardRequested, this, &TCRMainForm::TAF_DBGridDblClick);
    connect(m_grid, &TafDBGrid::cellClicked, this, &TCRMainForm::UpdateStatusLabels);
}

void TCRMainForm::setupNavigator()
{
    auto move = [this](int to) {
        const int rows = m_model->rowCount();
        if (rows == 0)
            return;
        const int row = std::clamp(to, 0, rows - 1);
        m_grid->setCurrentIndex(m_model->index(row, std::max(0, m_grid->currentIndex().column())));
    };
    connect(m_ui->NavFirst, &QToolButton::clicked, this, [move] { move(0); });
    connect(m_ui->NavPrior, &QToolButton::clicked, this, [this, move] { move(m_grid->currentRow() - 1); });
    connect(m_ui->NavNext, &QToolButton::clicked, this, [this, move] { move(m_grid->currentRow() + 1); });
    connect(m_ui->NavLast, &QToolButton::clicked, this, [this, move] { move(m_model->rowCount() - 1); });
}

// ---- showing, resizing, closing ------------------------------------------------------------

void TCRMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TCRMainForm::FormShow()
{
    PrintBaseAddress = defaultPrintBase();
    if (PrintBaseAddress.isEmpty())
        QMessageBox::warning(this, windowTitle(), tr("Attenzione: URL non impostato!!!"));
    QStringList provinces;
    FillProvinceList(provinces);
    m_ui->Provincia_CB->clear();
    m_ui->Provincia_CB->addItems(provinces);
    RestoreDefaultComune();
    LayoutPending = true;
    m_access.UpdateChecked = false;
    m_access.UserVerified = false;
    FormResize();
    QMetaObject::invokeMethod(this, &TCRMainForm::FirstStartMessage, Qt::QueuedConnection);
}

void TCRMainForm::FormResize()
{
    const QWidget *panel = m_ui->Griglia_Panel;
    QLabel *label = m_ui->Istruzioni_Label;
    label->adjustSize();
    label->move((panel->width() - label->width()) / 2, panel->height() / 3);
    if (m_grid)
        m_grid->setGeometry(panel->contentsRect());
}

void TCRMainForm::FirstStartMessage()
{
    if (!m_settings.ReadFirstStart())
        return;
    m_ui->Istruzioni_Label->hide();
    struct ShowLabelAgain
    {
        QLabel *label;
        ~ShowLabelAgain() { label->show(); }
    } again{m_ui->Istruzioni_Label};
    ShowHelp(this, 1);
    StrumentiImpGen_ActionExecute();
    m_settings.WriteFirstStart(false); // reached only when the dialog closed normally
    RestoreDefaultComune();
}

void TCRMainForm::closeEvent(QCloseEvent *event)
{
    try {
        if (!PrintedCards.isEmpty() && m_access.CheckServerAccess())
            m_data.SendPrintedCards(JoinCommaText(PrintedCards));
    } catch (const Error &e) {
        ZRMessageBox(this, e.text(), tr("Errore"), 16);
    }
    m_access.OfferHangUp();
    event->accept();
}

bool TCRMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->Griglia_Panel && event->type() == QEvent::Resize)
        FormResize();
    // Leaving the list for another control of this window; a window or popup taking the focus
    // (the wait window, a message box) is not leaving it.
    if (watched == m_ui->Provincia_CB && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason ||
            reason == Qt::OtherFocusReason)
            Provincia_CBChange();
    }
    if (watched == m_ui->Comune_CB && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_ui->SelComuni_SB->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- province and comune -----------------------------------------------------------------------

void TCRMainForm::RestoreDefaultComune()
{
    m_ui->Comune_CB->setEnabled(true);
    m_ui->Provincia_CB->setEnabled(true);
    removeMarker(m_ui->Comune_CB, kGruppoComuni);
    removeMarker(m_ui->Provincia_CB, kGruppoProvince);
    const QString province = m_settings.ReadSetting(setting::kProvinciaDefault);
    const QString comune = m_settings.ReadSetting(setting::kComuneDefault);
    selectText(m_ui->Provincia_CB, province);
    if (m_ui->Provincia_CB->currentIndex() >= 0) {
        QStringList comuni;
        try {
            LoadComuni(province, comuni);
        } catch (const Error &e) {
            m_ui->Comune_CB->clear();
            ZRMessageBox(this, e.text(), tr("ERRORE"), 16);
        }
        m_ui->Comune_CB->clear();
        m_ui->Comune_CB->addItems(comuni);
        selectText(m_ui->Comune_CB, comune);
    }
    UpdateStatusLabels();
    UpdateActionStates(false);
}

void TCRMainForm::Provincia_CBChange()
{
    const int at = m_ui->Provincia_CB->currentIndex();
    if (at < 0)
        return;
    QStringList comuni;
    m_ui->Comune_CB->clear();
    try {
        LoadComuni(m_ui->Provincia_CB->itemText(at), comuni);
    } catch (const Error &e) {
        ZRMessageBox(this, e.text(), tr("ERRORE"), 16);
    }
    m_ui->Comune_CB->addItems(comuni);
    m_ui->Comune_CB->setCurrentIndex(-1);
    UpdateActionStates(false);
}

void TCRMainForm::Comune_CBChange()
{
    UpdateActionStates(false);
}

bool TCRMainForm::comuneChosen() const
{
    return m_ui->Comune_CB->isEnabled() && m_ui->Provincia_CB->isEnabled() &&
           m_ui->Comune_CB->currentIndex() >= 0 && m_ui->Provincia_CB->currentIndex() >= 0;
}

void TCRMainForm::UpdateActionStates(bool resultShown)
{
    for (const char *name : {"StampaElenco_Action", "UtilitaDistanzePF_Action", "VisualizzaSchedaPF_Action"})
        action(QLatin1String(name))->setEnabled(resultShown);
    const bool chosen = comuneChosen();
    for (const char *name : {"SelListaFogli_Action", "SelIntFogli_Action", "SelListaPF_Action",
                             "SelPFFoglio_Action", "SelAttendib_Action", "SelComune_Action"})
        action(QLatin1String(name))->setEnabled(chosen);
}

// ---- searching ------------------------------------------------------------------------------

void TCRMainForm::BeginSearch()
{
    LayoutPending = true;
    m_ui->Istruzioni_Label->hide();
    m_wait = std::make_unique<WaitWindowScope>(this); // shown and painted before the request
}

void TCRMainForm::EndSearch()
{
    m_wait.reset();
    m_ui->Istruzioni_Label->show();
    // New rows are counted without an earlier zone filter, which only ShowSelectionResult lifts.
    ClientDataSet.setFiltered(false);
    DataSourceDataChange();
    if (ClientDataSet.recordCount() == 0) {
        ZRMessageBox(this, tr("Ricerca negativa: i dati inseriti non hanno prodotto alcun risultato"),
                     tr("AVVISO"), MB_ICONWARNING);
        m_ui->Ripristina_SB->click();
    }
}

void TCRMainForm::ShowSelectionResult(const QString &name, bool filtered)
{
    ClientDataSet.setFiltered(filtered);
    DataSourceDataChange();
    if (!ClientDataSet.isActive() || ClientDataSet.recordCount() == 0)
        return;
    m_ui->SelezioneLabel->setText(name);
    m_grid->show();
    m_ui->Istruzioni_Label->lower();
    UpdateStatusLabels();
    UpdateActionStates(true);
}

void TCRMainForm::MarkGroupResult(bool severalComuni, bool severalProvinces)
{
    auto mark = [](QComboBox *box, const QString &marker) {
        box->addItem(marker);
        box->setCurrentIndex(box->count() - 1);
        box->setEnabled(false);
    };
    if (severalComuni)
        mark(m_ui->Comune_CB, kGruppoComuni);
    if (severalProvinces)
        mark(m_ui->Provincia_CB, kGruppoProvince);
}

void TCRMainForm::DataSourceDataChange()
{
    if (LayoutPending && ClientDataSet.isActive()) {
        ApplyGridLayout(ClientDataSet);
        LayoutPending = false;
    }
    m_model->reload();
}

// Runs one selection: wait window, query, result or the negative-result path. Errors after the
// wait window reach the general error report once the window has closed.
void TCRMainForm::runSelection(const QString &name, const std::function<QByteArray()> &query)
{
    BeginSearch();
    try {
        ClientDataSet.LoadPacket(query());
    } catch (...) {
        EndSearch();
        throw;
    }
    EndSearch();
    ShowSelectionResult(name, false);
}

void TCRMainForm::SelComune_ActionExecute()
{
    if (!m_access.CheckServerAccess())
        return;
    if (m_ui->Comune_CB->currentIndex() < 0 || m_ui->Provincia_CB->currentIndex() < 0)
        return;
    const QString comune = m_ui->Comune_CB->currentText();
    runSelection(tr("PROVINCIA E COMUNE"), [&] { return m_data.QueryTafByComune(comune); });
}

void TCRMainForm::Ripristina_SBClick()
{
    ClientDataSet.setFiltered(false);
    ClientDataSet.LoadPacket({});
    m_model->reload();
    m_grid->hide();
    RestoreDefaultComune();
    m_ui->Comune_CB->setFocus();
}

void TCRMainForm::UpdateStatusLabels()
{
    if (m_grid->isHidden()) {
        m_ui->NComuneLabel->clear();
        m_ui->TotPFLabel->clear();
        return;
    }
    if (!ClientDataSet.isActive())
        return;
    if (m_ui->Comune_CB->isEnabled()) {
        m_ui->NComuneLabel->setText(m_ui->Comune_CB->currentText());
    } else {
        try {
            const int row = std::max(0, m_grid->currentRow());
            if (m_access.CheckServerAccess() && row < ClientDataSet.rowCount()) {
                const QString code = ClientDataSet.textAt(row, ClientDataSet.fieldByName(u"Comune"_qs));
                m_ui->NComuneLabel->setText(m_data.QueryComuneName(code));
            }
        } catch (const Error &) {
            // the label keeps what it showed
        }
    }
    m_ui->TotPFLabel->setText(QString::number(ClientDataSet.recordCount()));
}

// ---- other commands ---------------------------------------------------------------------------

void TCRMainForm::SelZona_ActionExecute()
{
    if (!ClientDataSet.isActive()) {
        ZRMessageBox(this, tr("La ricerca per zona lavora solo su dati visualizzati: effettuare "
                              "prima una selezione"),
                     tr("AVVISO"), MB_ICONINFORMATION);
    }
}

void TCRMainForm::UtilitaDataEstrazione_ActionExecute()
{
    if (!m_access.CheckServerAccess())
        return;
    QString date;
    try {
        date = m_data.QueryTafUpdateDate();
    } catch (const Error &) {
        // the message goes out all the same
    }
    ZRMessageBox(this, tr("Archivi TAF aggiornati al ") + date, tr("Informazione"), MB_ICONINFORMATION);
}

void TCRMainForm::GuidaUpdate_ActionExecute()
{
    const TDM_Data::UpdateInfo update = m_data.QueryUpdateCheck(
        m_settings.ReadRootValue(setting::kUser), m_settings.ReadRootValue(setting::kPwd),
        m_settings.ReadRootValue(setting::kVersione));
    if (update.address.isEmpty()) {
        ZRMessageBox(this, tr("Programma aggiornato all'ultima versione rilasciata"), tr("INFORMAZIONE"),
                     MB_ICONINFORMATION);
        return;
    }
    if (m_access.CheckForUpdates())
        close();
}

void TCRMainForm::StrumentiImpGen_ActionExecute()
{
    auto items = [](const QComboBox *box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    };
    TImpostazioniGeneraliForm dialog(m_settings, items(m_ui->Provincia_CB), items(m_ui->Comune_CB), this);
    dialog.exec();
}

void TCRMainForm::GuidaAbout_ActionExecute()
{
    TAboutBox about(m_settings, this);
    about.exec();
}

void TCRMainForm::TAF_DBGridDblClick()
{
    if (!m_access.CheckServerAccess())
        return;
    // The PF card opens here on the current row.
}

} // namespace tavix
