#include "controls/CRAttendere.h"
#include "ui_CRAttendere.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWindow>

TAttendereForm::TAttendereForm(QWidget *owner)
    : QDialog(owner), ui(std::make_unique<Ui::TAttendereForm>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(427, 155);
    setText(QStringLiteral("\r\n") + tr("Attendi, sto ricercando i dati..."));
}

TAttendereForm::~TAttendereForm() = default;

void TAttendereForm::setText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    ui->Label1->setText(shown);

    // 16 pixels bold, smaller only when a line would not fit the window (fonts differ in width).
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    font.setBold(true);
    const int room = width() - 16;
    for (int pixels = 16; pixels >= 11; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        bool fits = true;
        for (const QString &line : shown.split(QLatin1Char('\n')))
            fits = fits && metrics.horizontalAdvance(line) <= room;
        if (fits)
            break;
    }
    ui->Label1->setFont(font);
}

QString TAttendereForm::text() const
{
    return ui->Label1->text();
}

bool TAttendereForm::isAnimating() const
{
    return ui->Animate->isRunning();
}

void TAttendereForm::centre()
{
    QRect area;
    if (QWidget *owner = parentWidget())
        area = owner->window()->frameGeometry();
    else if (QScreen *screen = this->screen())
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

void TAttendereForm::showEvent(QShowEvent *event)
{
    centre();
    QDialog::showEvent(event);
    ui->Animate->start();
}

void TAttendereForm::hideEvent(QHideEvent *event)
{
    ui->Animate->stop();
    QDialog::hideEvent(event);
}

WaitWindowScope::WaitWindowScope(QWidget *owner, const QString &text)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_form = new TAttendereForm(owner);
    if (!text.isEmpty())
        m_form->setText(text);
    m_form->show();
    // Let it be painted once before the work blocks the thread; the window system may take a
    // moment to expose it, so wait for that a little, never long.
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    } while (m_form && m_form->windowHandle() && !m_form->windowHandle()->isExposed() &&
             clock.elapsed() < 300);
    if (m_form)
        m_form->repaint();
}

WaitWindowScope::~WaitWindowScope()
{
    delete m_form;
    QApplication::restoreOverrideCursor();
}
