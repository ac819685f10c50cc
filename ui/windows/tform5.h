#pragma once

#include "secondarywindow.h"

#include <QScopedPointer>

namespace Ui {
class TForm5;
}

// Unit Autor: the author's notes on how to search, read-only.
class TForm5 final : public SecondaryWindow
{
    Q_OBJECT

public:
    explicit TForm5(QWidget *parent = nullptr);
    ~TForm5() override;

private:
    const QScopedPointer<Ui::TForm5> m_ui;
};
