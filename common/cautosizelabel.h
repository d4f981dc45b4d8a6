#pragma once

#include <QTextBrowser>

// A read-only rich-text area whose height follows its text: message boxes grow with what
// they say instead of scrolling. Wrapped text is balanced: the text takes the narrowest width
// that keeps its number of lines, centred, so no line ends up with one word or syllable.
class CAutoSizeLabel : public QTextBrowser
{
    Q_OBJECT
public:
    explicit CAutoSizeLabel(QWidget *parent = nullptr);

signals:
    void hightChanged(int nHeight);

public slots:
    void OnTextAreaChanged();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void balanceLines();

    bool m_balancing = false;
};
