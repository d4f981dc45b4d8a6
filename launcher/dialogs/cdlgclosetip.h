#pragma once

#include "cdlgframelesswindow.h"

class QButtonGroup;

namespace Ui {
class CDlgCloseTip;
}

// Asked the first time the main window is closed: should its close button minimise the
// launcher to the notification area or quit it.
class CDlgCloseTip : public CDlgFramelessWindow
{
    Q_OBJECT
public:
    // Preselects the stored "exit_type" choice of the launcher configuration.
    explicit CDlgCloseTip(QWidget *parent = nullptr);
    ~CDlgCloseTip() override;

    // The "exit_type" value the user chose: 1 minimise to the notification area, 2 quit.
    int exitChoice() const;

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    Ui::CDlgCloseTip *m_ui;
    QButtonGroup *m_group;
};
