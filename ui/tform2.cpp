#include "tform2.h"

#include "ui_tform2.h"

TForm2::TForm2(QWidget *parent) : PromptWindow(parent), m_ui(new Ui::TForm2)
{
    m_ui->setupUi(this);
    finishSetup(QStringLiteral("Form2"));
    connect(m_ui->Button1, &QPushButton::clicked, this, &PromptWindow::Button1Click);
}

TForm2::~TForm2() = default;
