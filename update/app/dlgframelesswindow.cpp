#include "dlgframelesswindow.h"

#include <QColor>
#include <QGraphicsDropShadowEffect>
#include <QMouseEvent>

DlgFramelessWindow::DlgFramelessWindow(QWidget *parent)
    : QDialog(parent, Qt::WindowFlags())
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_TranslucentBackground);
}

DlgFramelessWindow::~DlgFramelessWindow() = default;

void DlgFramelessWindow::addShadow(QWidget *frame)
{
    auto *shadow = new QGraphicsDropShadowEffect(frame);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(0, 0, 0, 51));
    shadow->setBlurRadius(15);
    frame->setGraphicsEffect(shadow);
}

void DlgFramelessWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_dragOffset = event->globalPos() - frameGeometry().topLeft();
        event->accept();
    }
}

void DlgFramelessWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPos() - m_dragOffset);
        event->accept();
    }
}

void DlgFramelessWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
}
