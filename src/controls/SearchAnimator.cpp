#include "controls/SearchAnimator.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

void drawFolder(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(150, 110, 20), 1.2));
    QPainterPath back;
    back.moveTo(r.left(), r.top() + r.height() * 0.15);
    back.lineTo(r.left() + r.width() * 0.35, r.top() + r.height() * 0.15);
    back.lineTo(r.left() + r.width() * 0.42, r.top());
    back.lineTo(r.right(), r.top());
    back.lineTo(r.right(), r.bottom());
    back.lineTo(r.left(), r.bottom());
    back.closeSubpath();
    p.setBrush(QColor(230, 180, 60));
    p.drawPath(back);
    p.setBrush(QColor(250, 210, 90));
    p.drawRect(QRectF(r.left(), r.top() + r.height() * 0.3, r.width(), r.height() * 0.7));
}

void drawPage(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(110, 110, 110), 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(160, 160, 200), 1));
    for (qreal y = r.top() + 6; y < r.bottom() - 3; y += 5)
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 4, y));
}

void drawMagnifier(QPainter &p, const QPointF &centre, qreal radius)
{
    p.setPen(QPen(QColor(60, 60, 60), 4, Qt::SolidLine, Qt::RoundCap));
    const QPointF handle = centre + QPointF(radius * 0.75, radius * 0.75);
    p.drawLine(handle, handle + QPointF(radius * 0.9, radius * 0.9));
    p.setPen(QPen(QColor(70, 70, 70), 2.5));
    p.setBrush(QColor(200, 230, 255, 150));
    p.drawEllipse(centre, radius, radius);
}

} // namespace

SearchAnimator::SearchAnimator(QWidget *parent) : QWidget(parent)
{
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % FrameCount;
        update();
    });
}

void SearchAnimator::start()
{
    m_frame = 0;
    m_timer.start();
    update();
}

void SearchAnimator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = qMin<qreal>(height() - 4, 56);
    const QPointF origin((width() - 272) / 2.0, (height() - h) / 2.0);
    const QRectF folder(origin.x() + 20, origin.y() + h * 0.3, 56, h * 0.62);
    const QRectF page(origin.x() + 190, origin.y() + h * 0.1, 40, h * 0.8);

    drawFolder(p, folder);
    drawPage(p, page);

    // A sheet flies along an arc from the page to the folder.
    const qreal t = qreal(m_frame) / FrameCount;
    const QPointF from = page.center();
    const QPointF to = folder.center();
    const QPointF sheetAt(from.x() + (to.x() - from.x()) * t,
                          from.y() - qSin(t * M_PI) * h * 0.45 + (to.y() - from.y()) * t);
    p.save();
    p.translate(sheetAt);
    p.rotate(-25 * qSin(t * M_PI));
    drawPage(p, QRectF(-9, -11, 18, 22));
    p.restore();

    // The glass sweeps a small circle over the page.
    const qreal angle = t * 2 * M_PI;
    const QPointF lens = page.center() + QPointF(qCos(angle) * 10, qSin(angle) * 8 - 4);
    drawMagnifier(p, lens, h * 0.22);
}
