#pragma once

#include "secondarywindow.h"

#include <QScopedPointer>

namespace Ui {
class TForm8;
}

// Unit Error4: "Введите название улицы".
class TForm8 final : public PromptWindow
{
    Q_OBJECT

public:
    explicit TForm8(QWidget *parent = nullptr);
    ~TForm8() override;

private:
    const QScopedPointer<Ui::TForm8> m_ui;
};
