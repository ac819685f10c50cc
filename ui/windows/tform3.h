#pragma once

#include "secondarywindow.h"

#include <QScopedPointer>

namespace Ui {
class TForm3;
}

// Unit Error2: "Неверный номер телефона".
class TForm3 final : public PromptWindow
{
    Q_OBJECT

public:
    explicit TForm3(QWidget *parent = nullptr);
    ~TForm3() override;

private:
    const QScopedPointer<Ui::TForm3> m_ui;
};
