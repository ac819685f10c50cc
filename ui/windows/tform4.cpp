#include "tform4.h"

#include "ui_tform4.h"

TForm4::TForm4(QWidget *parent) : SecondaryWindow(parent), m_ui(new Ui::TForm4)
{
    m_ui->setupUi(this);
    finishSetup(QStringLiteral("Form4"));
}

TForm4::~TForm4() = default;
