#pragma once

#include <QWidget>

class QObject;

// What a screen reader is told about our own widgets, beyond what Qt works out itself:
// a picture of the About tab is a push button with a press action; a prompt window is
// an alert, read out with its message, and the other secondary windows are dialogs; the
// street box keeps its label's name; the stack of tab pages is a plain pane. Call once
// before the windows exist.
void InstallAccessibility();

// A message for a screen reader only: a widget of one pixel, without paint, whose
// appearing a screen reader reads out (as a notification; inside a status bar, just its
// text). Orca reads neither a label's new text nor a name change of a widget without the
// focus, but it does read this.
class Announcement final : public QWidget
{
    Q_OBJECT

public:
    explicit Announcement(QWidget *parent);

    void Say(const QString &text);
    // What it says, as its name; kept here, since a name set while hidden would be an
    // event from a hidden widget.
    QString Text() const { return m_text; }

protected:
    void hideEvent(QHideEvent *event) override;

private:
    QString m_text;
};
