#include "account/CRInfoAvvio.h"
#include "ui_CRInfoAvvio.h"

#include <QPainter>
#include <QScreen>

namespace tavix {

namespace {
const QColor kBackground(240, 251, 255);
const QColor kNavy(0, 0, 128);
} // namespace

TInfoAvvioForm::TInfoAvvioForm(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      m_ui(std::make_unique<Ui::TInfoAvvioForm>())
{
    m_ui->setupUi(this);
    applyColours();
    m_ui->SpeedButton1->setCursor(Qt::PointingHandCursor);
    // Flat, yet recognisable as the thing to click.
    m_ui->SpeedButton1->setStyleSheet(QStringLiteral(
        "QPushButton { border: 1px solid #9cc3d8; border-radius: 2px; padding: 6px; }"
        "QPushButton:hover { background: #dcf1fa; }"
        "QPushButton:pressed { background: #c4e4f2; }"));
    connect(m_ui->SpeedButton1, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(sizeHint().expandedTo(size()));
}

TInfoAvvioForm::~TInfoAvvioForm() = default;

void TInfoAvvioForm::applyColours()
{
    QPalette window = palette();
    window.setColor(QPalette::Window, kBackground);
    setPalette(window);
    setAutoFillBackground(true);

    QPalette label = m_ui->Label1->palette();
    label.setColor(QPalette::Window, label.color(QPalette::ToolTipBase));
    label.setColor(QPalette::WindowText, kNavy);
    m_ui->Label1->setPalette(label);
}

void TInfoAvvioForm::showEvent(QShowEvent *event)
{
    centreOnOwner();
    QDialog::showEvent(event);
}

// Without a title bar the window needs an edge of its own to stand out from the one behind.
void TInfoAvvioForm::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(kNavy);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TInfoAvvioForm::centreOnOwner()
{
    QRect area;
    if (parentWidget() && parentWidget()->window()->isVisible())
        area = parentWidget()->window()->frameGeometry();
    else if (QScreen *screen = this->screen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
}

} // namespace tavix
