#include "tform7.h"

#include "ui_tform7.h"

TForm7::TForm7(QWidget *parent) : PromptWindow(parent), m_ui(new Ui::TForm7)
{
    m_ui->setupUi(this);
    finishSetup(QStringLiteral("Form7"));
    connect(m_ui->Button1, &QPushButton::clicked, this, &PromptWindow::Button1Click);
}

TForm7::~TForm7() = default;
