#include "cautosizelabel.h"

#include <QEvent>
#include <QTextDocument>

CAutoSizeLabel::CAutoSizeLabel(QWidget *parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    // The height always fits the text; a scroll bar would only flash up and narrow the
    // text for one layout pass.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(document(), &QTextDocument::contentsChanged, this, &CAutoSizeLabel::OnTextAreaChanged);
}

void CAutoSizeLabel::OnTextAreaChanged()
{
    const int height = static_cast<int>(document()->size().height() + 2 * frameWidth());
    setFixedHeight(height);
    emit hightChanged(height);
}

bool CAutoSizeLabel::event(QEvent *event)
{
    if (event->type() == QEvent::Show)
        OnTextAreaChanged();
    return QTextBrowser::event(event);
}

void CAutoSizeLabel::resizeEvent(QResizeEvent *event)
{
    OnTextAreaChanged();
    QTextBrowser::resizeEvent(event);
}
