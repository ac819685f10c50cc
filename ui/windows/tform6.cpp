#include "tform6.h"

#include "ui_tform6.h"

TForm6::TForm6(QWidget *parent) : SecondaryWindow(parent), m_ui(new Ui::TForm6)
{
    m_ui->setupUi(this);
    finishSetup(QStringLiteral("Form6"));
}

TForm6::~TForm6() = default;
