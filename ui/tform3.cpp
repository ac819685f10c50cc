#include "tform3.h"

#include "ui_tform3.h"

TForm3::TForm3(QWidget *parent) : PromptWindow(parent), m_ui(new Ui::TForm3)
{
    m_ui->setupUi(this);
    finishSetup(QStringLiteral("Form3"));
    connect(m_ui->Button1, &QPushButton::clicked, this, &PromptWindow::Button1Click);
}

TForm3::~TForm3() = default;
