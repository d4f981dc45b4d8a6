#include "cdlgframelesswindow.h"

#include <QBitmap>
#include <QGraphicsDropShadowEffect>
#include <QMouseEvent>
#include <QPainter>

CDlgFramelessWindow::CDlgFramelessWindow(QWidget *parent)
    : QDialog(parent, Qt::WindowFlags())
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_TranslucentBackground);
}

CDlgFramelessWindow::~CDlgFramelessWindow() = default;

void CDlgFramelessWindow::setBackgroundImage(const QString &path)
{
    QPixmap pixmap;
    m_background = pixmap.load(path) ? pixmap : QPixmap();
    m_card = QPixmap();
    update();
}

void CDlgFramelessWindow::setShadowMargins(int left, int top, int right, int bottom)
{
    if (left < 0 || top < 0 || right < 0 || bottom < 0)
        return;
    m_shadowLeft = left;
    m_shadowTop = top;
    m_shadowRight = right;
    m_shadowBottom = bottom;
    m_card = QPixmap();

    auto *shadow = new QGraphicsDropShadowEffect(this);
    if ((left != 0 && right != 0) || (top != 0 && bottom != 0))
        shadow->setOffset(0, 0);
    else
        shadow->setOffset(right, bottom);
    shadow->setColor(QColor(0, 0, 0, 51));
    shadow->setBlurRadius(20);
    setGraphicsEffect(shadow);

    resize(width() + left + right, height() + top + bottom);
}

QMargins CDlgFramelessWindow::shadowMargins() const
{
    return QMargins(m_shadowLeft, m_shadowTop, m_shadowRight, m_shadowBottom);
}

QPixmap CDlgFramelessWindow::nineSliceScaled(const QPixmap &source, int width, int height,
                                             int cornerWidth, int cornerHeight)
{
    if (source.isNull() || width <= 0 || height <= 0)
        return QPixmap();
    const int a = cornerWidth;
    const int b = cornerHeight;
    const int sw = source.width();
    const int sh = source.height();
    // Pieces of negative size would drop parts of the picture; stretch it whole instead.
    if (a < 0 || b < 0 || sw < 2 * a || sh < 2 * b || width < 2 * a || height < 2 * b)
        return source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    QPixmap target(width, height);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const auto stretch = [&](int x, int y, int w, int h, int tx, int ty, int tw, int th) {
        if (w > 0 && h > 0 && tw > 0 && th > 0)
            painter.drawPixmap(QRect(tx, ty, tw, th), source, QRect(x, y, w, h));
    };
    // Corners keep their size.
    stretch(0, 0, a, b, 0, 0, a, b);
    stretch(sw - a, 0, a, b, width - a, 0, a, b);
    stretch(0, sh - b, a, b, 0, height - b, a, b);
    stretch(sw - a, sh - b, a, b, width - a, height - b, a, b);
    // Top and bottom edges stretch in width, left and right edges in height.
    stretch(a, 0, sw - 2 * a, b, a, 0, width - 2 * a, b);
    stretch(a, sh - b, sw - 2 * a, b, a, height - b, width - 2 * a, b);
    stretch(0, b, a, sh - 2 * b, 0, b, a, height - 2 * b);
    stretch(sw - a, b, a, sh - 2 * b, width - a, b, a, height - 2 * b);
    stretch(a, b, sw - 2 * a, sh - 2 * b, a, b, width - 2 * a, height - 2 * b);
    return target;
}

void CDlgFramelessWindow::mousePressEvent(QMouseEvent *event)
{
    m_pressed = true;
    if (event->button() == Qt::LeftButton) {
        m_dragOffset = event->globalPos() - frameGeometry().topLeft();
        event->accept();
    }
}

void CDlgFramelessWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPos() - m_dragOffset);
        event->accept();
    }
}

void CDlgFramelessWindow::mouseReleaseEvent(QMouseEvent *)
{
    m_pressed = false;
}

void CDlgFramelessWindow::paintEvent(QPaintEvent *event)
{
    if (m_background.isNull()) {
        QDialog::paintEvent(event);
        return;
    }
    const QSize cardSize(width() - m_shadowLeft - m_shadowRight,
                         height() - m_shadowTop - m_shadowBottom);
    if (m_card.size() != cardSize) {
        m_card = nineSliceScaled(m_background, cardSize.width(), cardSize.height());
        // The mask follows the card where it is drawn: at the window's origin it would cut
        // the card's right and bottom edges and expose the empty margin above and left.
        m_cardShape = m_card.isNull() || !m_card.hasAlpha()
                          ? QRegion()
                          : QRegion(m_card.mask()).translated(m_shadowLeft, m_shadowTop);
    }
    QPainter painter(this);
    painter.drawPixmap(m_shadowLeft, m_shadowTop, m_card);
    setMask(m_cardShape);
}
