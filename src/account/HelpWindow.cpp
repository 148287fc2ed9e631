#include "account/HelpWindow.h"

#include "account/Help.h"
#include "ui_HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>
#include <QWindow>

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window), m_ui(new Ui::HelpWindow)
{
    m_ui->setupUi(this);
    // An open help window must not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { delete this; });

    QStyle *st = style();
    m_ui->Indice_SB->setIcon(st->standardIcon(QStyle::SP_FileDialogContentsView));
    m_ui->Indietro_SB->setIcon(st->standardIcon(QStyle::SP_ArrowBack));
    m_ui->Avanti_SB->setIcon(st->standardIcon(QStyle::SP_ArrowForward));
    m_ui->CercaPrec_SB->setIcon(st->standardIcon(QStyle::SP_ArrowUp));
    m_ui->CercaSucc_SB->setIcon(st->standardIcon(QStyle::SP_ArrowDown));
    m_ui->Indietro_SB->setEnabled(false);
    m_ui->Avanti_SB->setEnabled(false);

    QTextBrowser *page = m_ui->Pagina_Browser;
    connect(page, &QTextBrowser::backwardAvailable, m_ui->Indietro_SB, &QWidget::setEnabled);
    connect(page, &QTextBrowser::forwardAvailable, m_ui->Avanti_SB, &QWidget::setEnabled);
    connect(page, &QTextBrowser::sourceChanged, this, [this] {
        updateTitle();
        showSearchOutcome(true);
    });
    connect(m_ui->Indice_SB, &QToolButton::clicked, this, &HelpWindow::showIndex);
    connect(m_ui->Indietro_SB, &QToolButton::clicked, page, &QTextBrowser::backward);
    connect(m_ui->Avanti_SB, &QToolButton::clicked, page, &QTextBrowser::forward);

    setupActions();
    setupSearch();
}

HelpWindow::~HelpWindow() = default;

QTextBrowser *HelpWindow::browser() const
{
    return m_ui->Pagina_Browser;
}

void HelpWindow::showPage(const QUrl &url)
{
    QTextBrowser *page = m_ui->Pagina_Browser;
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        page->setHtml(tr("<h2>Guida non disponibile</h2><p>Le pagine della guida non si trovano "
                         "nella cartella %1. Reinstallare il programma.</p>")
                          .arg(QDir::toNativeSeparators(HelpFolder()).toHtmlEscaped()));
        updateTitle();
        m_noticeShown = true;
        return;
    }
    if (page->source() != url)
        page->setSource(url);
    else if (m_noticeShown)
        page->reload(); // the notice replaced the page without changing its address
    m_noticeShown = false;
}

void HelpWindow::placeOver(QWidget *caller)
{
    QWidget *owner = caller ? caller->window() : nullptr;
    const QRect area =
        owner ? owner->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
    if (area.isValid())
        move(area.center() - rect().center());
}

void HelpWindow::joinActiveModalDialog()
{
    QWindow *handle = windowHandle();
    if (!handle)
        return;
    QWidget *modal = QApplication::activeModalWidget();
    QWindow *host = modal && modal != this ? modal->window()->windowHandle() : nullptr;
    if (handle->transientParent() != host)
        handle->setTransientParent(host);
}

bool HelpWindow::event(QEvent *event)
{
    // A dialog opened while the help is up (the settings at the first start) would block it.
    if (event->type() == QEvent::WindowBlocked)
        QMetaObject::invokeMethod(this, &HelpWindow::joinActiveModalDialog, Qt::QueuedConnection);
    return QWidget::event(event);
}

void HelpWindow::setupActions()
{
    auto addShortcut = [this](const QKeySequence &keys, auto slot) {
        auto *action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    QTextBrowser *page = m_ui->Pagina_Browser;
    addShortcut(QKeySequence::Back, [page] { page->backward(); });
    addShortcut(QKeySequence::Forward, [page] { page->forward(); });
    addShortcut(QKeySequence(Qt::ALT | Qt::Key_Home), [this] { showIndex(); });
    addShortcut(QKeySequence::Find, [this] {
        m_ui->Cerca_Edit->setFocus();
        m_ui->Cerca_Edit->selectAll();
    });
    addShortcut(QKeySequence::FindNext, [this] { findNext(); });
    addShortcut(QKeySequence::FindPrevious, [this] { findPrevious(); });
}

void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    // Esc reaches the window from any of its controls, none of which uses it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpWindow::setupSearch()
{
    QLineEdit *edit = m_ui->Cerca_Edit;
    // Typing searches as the text grows, from where the last match began.
    connect(edit, &QLineEdit::textEdited, this, [this] { showSearchOutcome(find({}, true)); });
    connect(edit, &QLineEdit::returnPressed, this, &HelpWindow::findNext);
    connect(m_ui->CercaSucc_SB, &QToolButton::clicked, this, &HelpWindow::findNext);
    connect(m_ui->CercaPrec_SB, &QToolButton::clicked, this, &HelpWindow::findPrevious);
}

void HelpWindow::showIndex()
{
    showPage(HelpIndexUrl());
}

void HelpWindow::updateTitle()
{
    const QString title = m_ui->Pagina_Browser->documentTitle();
    setWindowTitle(title.isEmpty() ? tr("Guida di Tavix") : tr("Guida di Tavix - %1").arg(title));
}

bool HelpWindow::findNext()
{
    const bool found = find({}, false);
    showSearchOutcome(found);
    return found;
}

bool HelpWindow::findPrevious()
{
    const bool found = find(QTextDocument::FindBackward, false);
    showSearchOutcome(found);
    return found;
}

bool HelpWindow::find(QTextDocument::FindFlags flags, bool fromSelectionStart)
{
    const QString text = m_ui->Cerca_Edit->text();
    QTextBrowser *page = m_ui->Pagina_Browser;
    QTextCursor cursor = page->textCursor();
    if (text.isEmpty()) {
        cursor.clearSelection();
        page->setTextCursor(cursor);
        return true;
    }
    if (fromSelectionStart) {
        cursor.setPosition(cursor.selectionStart());
        page->setTextCursor(cursor);
    }
    if (page->find(text, flags))
        return true;
    // Go round the page once: from the other end.
    QTextCursor restart(page->document());
    restart.movePosition(flags.testFlag(QTextDocument::FindBackward) ? QTextCursor::End
                                                                     : QTextCursor::Start);
    page->setTextCursor(restart);
    if (page->find(text, flags))
        return true;
    page->setTextCursor(cursor);
    return false;
}

void HelpWindow::showSearchOutcome(bool found)
{
    m_ui->Esito_Label->setText(found ? QString() : tr("Testo non trovato"));
}
