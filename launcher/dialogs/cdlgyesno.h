#pragma once

#include <QRect>

#include "cdlgframelesswindow.h"

namespace Ui {
class CDlgYesNo;
}

// The launcher's message box: a text and one or two buttons on the frameless card. The
// open count tells the main page whether any box is still on screen.
class CDlgYesNo : public CDlgFramelessWindow
{
    Q_OBJECT
public:
    explicit CDlgYesNo(QWidget *parent = nullptr);
    ~CDlgYesNo() override;

    // The title goes to the (hidden) title label; the text, which may carry HTML, is shown
    // centred.
    void setMessage(const QString &title, const QString &text);
    void setConfirmText(const QString &text);
    void setCancelText(const QString &text);
    void showCloseButton(bool show);
    void hideCancelButton(bool hide);

    // Shows a 460 x 300 box modally, centred over area (screen coordinates) when it is not
    // empty; returns 1 when OK was pressed, 0 when the box was cancelled or closed.
    static int ask(const QString &title, const QString &text, bool withCancel = true,
                   QWidget *parent = nullptr, const QRect &area = QRect());

    // Centres the box over area (screen coordinates) each time it is shown, at the size its
    // text gives it then: a message of several lines makes the box taller than it was asked.
    void placeOver(const QRect &area);

    // How many message boxes are on screen now (logged as well).
    static int openCount();

signals:
    void dlgFinish(bool bResult);

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();
    void on_btn_close_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    Ui::CDlgYesNo *m_ui;
    // Whether this box is part of the open count, so that each box counts once however
    // often it is shown, hidden, minimised or destroyed.
    bool m_counted = false;
    QRect m_area;
};
