#pragma once

#include "secondarywindow.h"

#include <QScopedPointer>

namespace Ui {
class TForm7;
}

// Unit Error3: "Введите фамилию".
class TForm7 final : public PromptWindow
{
    Q_OBJECT

public:
    explicit TForm7(QWidget *parent = nullptr);
    ~TForm7() override;

private:
    const QScopedPointer<Ui::TForm7> m_ui;
};
