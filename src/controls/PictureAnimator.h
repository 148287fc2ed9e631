#pragma once

#include <QTimer>
#include <QWidget>

// A small looping animation of one of the message box's four pictures, drawn at run time so
// the program carries no image files for it.
class PictureAnimator : public QWidget
{
    Q_OBJECT
public:
    enum Kind { Warning, Information, Question, Error };
    Q_ENUM(Kind)
    Q_PROPERTY(Kind kind READ kind WRITE setKind)

    explicit PictureAnimator(QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    void setKind(Kind kind);

    // Back to the first frame, animation running.
    void restart();
    void stop() { m_timer.stop(); }
    bool isRunning() const { return m_timer.isActive(); }
    int frame() const { return m_frame; }

    QSize sizeHint() const override { return {64, 64}; }

    static constexpr int FrameCount = 24;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawSymbol(QPainter &p, const QRectF &box) const;

    Kind m_kind = Information;
    int m_frame = 0;
    QTimer m_timer;
};
