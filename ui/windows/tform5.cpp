#include "tform5.h"

#include "ui_tform5.h"

TForm5::TForm5(QWidget *parent) : SecondaryWindow(parent), m_ui(new Ui::TForm5)
{
    m_ui->setupUi(this);
    finishSetup(QStringLiteral("Form5"));
}

TForm5::~TForm5() = default;
