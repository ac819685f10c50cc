#include "tform8.h"

#include "ui_tform8.h"

TForm8::TForm8(QWidget *parent) : PromptWindow(parent), m_ui(new Ui::TForm8)
{
    m_ui->setupUi(this);
    finishPromptSetup(m_ui->Label1, m_ui->Button1, QStringLiteral("Form8"));
}

TForm8::~TForm8() = default;
