#include "cdlgframelesswindow.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include <vector>

#include "compositing.h"

namespace {

// One box-blur pass over a row or column of alpha values (running sum, clamped edges).
void boxBlurLine(std::vector<int> &line, int radius, std::vector<int> &scratch)
{
    const int n = static_cast<int>(line.size());
    scratch.assign(line.begin(), line.end());
    const int window = 2 * radius + 1;
    long sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += scratch[qBound(0, i, n - 1)];
    for (int i = 0; i < n; ++i) {
        line[i] = static_cast<int>(sum / window);
        sum += scratch[qMin(i + radius + 1, n - 1)] - scratch[qMax(i - radius, 0)];
    }
}

} // namespace

CDlgFramelessWindow::CDlgFramelessWindow(QWidget *parent)
    : QDialog(parent, Qt::WindowFlags())
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_TranslucentBackground);
}

CDlgFramelessWindow::~CDlgFramelessWindow() = default;

// Where the desktop does not blend translucent windows, the margins around the card would
// show as black: the window is then cut to the card and the shadow left out.
bool CDlgFramelessWindow::shadowsCanShow()
{
    static const bool canShow = [] {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("xcb"))
            return platform::desktopComposesTranslucentWindows();
        return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal") &&
               platform != QLatin1String("vnc") && platform != QLatin1String("linuxfb");
    }();
    return canShow;
}

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

    // Qt draws a window-level QGraphicsEffect shifted by its margins on every repaint after
    // the first (a hovered button turns up cut and displaced), so the dialog paints the
    // shadow itself with the same parameters.
    m_hasShadow = true;
    if ((left != 0 && right != 0) || (top != 0 && bottom != 0))
        m_shadowOffset = QPoint(0, 0);
    else
        m_shadowOffset = QPoint(right, bottom);

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

QImage CDlgFramelessWindow::dropShadow(const QPixmap &shape, const QSize &canvasSize,
                                       const QPoint &topLeft, int blurRadius, const QColor &color)
{
    QImage canvas(canvasSize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    if (shape.isNull() || canvasSize.isEmpty())
        return canvas;
    {
        QPainter painter(&canvas);
        painter.drawPixmap(topLeft, shape);
    }
    const int w = canvas.width();
    const int h = canvas.height();
    std::vector<int> alpha(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
        for (int x = 0; x < w; ++x)
            alpha[static_cast<size_t>(y) * w + x] = qAlpha(row[x]);
    }
    // Three box passes each way come close to a Gaussian of the same reach.
    const int passRadius = qMax(1, blurRadius / 3);
    std::vector<int> line;
    std::vector<int> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        line.resize(w);
        for (int y = 0; y < h; ++y) {
            std::copy_n(alpha.begin() + static_cast<long>(y) * w, w, line.begin());
            boxBlurLine(line, passRadius, scratch);
            std::copy(line.begin(), line.end(), alpha.begin() + static_cast<long>(y) * w);
        }
        line.resize(h);
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y)
                line[y] = alpha[static_cast<size_t>(y) * w + x];
            boxBlurLine(line, passRadius, scratch);
            for (int y = 0; y < h; ++y)
                alpha[static_cast<size_t>(y) * w + x] = line[y];
        }
    }
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(canvas.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = alpha[static_cast<size_t>(y) * w + x] * color.alpha() / 255;
            row[x] = qPremultiply(qRgba(color.red(), color.green(), color.blue(), a));
        }
    }
    return canvas;
}

// The page is the application's visible top-level window that is not a dialog: the focused
// one when it qualifies, else the first.
void CDlgFramelessWindow::keepAbovePage()
{
    QWindow *own = windowHandle();
    if (!own)
        return;
    QWindow *page = parentWidget() ? parentWidget()->window()->windowHandle() : nullptr;
    const auto isPage = [own](QWindow *window) {
        return window && window != own && window->isVisible() && !window->transientParent() &&
               window->type() != Qt::Dialog && window->type() != Qt::Popup &&
               window->type() != Qt::ToolTip;
    };
    if (!page && isPage(QGuiApplication::focusWindow()))
        page = QGuiApplication::focusWindow();
    if (!page) {
        const QWindowList windows = QGuiApplication::topLevelWindows();
        for (QWindow *window : windows) {
            if (isPage(window)) {
                page = window;
                break;
            }
        }
    }
    if (page == m_page)
        return;
    if (m_page)
        m_page->removeEventFilter(this);
    m_page = page;
    if (!page)
        return;
    // Window managers keep a transient window above the one it belongs to.
    own->setTransientParent(page);
    page->installEventFilter(this);
}

bool CDlgFramelessWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Show)
        keepAbovePage();
    return QDialog::event(event);
}

// Without a window manager nothing enforces the transient hint: a page raised or activated
// while the box is open (the launcher raises its page when it is restored) would cover it and
// the modal box would block clicks out of sight, so the box comes back on top.
bool CDlgFramelessWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_page && isVisible() && windowModality() != Qt::NonModal &&
        (event->type() == QEvent::Expose || event->type() == QEvent::FocusIn ||
         event->type() == QEvent::WindowActivate)) {
        QTimer::singleShot(0, this, [this] {
            if (!isVisible())
                return;
            raise();
            activateWindow();
        });
    }
    return QDialog::eventFilter(watched, event);
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
    if (m_card.size() != cardSize || m_shadow.size() != size()) {
        m_card = nineSliceScaled(m_background, cardSize.width(), cardSize.height());
        const QPoint cardAt(m_shadowLeft, m_shadowTop);
        m_shadow = m_hasShadow ? dropShadow(m_card, size(), cardAt + m_shadowOffset,
                                            kShadowBlurRadius, shadowColor())
                               : QImage();
        // The shape is the card where it is drawn: at the window's origin it would cut the
        // card's right and bottom edges and expose the empty margin above and left of it.
        // Where shadows can show, the whole window stays visible.
        m_shape = m_card.isNull() || !m_card.hasAlpha() || (m_hasShadow && shadowsCanShow())
                      ? QRegion()
                      : QRegion(m_card.mask()).translated(cardAt);
    }
    QPainter painter(this);
    if (!m_shadow.isNull())
        painter.drawImage(0, 0, m_shadow);
    painter.drawPixmap(m_shadowLeft, m_shadowTop, m_card);
    setMask(m_shape);
}
