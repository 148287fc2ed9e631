#include "controls/PictureAnimator.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

QColor colourOf(PictureAnimator::Kind kind)
{
    switch (kind) {
    case PictureAnimator::Warning:
        return {244, 190, 30};
    case PictureAnimator::Error:
        return {208, 36, 36};
    case PictureAnimator::Question:
        return {40, 140, 70};
    case PictureAnimator::Information:
        break;
    }
    return {30, 100, 200};
}

QString glyphOf(PictureAnimator::Kind kind)
{
    switch (kind) {
    case PictureAnimator::Warning:
        return QStringLiteral("!");
    case PictureAnimator::Error:
        return QStringLiteral("\u00D7");
    case PictureAnimator::Question:
        return QStringLiteral("?");
    case PictureAnimator::Information:
        break;
    }
    return QStringLiteral("i");
}

} // namespace

PictureAnimator::PictureAnimator(QWidget *parent) : QWidget(parent)
{
    m_timer.setInterval(70);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % FrameCount;
        update();
    });
}

void PictureAnimator::setKind(Kind kind)
{
    m_kind = kind;
    update();
}

void PictureAnimator::restart()
{
    m_frame = 0;
    m_timer.start();
    update();
}

void PictureAnimator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 4;
    const QPointF centre = rect().center() + QPointF(0.5, 0.5);

    // A ring that grows and fades out behind the symbol, once per loop.
    const qreal phase = qreal(m_frame) / FrameCount;
    QColor ring = colourOf(m_kind);
    ring.setAlphaF(0.45 * (1.0 - phase));
    p.setPen(QPen(ring, 3));
    p.setBrush(Qt::NoBrush);
    const qreal ringRadius = side * (0.30 + 0.20 * phase);
    p.drawEllipse(centre, ringRadius, ringRadius);

    // The symbol breathes a little.
    const qreal scale = 0.80 + 0.06 * qSin(phase * 2 * M_PI);
    const qreal s = side * scale;
    drawSymbol(p, QRectF(centre.x() - s / 2, centre.y() - s / 2, s, s));
}

void PictureAnimator::drawSymbol(QPainter &p, const QRectF &box) const
{
    const QColor fill = colourOf(m_kind);
    p.setPen(QPen(fill.darker(140), 1.5));
    p.setBrush(fill);
    QRectF glyphBox = box;
    if (m_kind == Warning) {
        QPainterPath triangle;
        triangle.moveTo(box.center().x(), box.top() + box.height() * 0.06);
        triangle.lineTo(box.right(), box.bottom() - box.height() * 0.08);
        triangle.lineTo(box.left(), box.bottom() - box.height() * 0.08);
        triangle.closeSubpath();
        p.drawPath(triangle);
        glyphBox.adjust(0, box.height() * 0.18, 0, 0);
    } else {
        p.drawEllipse(box);
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(8, int(box.height() * (m_kind == Warning ? 0.55 : 0.68))));
    p.setFont(font);
    p.setPen(m_kind == Warning ? QColor(Qt::black) : QColor(Qt::white));
    p.drawText(glyphBox, Qt::AlignCenter, glyphOf(m_kind));
}
