#pragma once

#include <QWidget>

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
