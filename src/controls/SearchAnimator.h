#pragma once

#include <QTimer>
#include <QWidget>

// The wait window's looping animation of a search: a magnifying glass sweeping over a page
// while sheets fly to a folder. Timer driven, so it keeps moving inside any event loop that
// still delivers timers (the transport's wait does).
class SearchAnimator : public QWidget
{
    Q_OBJECT
public:
    explicit SearchAnimator(QWidget *parent = nullptr);

    void start();
    void stop() { m_timer.stop(); }
    bool isRunning() const { return m_timer.isActive(); }
    int frame() const { return m_frame; }

    QSize sizeHint() const override { return {272, 60}; }

    static constexpr int FrameCount = 30;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_frame = 0;
    QTimer m_timer;
};
