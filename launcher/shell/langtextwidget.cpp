#include "langtextwidget.h"
#include "ui_langtextwidget.h"

LangTextWidget::LangTextWidget(const QString &text, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::LangTextWidget)
{
    ui->setupUi(this);
    ui->label->setText(text);
}

LangTextWidget::~LangTextWidget()
{
    delete ui;
}

QString LangTextWidget::text() const
{
    return ui->label->text();
}
