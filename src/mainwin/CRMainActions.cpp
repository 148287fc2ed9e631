// The main window's actions, menus and toolbar.
#include "mainwin/CRMain.h"
#include "ui_CRMain.h"

#include "account/Help.h"
#include "mainwin/ActionIcons.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace tavix {

QAction *TCRMainForm::makeAction(const QString &name, const QString &caption, const QString &hint,
                                 const QKeySequence &shortcut, int helpTopic)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    // A hint is "short|long": the short part as tooltip, the long part for the status panel.
    const QString shortHint = hint.section(QLatin1Char('|'), 0, 0);
    a->setToolTip(shortHint);
    a->setStatusTip(hint.contains(QLatin1Char('|')) ? hint.section(QLatin1Char('|'), 1) : hint);
    if (helpTopic > 0)
        a->setWhatsThis(QString::number(helpTopic));
    m_actions.insert(name, a);
    return a;
}

QAction *TCRMainForm::action(const QString &name) const
{
    return m_actions.value(name);
}

void TCRMainForm::setupActions()
{
    const QColor blue(0x2f, 0x5d, 0xa8), green(0x2e, 0x8b, 0x57), grey(0x60, 0x60, 0x60),
        orange(0xc8, 0x6e, 0x1e), red(0xb0, 0x30, 0x30);
    auto add = [&](const char *name, const QString &caption, const QString &hint,
                   const QKeySequence &key, int topic, const QString &mark, const QColor &c) {
        QAction *a = makeAction(QLatin1String(name), caption, hint, key, topic);
        if (!mark.isEmpty())
            a->setIcon(ActionIcon(mark, c));
        return a;
    };
    add("StampaElenco_Action", tr("&Stampa elenco"), tr("Stampa elenco|Stampa l'elenco dei PF visualizzati"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12), 14, QStringLiteral("St"), grey);
    add("Esci_Action", tr("&Esci"), tr("Esci|Chiude il programma"), QKeySequence(Qt::ALT | Qt::Key_F4), 0,
        QStringLiteral("X"), red);
    add("SelListaFogli_Action", tr("&Lista Fogli"), tr("Lista Fogli|Selezione dei PF di una lista di fogli"),
        QKeySequence(Qt::Key_F4), 5, QStringLiteral("LF"), blue);
    add("SelIntFogli_Action", tr("&Intervallo fogli"),
        tr("Intervallo fogli|Selezione dei PF di un intervallo di fogli"), QKeySequence(Qt::Key_F5), 7,
        QStringLiteral("IF"), blue);
    add("SelListaPF_Action", tr("Lista &PF"), tr("Lista PF|Selezione di una lista di PF"),
        QKeySequence(Qt::Key_F6), 6, QStringLiteral("LP"), blue);
    add("SelPFFoglio_Action", tr("PF/&Foglio"), tr("PF/Foglio|Selezione di un PF di un foglio"),
        QKeySequence(Qt::Key_F7), 8, QStringLiteral("PF"), blue);
    add("SelZona_Action", tr("&Zona"), tr("Zona|Restringe i PF visualizzati a una zona circolare"),
        QKeySequence(Qt::Key_F8), 10, QStringLiteral("Z"), green);
    add("SelAttendib_Action", tr("&Attendibilità planimetrica"),
        tr("Attendibilità|Selezione dei PF per intervallo di attendibilità planimetrica"),
        QKeySequence(Qt::Key_F9), 9, QStringLiteral("AP"), blue);
    add("SelComune_Action", tr("&Visualizza PF intero comune (F10)"),
        tr("Intero comune|Visualizza tutti i PF del comune scelto"), QKeySequence(Qt::Key_F10), 0,
        QStringLiteral("C"), blue);
    add("UtilitaDistanzePF_Action", tr("&Distanze PF"), tr("Distanze PF|Calcola la distanza tra due PF"),
        QKeySequence(), 12, QStringLiteral("D"), orange);
    add("UtilitaDataEstrazione_Action", tr("Data &estrazione TAF"),
        tr("Data estrazione TAF|Mostra la data di aggiornamento degli archivi TAF"), QKeySequence(), 23,
        QString(), grey);
    add("UtilitaDelImmagine", tr("&Richiesta cancellazione immagine"),
        tr("Cancellazione immagine|Chiede la cancellazione di un'immagine di un PF"), QKeySequence(), 0,
        QString(), grey);
    add("VisualizzaSchedaPF_Action", tr("&Scheda PF selezionato"),
        tr("Scheda PF|Apre la scheda del PF selezionato nella griglia"), QKeySequence(), 15,
        QStringLiteral("S"), green);
    add("StrumentiImpGen_Action", tr("&Impostazioni generali"),
        tr("Impostazioni generali|Provincia e comune predefiniti, dati del tecnico"), QKeySequence(), 3,
        QString(), grey);
    add("GuidaGuida_Action", tr("&Guida"), tr("Guida|Apre la guida del programma"),
        QKeySequence(Qt::Key_F1), 2, QString(), grey);
    add("GuidaUpdate_Action", tr("&Controlla aggiornamenti..."),
        tr("Aggiornamenti|Controlla se esiste una versione più recente del programma"), QKeySequence(),
        22, QString(), grey);
    add("GuidaAbout_Action", tr("&Informazioni su..."), tr("Informazioni|Versione e dati del programma"),
        QKeySequence(), 22, QString(), grey);

    connect(action(u"Esci_Action"_qs), &QAction::triggered, this, &QWidget::close);
    connect(action(u"SelComune_Action"_qs), &QAction::triggered, this, &TCRMainForm::SelComune_ActionExecute);
    connect(action(u"SelZona_Action"_qs), &QAction::triggered, this, &TCRMainForm::SelZona_ActionExecute);
    connect(action(u"UtilitaDataEstrazione_Action"_qs), &QAction::triggered, this,
            &TCRMainForm::UtilitaDataEstrazione_ActionExecute);
    connect(action(u"VisualizzaSchedaPF_Action"_qs), &QAction::triggered, this,
            &TCRMainForm::TAF_DBGridDblClick);
    connect(action(u"StrumentiImpGen_Action"_qs), &QAction::triggered, this,
            &TCRMainForm::StrumentiImpGen_ActionExecute);
    connect(action(u"GuidaGuida_Action"_qs), &QAction::triggered, this, [this] { ShowHelp(this, 2); });
    connect(action(u"GuidaUpdate_Action"_qs), &QAction::triggered, this,
            &TCRMainForm::GuidaUpdate_ActionExecute);
    connect(action(u"GuidaAbout_Action"_qs), &QAction::triggered, this,
            &TCRMainForm::GuidaAbout_ActionExecute);
}

void TCRMainForm::setupMenus()
{
    QMenuBar *bar = m_ui->ActionMainMenuBar;
    auto menu = [&](const QString &title, std::initializer_list<const char *> names) {
        QMenu *m = bar->addMenu(title);
        for (const char *name : names) {
            if (!*name)
                m->addSeparator();
            else
                m->addAction(action(QLatin1String(name)));
        }
        return m;
    };
    menu(tr("&File"), {"StampaElenco_Action", "", "Esci_Action"});
    menu(tr("&Selezioni"), {"SelListaFogli_Action", "SelIntFogli_Action", "SelListaPF_Action",
                            "SelPFFoglio_Action", "SelZona_Action", "SelAttendib_Action"});
    menu(tr("&Utilità"), {"UtilitaDistanzePF_Action", "UtilitaDataEstrazione_Action", "UtilitaDelImmagine"});
    menu(tr("&Visualizza"), {"VisualizzaSchedaPF_Action"});
    menu(tr("S&trumenti"), {"StrumentiImpGen_Action"});
    menu(tr("&?"), {"GuidaGuida_Action", "", "GuidaUpdate_Action", "GuidaAbout_Action"});
    // F10 selects the whole comune, not the menu bar.
    addAction(action(u"SelComune_Action"_qs));
}

void TCRMainForm::setupToolBar()
{
    QToolBar *bar = m_ui->ActionToolBar;
    for (const char *name : {"Esci_Action", "StampaElenco_Action", "", "SelListaFogli_Action",
                             "SelListaPF_Action", "SelIntFogli_Action", "SelPFFoglio_Action",
                             "SelAttendib_Action", "SelZona_Action", "", "UtilitaDistanzePF_Action"}) {
        if (!*name)
            bar->addSeparator();
        else
            bar->addAction(action(QLatin1String(name)));
    }
    bar->setIconSize(QSize(24, 24));
    m_ui->SelComuni_SB->setDefaultAction(action(u"SelComune_Action"_qs));
    m_ui->SchedaPF_SB->setDefaultAction(action(u"VisualizzaSchedaPF_Action"_qs));
}

} // namespace tavix
