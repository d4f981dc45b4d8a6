#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPoint>

#include "installpath.h"

class QEvent;
class QMouseEvent;
class QPaintEvent;

namespace Ui {
class CSetInstallPathDialog;
}

// Confirms or changes the game's install folder before installing: shows the space the
// package needs and the space free there, refuses folders that cannot take the game, and
// installs into an "Orvyndale Game" sub-folder unless the user picked one of that name.
class CSetInstallPathDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CSetInstallPathDialog(QWidget *parent = nullptr);
    ~CSetInstallPathDialog() override;

    // Puts path into the path field; the labels and the OK button follow when it changed.
    void setPathText(const QString &path);
    // Bytes the installation needs.
    void setNeedSpace(qint64 bytes);
    qint64 needSpace() const { return m_needSpace; }

    // Why path cannot take the game, or None.
    static platform::InstallPathProblem checkPath(const QString &path);
    static bool isPathValid(const QString &path)
    {
        return checkPath(path) == platform::InstallPathProblem::None;
    }
    // The folder a picked folder turns into: an "Orvyndale Game" sub-folder unless the
    // picked one has that name (any case), without doubled separators.
    static QString installFolderFor(const QString &picked);
    // Bytes as gibibytes with one decimal ("20.0").
    static QString gigabytes(qint64 bytes);

signals:
    void startInstallClicked();
    void updateInstallPath(QString strPath);

public slots:
    void on_btn_close_clicked();
    void on_btn_ok_clicked();
    void on_btn_chgPath_clicked();
    void onEdtPathTextChanged(QString strText);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void showTip(const QString &text);

    Ui::CSetInstallPathDialog *m_ui;
    QPoint m_dragOffset;
    QPixmap m_background;
    qint64 m_needSpace = 0;
    bool m_pressed = false;
};
