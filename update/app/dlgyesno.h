#pragma once

#include "dlgframelesswindow.h"

namespace Ui {
class CDlgYesNo;
}

// The updater's question and notice box: a centred message with a confirm button and,
// unless hidden, a cancel button.
class DlgYesNo : public DlgFramelessWindow
{
    Q_OBJECT
public:
    explicit DlgYesNo(QWidget *parent = nullptr);
    ~DlgYesNo() override;

    void setTitleAndText(const QString &title, const QString &text);
    void setOkButtonText(const QString &text);
    void setCancelButtonText(const QString &text);
    void setCancelButtonVisible(bool visible);
    QString text() const { return m_text; }

    // A one-button (unless withCancel) notice, shown modally and destroyed afterwards.
    // True when confirmed.
    static bool showNotice(const QString &title, const QString &text, bool withCancel = false);

private slots:
    void on_btnOk_clicked();
    void on_btnCancel_clicked();

private:
    static constexpr int kButtonMinimumWidth = 190;
    void matchButtonWidths();

    Ui::CDlgYesNo *m_ui;
    QString m_text;
};
