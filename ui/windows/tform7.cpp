#include "tform7.h"

#include "ui_tform7.h"

TForm7::TForm7(QWidget *parent) : PromptWindow(parent), m_ui(new Ui::TForm7)
{
    m_ui->setupUi(this);
    finishPromptSetup(m_ui->Label1, m_ui->Button1, QStringLiteral("Form7"));
}

TForm7::~TForm7() = default;
