#pragma once

#include "secondarywindow.h"

#include <QScopedPointer>

namespace Ui {
class TForm4;
}

// Unit Licen: the licence terms, read-only.
class TForm4 final : public SecondaryWindow
{
    Q_OBJECT

public:
    explicit TForm4(QWidget *parent = nullptr);
    ~TForm4() override;

private:
    const QScopedPointer<Ui::TForm4> m_ui;
};
