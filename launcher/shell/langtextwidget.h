#pragma once

#include <QWidget>

namespace Ui {
class LangTextWidget;
}

// One text row of the settings dialog's lists.
class LangTextWidget : public QWidget
{
    Q_OBJECT

public:
    explicit LangTextWidget(const QString &text, QWidget *parent = nullptr);
    ~LangTextWidget() override;

    QString text() const;

private:
    Ui::LangTextWidget *ui;
};
