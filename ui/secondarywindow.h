#pragma once

#include <QWidget>

// What the seven secondary windows share: a fixed size with only a close box, centred
// the first time it is shown and afterwards where it was left, and the way back to the
// main window however it is closed.
class SecondaryWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SecondaryWindow(QWidget *parent = nullptr);

protected:
    // Call after the layout is set up, so that the declared size is known.
    void finishSetup(const QString &objectName);

    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// A prompt window: an icon, one message and "Ok", which has the focus and takes Enter
// and Space. It comes up as an alert, so a screen reader reads the message out.
class PromptWindow : public SecondaryWindow
{
    Q_OBJECT

public:
    using SecondaryWindow::SecondaryWindow;

    QString Message() const;

    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;
};
