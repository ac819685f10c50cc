#include "tform2.h"

#include "ui_tform2.h"

TForm2::TForm2(QWidget *parent) : PromptWindow(parent), m_ui(new Ui::TForm2)
{
    m_ui->setupUi(this);
    finishPromptSetup(m_ui->Label1, m_ui->Button1, QStringLiteral("Form2"));
}

TForm2::~TForm2() = default;
