#pragma once

#include "secondarywindow.h"

#include <QScopedPointer>

namespace Ui {
class TForm2;
}

// Unit Error1: "Введите номер телефона".
class TForm2 final : public PromptWindow
{
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);
    ~TForm2() override;

private:
    const QScopedPointer<Ui::TForm2> m_ui;
};
