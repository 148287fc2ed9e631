#include "controls/VXGenericEdit.h"
#include "controls/FocusReturn.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDate>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

using tavix::Allineamento;
using tavix::EditInput;

namespace {

const char *const FamilyAuthor = "Tavix controls";

int gap()
{
    static const int value = tavix::linkGap(
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->logicalDotsPerInch()
                                         : 96.0);
    return value;
}

// The refusals of linking: a plain message window titled with the program's name.
void plainMessage(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

void errorMessage(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, TVXGenericEdit::tr("Errore"), text);
}

bool isDateKey(const QKeyEvent *event)
{
    const int key = event->key();
    return event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) &&
           (key == Qt::Key_Comma || key == Qt::Key_Less || key == Qt::Key_Semicolon);
}

} // namespace

// ---- TVXGenericEdit --------------------------------------------------------------------------

TVXGenericEdit::TVXGenericEdit(QWidget *parent) : QLineEdit(parent)
{
    m_accepted.set();
    m_obbligatorioText = tr("Questo campo é obbligatorio!!!");
    m_refusedText = tr("Alcuni caratteri della Stringa non sono accettati!");
    setMaxLength(256);
}

TVXGenericEdit::~TVXGenericEdit()
{
    if (m_linkedFrom)
        m_linkedFrom->m_next = nullptr;
    if (m_next)
        m_next->m_linkedFrom = nullptr;
    if (m_button)
        m_button->m_owner = nullptr;
    if (m_label)
        m_label->m_owner = nullptr;
}

QString TVXGenericEdit::author() const
{
    return QString::fromLatin1(FamilyAuthor);
}

void TVXGenericEdit::setObbligatorioText(const QString &text)
{
    m_obbligatorioText = text.isEmpty() ? tr("Questo campo é obbligatorio!!!") : text;
}

bool TVXGenericEdit::CheckObbligatorio(const QString &text)
{
    if (!m_obbligatorio || !text.isEmpty())
        return true;
    errorMessage(this, m_obbligatorioText);
    return false;
}

bool TVXGenericEdit::CheckCaratteri(const QString &text)
{
    if (text.isEmpty())
        return false;
    const qsizetype n = qMin<qsizetype>(maxLength(), text.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (!tavix::charSetHas(m_accepted, text[i])) {
            errorMessage(this, m_refusedText);
            return false;
        }
    }
    return true;
}

bool TVXGenericEdit::acceptEdit(EditInput, const QString &)
{
    return true;
}

void TVXGenericEdit::keyPressEvent(QKeyEvent *event)
{
    if (isDateKey(event) && insertDate()) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        event->accept();
        tryPaste();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        event->accept();
        tryCut();
        return;
    }
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)) {
        if (!acceptEdit(event->key() == Qt::Key_Backspace ? EditInput::Backspace
                                                          : EditInput::Delete)) {
            event->accept();
            return;
        }
    } else if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        const QString typed = event->text().left(1);
        if (!acceptEdit(EditInput::Insert, typed)) {
            event->accept();
            return;
        }
        if (!tavix::charSetHas(m_accepted, typed.at(0))) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

bool TVXGenericEdit::insertDate()
{
    const QString today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    if (!CheckCaratteri(today))
        return false;
    setText(today);
    end(false);
    return true;
}

void TVXGenericEdit::tryPaste()
{
    if (isReadOnly())
        return;
    const QString clip = QGuiApplication::clipboard()->text();
    if (!acceptEdit(EditInput::Insert, clip))
        return;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
    const QString candidate = text().left(start) + clip + text().mid(end, 255);
    if (CheckCaratteri(candidate))
        paste();
}

void TVXGenericEdit::tryCut()
{
    if (!isReadOnly() && hasSelectedText() && acceptEdit(EditInput::Cut))
        cut();
}

void TVXGenericEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // The menu's Paste and Cut go through the same tests as their keys. The actions carry no
    // names, so they are known by their (translated) captions.
    QMenu *menu = createStandardContextMenu();
    const QString pasteCaption = QCoreApplication::translate("QLineEdit", "&Paste");
    const QString cutCaption = QCoreApplication::translate("QLineEdit", "Cu&t");
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        const QString caption = action->text().section(QLatin1Char('\t'), 0, 0);
        if (caption != pasteCaption && caption != cutCaption)
            continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        if (caption == pasteCaption)
            connect(action, &QAction::triggered, this, &TVXGenericEdit::tryPaste);
        else
            connect(action, &QAction::triggered, this, &TVXGenericEdit::tryCut);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool TVXGenericEdit::hasLeavingFocus(const QFocusEvent *event) const
{
    // Switching windows is not leaving the field, nor is another field taking the focus back.
    return event->reason() != Qt::ActiveWindowFocusReason &&
           event->reason() != Qt::PopupFocusReason && !FocusReturn::inProgress();
}

void TVXGenericEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (hasLeavingFocus(event))
        leaveField();
}

void TVXGenericEdit::leaveField()
{
    emit exited();
    if (m_obbligatorio && text().isEmpty())
        checkMandatoryLater();
}

void TVXGenericEdit::checkMandatoryLater()
{
    // After the focus change in progress, so that the message box does not run inside it.
    QTimer::singleShot(0, this, [this] {
        if (!CheckObbligatorio(text()) && isEnabled() && isVisible())
            FocusReturn::to(this);
    });
}

// Linking

bool TVXGenericEdit::chains(const TVXGenericEdit *edit) const
{
    for (const TVXGenericEdit *e = this; e; e = e->m_linkedFrom)
        if (e == edit)
            return true;
    return false;
}

void TVXGenericEdit::setInternalLinkEdit(TVXGenericEdit *edit)
{
    if (!edit) {
        if (m_next)
            m_next->m_linkedFrom = nullptr;
        m_next = nullptr;
        return;
    }
    if (edit == m_next)
        return;
    // A chain that came back to this edit would never end.
    if (edit->m_linkedFrom || chains(edit)) {
        plainMessage(this, tr("Edit già assegnato!"));
        return;
    }
    if (m_next)
        m_next->m_linkedFrom = nullptr;
    m_next = edit;
    edit->m_linkedFrom = this;
    placeChained();
}

// Links a button or label to this edit; false when nothing new was linked.
template <typename Part>
bool TVXGenericEdit::attach(QPointer<Part> &slot, Part *part, const QString &takenMessage)
{
    if (!part) {
        if (slot)
            slot->m_owner = nullptr;
        slot = nullptr;
        return false;
    }
    if (part == slot)
        return false;
    if (part->m_owner) {
        plainMessage(this, takenMessage);
        return false;
    }
    if (slot)
        slot->m_owner = nullptr;
    slot = part;
    part->m_owner = this;
    return true;
}

void TVXGenericEdit::setLinkButton(TVXGenericButton *button)
{
    if (attach(m_button, button, tr("Bottone già assegnato!")))
        placeButton();
}

void TVXGenericEdit::setLinkLabel(TVXGenericLabel *label)
{
    if (attach(m_label, label, tr("Label già assegnata!")))
        placeLabel();
}

void TVXGenericEdit::placeChained()
{
    const QRect r(tavix::placeBeside(geometry(), m_next->size(), m_next->m_allineamento, gap()),
                  m_next->size());
    m_next->SetBounds(r);
}

void TVXGenericEdit::placeButton()
{
    const QSize size(m_button->width(), m_button->m_bloccaAltezza ? m_button->height() : height());
    m_button->SetBounds(
        QRect(tavix::placeBeside(geometry(), size, m_button->m_allineamento, gap()), size));
}

void TVXGenericEdit::placeLabel()
{
    m_label->SetBounds(
        QRect(tavix::placeBeside(geometry(), m_label->size(), m_label->m_allineamento, gap()),
              m_label->size()));
}

void TVXGenericEdit::takeBounds(const QRect &bounds)
{
    m_settingBounds = true;
    setGeometry(bounds);
    m_settingBounds = false;
}

void TVXGenericEdit::SetBounds(const QRect &bounds)
{
    if (TVXGenericEdit *from = m_linkedFrom) {
        from->m_guardChained = true;
        const QSize size(from->width(), m_bloccaAltezza ? from->height() : bounds.height());
        from->SetBounds(QRect(tavix::placeOwner(bounds, size, m_allineamento, gap()), size));
        from->m_guardChained = false;
    }
    takeBounds(bounds);
    if (m_next && !m_guardChained)
        placeChained();
    if (m_button && !m_guardButton)
        placeButton();
    if (m_label && !m_guardLabel)
        placeLabel();
}

void TVXGenericEdit::moveEvent(QMoveEvent *event)
{
    QLineEdit::moveEvent(event);
    if (!m_settingBounds)
        SetBounds(geometry());
}

void TVXGenericEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    if (!m_settingBounds)
        SetBounds(geometry());
}

void TVXGenericEdit::setAllineamento(Allineamento side)
{
    if (TVXGenericEdit *from = m_linkedFrom) {
        const bool taken = (from->m_button && from->m_button->m_allineamento == side) ||
                           (from->m_label && from->m_label->m_allineamento == side) ||
                           (from->m_linkedFrom && from->m_allineamento == tavix::opposite(side));
        if (taken) {
            plainMessage(this, tr("La posizione è già occupata da un altro componente"));
            return;
        }
    }
    m_allineamento = side;
    SetBounds(geometry());
}

void TVXGenericEdit::setBloccaAltezza(bool on)
{
    m_bloccaAltezza = on;
    if (!on && m_linkedFrom)
        SetBounds(QRect(pos(), QSize(width(), m_linkedFrom->height())));
}

QString TVXGenericEdit::globalText() const
{
    QString value = text();
    for (const TVXGenericEdit *e = this; e->m_next; e = e->m_next)
        value += e->m_globalSeparator + e->m_next->text();
    return value;
}

void TVXGenericEdit::setGlobalText(const QString &value)
{
    int count = 0;
    for (const TVXGenericEdit *e = this; e; e = e->m_next)
        ++count;
    const QStringList words = tavix::splitGlobalText(value, m_globalSeparator, count);
    int i = 0;
    for (TVXGenericEdit *e = this; e; e = e->m_next)
        e->setText(words[i++]);
}

// ---- partners --------------------------------------------------------------------------------

namespace {

// Whether `side` is free beside `owner` for a partner whose other partner sits at `otherSide`.
bool sideTaken(const TVXGenericEdit *owner, bool hasOther, Allineamento otherSide,
               Allineamento side)
{
    return (hasOther && otherSide == side) ||
           (owner->linkedFrom() && owner->allineamento() == tavix::opposite(side));
}

// A partner moving to `side` beside its edit, where the edit's other partner is `other`: true,
// after the message, when that side is taken.
template <typename Other>
bool sideRefused(QWidget *self, const TVXGenericEdit *owner, const Other *other, Allineamento side)
{
    if (!owner || !sideTaken(owner, other, other ? other->allineamento() : side, side))
        return false;
    plainMessage(self, TVXGenericEdit::tr("La posizione è già occupata da un altro componente"));
    return true;
}

} // namespace

TVXGenericButton::TVXGenericButton(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setText(QStringLiteral("..."));
}

TVXGenericButton::~TVXGenericButton()
{
    if (m_owner)
        m_owner->m_button = nullptr;
}

QString TVXGenericButton::author() const
{
    return QString::fromLatin1(FamilyAuthor);
}

void TVXGenericButton::setBloccaAltezza(bool on)
{
    m_bloccaAltezza = on;
    if (!on && m_owner)
        SetBounds(QRect(pos(), QSize(width(), m_owner->height())));
}

void TVXGenericButton::setAllineamento(Allineamento side)
{
    if (sideRefused(this, m_owner, m_owner ? m_owner->linkLabel() : nullptr, side))
        return;
    m_allineamento = side;
    SetBounds(geometry());
}

void TVXGenericButton::SetBounds(const QRect &bounds)
{
    if (TVXGenericEdit *owner = m_owner) {
        owner->m_guardButton = true;
        const QSize size(owner->width(), m_bloccaAltezza ? owner->height() : bounds.height());
        owner->SetBounds(QRect(tavix::placeOwner(bounds, size, m_allineamento, gap()), size));
        owner->m_guardButton = false;
    }
    m_settingBounds = true;
    setGeometry(bounds);
    m_settingBounds = false;
}

void TVXGenericButton::ButtonReleased()
{
    QApplication::beep();
}

void TVXGenericButton::mouseReleaseEvent(QMouseEvent *event)
{
    const bool inside = event->button() == Qt::LeftButton && rect().contains(event->pos());
    QPointer<TVXGenericButton> alive(this);
    QToolButton::mouseReleaseEvent(event);
    if (alive && inside)
        ButtonReleased();
}

void TVXGenericButton::moveEvent(QMoveEvent *event)
{
    QToolButton::moveEvent(event);
    if (!m_settingBounds)
        SetBounds(geometry());
}

void TVXGenericButton::resizeEvent(QResizeEvent *event)
{
    QToolButton::resizeEvent(event);
    if (!m_settingBounds)
        SetBounds(geometry());
}

TVXGenericLabel::TVXGenericLabel(QWidget *parent) : QLabel(parent)
{
    setWordWrap(false);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
}

TVXGenericLabel::~TVXGenericLabel()
{
    if (m_owner)
        m_owner->m_label = nullptr;
}

QString TVXGenericLabel::author() const
{
    return QString::fromLatin1(FamilyAuthor);
}

void TVXGenericLabel::setAllineamento(Allineamento side)
{
    if (sideRefused(this, m_owner, m_owner ? m_owner->linkButton() : nullptr, side))
        return;
    m_allineamento = side;
    SetBounds(geometry());
}

void TVXGenericLabel::SetBounds(const QRect &bounds)
{
    if (TVXGenericEdit *owner = m_owner) {
        owner->m_guardLabel = true;
        owner->SetBounds(
            QRect(tavix::placeOwner(bounds, owner->size(), m_allineamento, gap()), owner->size()));
        owner->m_guardLabel = false;
    }
    m_settingBounds = true;
    setGeometry(bounds);
    m_settingBounds = false;
}

void TVXGenericLabel::moveEvent(QMoveEvent *event)
{
    QLabel::moveEvent(event);
    if (!m_settingBounds)
        SetBounds(geometry());
}

void TVXGenericLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    if (!m_settingBounds)
        SetBounds(geometry());
}
