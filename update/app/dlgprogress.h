#pragma once

#include "dlgframelesswindow.h"

namespace Ui {
class DlgProgress;
}

// What the user sees of an update: a picture, a progress bar with a line of text while a step
// runs, and a result page with one large button (retry, or open the launcher).
class DlgProgress : public DlgFramelessWindow
{
    Q_OBJECT
public:
    explicit DlgProgress(QWidget *parent = nullptr);
    ~DlgProgress() override;

    void showProgressPage(const QString &text, const QString &picture);
    void showResultPage(const QString &title, const QString &message, const QString &buttonText,
                        const QString &picture);
    void setProgressText(const QString &text);
    void setProgressValue(int value);
    void setCloseEnabled(bool enabled);
    void setBackground(const QString &path);
    // Sets the form's fixed texts again, once a language has been loaded.
    void retranslate();

    QString background() const { return m_background; }

signals:
    void cancelProgressDlg();
    void closeProgressDlg();
    void btnOnClicked();

protected:
    // Escape and the window manager's close would bypass the question the close button asks.
    void reject() override;

private:
    void fitTexts();

    Ui::DlgProgress *m_ui;
    QString m_background;
};
