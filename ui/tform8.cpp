#include "tform8.h"

#include "ui_tform8.h"

TForm8::TForm8(QWidget *parent) : PromptWindow(parent), m_ui(new Ui::TForm8)
{
    m_ui->setupUi(this);
    finishSetup(QStringLiteral("Form8"));
    connect(m_ui->Button1, &QPushButton::clicked, this, &PromptWindow::Button1Click);
}

TForm8::~TForm8() = default;
