#include "tform3.h"

#include "ui_tform3.h"

TForm3::TForm3(QWidget *parent) : PromptWindow(parent), m_ui(new Ui::TForm3)
{
    m_ui->setupUi(this);
    finishPromptSetup(m_ui->Label1, m_ui->Button1, QStringLiteral("Form3"));
}

TForm3::~TForm3() = default;
