#pragma once

#include <QDialog>
#include <QPoint>

class QMouseEvent;

// Base of the updater's dialogs: no system frame, a translucent window around the card the
// form draws, and dragging by any spot that does not take the mouse itself.
class DlgFramelessWindow : public QDialog
{
    Q_OBJECT
public:
    explicit DlgFramelessWindow(QWidget *parent = nullptr);
    ~DlgFramelessWindow() override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

    // The drop shadow every updater dialog puts on its inner frame.
    static void addShadow(QWidget *frame);

private:
    QPoint m_dragOffset;
    bool m_pressed = false;
};
