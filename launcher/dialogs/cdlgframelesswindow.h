#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QMargins>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QWindow>

// Base of the launcher's own dialogs: no system frame, a translucent window whose visible
// part is a shadowed card drawn from a picture by nine-slice scaling, dragged with the left
// mouse button anywhere on the card.
class CDlgFramelessWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgFramelessWindow(QWidget *parent = nullptr);
    ~CDlgFramelessWindow() override;

    // Loads the card picture from a file or resource path; a failure leaves it unset and
    // the dialog paints as a plain widget.
    void setBackgroundImage(const QString &path);
    QPixmap backgroundImage() const { return m_background; }

    // Room around the card for the drop shadow; the window grows by it. Negative values
    // are ignored.
    void setShadowMargins(int left, int top, int right, int bottom);
    QMargins shadowMargins() const;
    // The shadow's offset from the card: none when it has room on opposite sides, else
    // down and right into the margins.
    QPoint shadowOffset() const { return m_shadowOffset; }
    static constexpr int kShadowBlurRadius = 20;
    static QColor shadowColor() { return QColor(0, 0, 0, 51); }
    // Whether the desktop blends translucent pixels; without it they show black, so a
    // dialog must be cut to its card.
    static bool shadowsCanShow();

    // Scales source to width x height keeping the four corners (cornerWidth x cornerHeight)
    // unscaled and stretching the edges and the centre. A target or source too small for
    // two corners is scaled as a whole instead.
    static QPixmap nineSliceScaled(const QPixmap &source, int width, int height,
                                   int cornerWidth = 50, int cornerHeight = 50);

    // A soft shadow of shape's opaque pixels: colour times the blurred alpha, on a canvas
    // of canvasSize with the shape placed at topLeft.
    static QImage dropShadow(const QPixmap &shape, const QSize &canvasSize, const QPoint &topLeft,
                             int blurRadius, const QColor &color);

    // The window the dialog keeps above: its parent's, or for a dialog without a parent
    // widget the application's page (a QML window is no QWidget and cannot be a parent).
    QWindow *pageWindow() const { return m_page; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void keepAbovePage();

    QPointer<QWindow> m_page;
    QPoint m_dragOffset;
    QPixmap m_background;
    bool m_pressed = false;
    int m_shadowLeft = 0;
    int m_shadowTop = 0;
    int m_shadowRight = 0;
    int m_shadowBottom = 0;
    bool m_hasShadow = false;
    QPoint m_shadowOffset;
    // The card and its shadow at the last painted size, and the window's shape.
    QPixmap m_card;
    QImage m_shadow;
    QRegion m_shape;
};
