#include "controls/ZRMessageBox.h"
#include "ui_ZRMessageBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

using namespace tavix;

namespace {

QStyle::StandardPixmap pictureOfResult(int result)
{
    switch (result) {
    case IDCANCEL:
        return QStyle::SP_DialogCancelButton;
    case IDABORT:
        return QStyle::SP_DialogAbortButton;
    case IDRETRY:
        return QStyle::SP_DialogRetryButton;
    case IDIGNORE:
        return QStyle::SP_DialogIgnoreButton;
    case IDYES:
        return QStyle::SP_DialogYesButton;
    case IDNO:
        return QStyle::SP_DialogNoButton;
    default:
        return QStyle::SP_DialogOkButton;
    }
}

constexpr int ButtonHeight = 25;
constexpr int ButtonTop = 2; // centred in the 30-pixel row

} // namespace

TZRMessageBox_Form::TZRMessageBox_Form(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TZRMessageBox_Form>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(419, 146);

    QPalette white = ui->Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    ui->Panel1->setPalette(white);

    QFont memoFont;
    memoFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    memoFont.setPointSize(8);
    memoFont.setBold(true);
    ui->Text_Memo->setFont(memoFont);

    showPicture(MessagePicture::None);
}

TZRMessageBox_Form::~TZRMessageBox_Form() = default;

QString TZRMessageBox_Form::text() const
{
    return ui->Text_Memo->toPlainText();
}

void TZRMessageBox_Form::setMessage(const QString &text, const QString &caption, unsigned flags)
{
    setWindowTitle(caption);
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    ui->Text_Memo->setPlainText(shown);

    // The row has its fixed width only once the layout has run, which a hidden box has not.
    for (QLayout *l : {layout(), ui->Client_Panel->layout()}) {
        l->invalidate();
        l->activate();
    }
    const MessageBoxPlan plan = planMessageBox(flags, ui->Button_Panel->width());
    buildButtons(plan);
    showPicture(plan.picture);
}

void TZRMessageBox_Form::buildButtons(const MessageBoxPlan &plan)
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    m_defaultButton = m_escapeButton = nullptr;
    for (const MessageButtonPlan &b : plan.buttons) {
        auto *button = new QPushButton(ui->Button_Panel);
        button->setIcon(style()->standardIcon(pictureOfResult(b.result), nullptr, button));
        button->setText(b.caption);
        button->setGeometry(b.left, ButtonTop, MessageButtonWidth, ButtonHeight);
        button->setProperty("result", b.result);
        const int result = b.result;
        connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        m_buttons << button;
    }
    for (QPushButton *button : std::as_const(m_buttons))
        button->setDefault(false);
    if (plan.escapeIndex >= 0)
        m_escapeButton = m_buttons[plan.escapeIndex];
    // The mark is set last, so it follows the flags and not the kind of button.
    if (plan.defaultIndex >= 0) {
        m_defaultButton = m_buttons[plan.defaultIndex];
        m_defaultButton->setDefault(true);
    }
    QWidget *first = m_defaultButton ? m_defaultButton : m_buttons.value(0);
    if (first)
        first->setFocus();
}

void TZRMessageBox_Form::showPicture(MessagePicture picture)
{
    PictureAnimator *const all[] = {ui->Warning_RxGIFAnimator, ui->Information_RxGIFAnimator,
                                    ui->Question_RxGIFAnimator, ui->Error_RxGIFAnimator};
    for (PictureAnimator *p : all) {
        p->stop();
        p->hide();
    }
    PictureAnimator *chosen = nullptr;
    switch (picture) {
    case MessagePicture::Warning:
        chosen = ui->Warning_RxGIFAnimator;
        break;
    case MessagePicture::Information:
        chosen = ui->Information_RxGIFAnimator;
        break;
    case MessagePicture::Question:
        chosen = ui->Question_RxGIFAnimator;
        break;
    case MessagePicture::Error:
        chosen = ui->Error_RxGIFAnimator;
        break;
    case MessagePicture::None:
        break;
    }
    if (chosen) {
        chosen->restart();
        chosen->show();
    }
}

void TZRMessageBox_Form::centreOnScreen()
{
    QScreen *screen = this->screen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void TZRMessageBox_Form::showEvent(QShowEvent *event)
{
    centreOnScreen();
    QDialog::showEvent(event);
    QApplication::beep();
}

void TZRMessageBox_Form::reject()
{
    done(IDCANCEL);
}

void TZRMessageBox_Form::keyPressEvent(QKeyEvent *event)
{
    // Esc presses the first Cancel or No button; with neither it does nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_escapeButton)
            m_escapeButton->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

int ZRMessageBox(QWidget *owner, const QString &text, const QString &caption, int flags)
{
    // Parentless, so a caller's window that goes away while the box is open cannot take the
    // box with it; the owner only tells on which screen to show it.
    QPointer<TZRMessageBox_Form> box = new TZRMessageBox_Form();
    if (owner && owner->screen())
        box->setScreen(owner->screen());
    box->setMessage(text, caption, unsigned(flags));
    const int result = box->exec();
    delete box;
    // Hidden by something other than its own buttons: as good as closed.
    return result == 0 ? int(IDCANCEL) : result;
}
