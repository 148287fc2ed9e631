#pragma once

#include "service/ResultTable.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class WaitWindowScope;

namespace Ui {
class TCRMainForm;
}

namespace tavix {

class ServerAccess;
class SettingsStore;
class TDM_Data;
class TafDBGrid;
class TafGridModel;

// The main window: the province and comune, the selections and the grid of their result.
class TCRMainForm : public QMainWindow
{
    Q_OBJECT
public:
    TCRMainForm(SettingsStore &settings, TDM_Data &data, ServerAccess &access,
                QWidget *parent = nullptr);
    ~TCRMainForm() override;

    // The rows of the last selection, shown by the grid.
    ResultTable ClientDataSet;
    // When true, the next change of the result applies the grid layout once.
    bool LayoutPending = false;
    // One entry per card printed in this run; sent to the service at close.
    QStringList PrintedCards;
    QString PrintBaseAddress;

    QAction *action(const QString &name) const;
    TafDBGrid *grid() const { return m_grid; }

    // Operations other windows use.
    void UpdateStatusLabels();
    void UpdateActionStates(bool resultShown);
    void RestoreDefaultComune();
    void BeginSearch();
    void EndSearch();
    void ShowSelectionResult(const QString &name, bool filtered);
    // After a list selection: the group entries of a result drawn from several comuni or
    // provinces, selected in their disabled list.
    void MarkGroupResult(bool severalComuni, bool severalProvinces);
    // The result changed (loaded, filtered, closed): refresh the grid, laying it out if pending.
    void DataSourceDataChange();

    // The first-start procedure, run once the window is on screen.
    void FirstStartMessage();

    // Selections and commands.
    void SelComune_ActionExecute();
    void Ripristina_SBClick();
    void SelZona_ActionExecute();
    void UtilitaDataEstrazione_ActionExecute();
    void GuidaUpdate_ActionExecute();
    void StrumentiImpGen_ActionExecute();
    void GuidaAbout_ActionExecute();
    void TAF_DBGridDblClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupActions();
    void setupMenus();
    void setupToolBar();
    void setupChoiceLists();
    void setupGrid();
    void setupNavigator();
    QAction *makeAction(const QString &name, const QString &caption, const QString &hint,
                        const QKeySequence &shortcut, int helpTopic);

    void FormShow();
    void FormResize();
    void Provincia_CBChange();
    void Comune_CBChange();
    bool comuneChosen() const;
    void runSelection(const QString &name, const std::function<QByteArray()> &query);

    std::unique_ptr<Ui::TCRMainForm> m_ui;
    SettingsStore &m_settings;
    TDM_Data &m_data;
    ServerAccess &m_access;
    TafGridModel *m_model = nullptr;
    TafDBGrid *m_grid = nullptr;
    QHash<QString, QAction *> m_actions;
    std::unique_ptr<WaitWindowScope> m_wait;
    bool m_shown = false;
};

} // namespace tavix
