#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// What the seven secondary windows share: a fixed size with only a close box, centred
// the first time it is shown and afterwards where it was left. However it is closed it
// says so by dismissed(); whoever shows the windows takes the user back from there.
class SecondaryWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SecondaryWindow(QWidget *parent = nullptr);

signals:
    // Closed by its close box, the system's close command or Escape, or answered.
    void dismissed();

protected:
    // Call after the layout is set up, so that the declared size is known.
    void finishSetup(const QString &objectName);

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
    // Call after the layout is set up, with the window's message and its "Ok".
    void finishPromptSetup(QLabel *message, QPushButton *ok, const QString &objectName);

    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_message = nullptr;
    QPushButton *m_ok = nullptr;
};
