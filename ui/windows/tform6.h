#pragma once

#include "secondarywindow.h"

#include <QScopedPointer>

namespace Ui {
class TForm6;
}

// Unit DBEditor: a placeholder for a database editor that does not exist yet.
class TForm6 final : public SecondaryWindow
{
    Q_OBJECT

public:
    explicit TForm6(QWidget *parent = nullptr);
    ~TForm6() override;

private:
    const QScopedPointer<Ui::TForm6> m_ui;
};
